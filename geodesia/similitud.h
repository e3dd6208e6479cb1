#pragma once

#include "columna.h"
#include "elipsoide.h"

// Linearised seven-parameter similarity transformation of geocentric X, Y, Z columns (m):
// X' = T + (1 + p4) X + R X, R the first-order rotation; the direction is the parameter set.
Columnas3 TransformaCartesianas(const Columna& xs, const Columna& ys, const Columna& zs,
                                const Parametros7& p);
