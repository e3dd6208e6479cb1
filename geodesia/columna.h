#pragma once

#include <vector>

// One coordinate per point, point i at index i (0-based here: the point count is the size).
using Columna = std::vector<double>;

// The three result columns of a conversion, in the order the conversion names them.
struct Columnas3 {
    Columna c1;
    Columna c2;
    Columna c3;
};
