#pragma once

#include "datos.h"

#include <optional>
#include <string>
#include <vector>

// Points shown in a UTM zone far from it. Each datum's UTM formats among those shown form a
// group (ED50: formats 1 and 2, zones 30 and 31 or 29; WGS84/ETRS89: format 7); a point lies
// outside its group when it is more than 3.5 degrees of longitude from the central meridian of
// every zone of the group. It is still computed, as any other.
struct FueraDeHuso {
    std::size_t punto; // counted from 1
    int formato;       // the format of the nearest zone
    int huso;
    double grados;     // beyond the zone's edge: |longitude - central meridian| - 3
};

// The point that lies farthest outside, over the formats shown (numbers 1 to 7); nothing when
// every point lies within 3.5 degrees of a zone of its group.
std::optional<FueraDeHuso> MasFueraDeHuso(const ConjuntoDatos& datos, const std::vector<int>& formatos);

// "El punto 3 queda a 2,47° de longitud fuera del huso 30 (UTM huso 30)". `etrs89`: the
// official method, for the name of format 7.
std::string MensajeFueraDeHuso(const FueraDeHuso& f, Husos husos, bool etrs89);
