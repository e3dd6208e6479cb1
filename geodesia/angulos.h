#pragma once

#include "columna.h"

// The value of pi used by every degree/radian conversion (7 ulp below the double nearest pi).
inline constexpr double PiSistema = 3.14159265358979;

// Pseudo-sexagesimal g.mmssffff to radians. Seconds above 99.9999 carry into the minutes.
double PseudoARadianes(double x);
// Pseudo-sexagesimal g.mmssffff to decimal degrees, through radians with the system's pi.
inline double PseudoAGrados(double x) { return PseudoARadianes(x) * (180.0 / PiSistema); }
// Radians to pseudo-sexagesimal; no carry, 59.999... seconds stay as they are.
double RadianesAPseudo(double r);

// Column-wise forms: the latitude column, then the longitude column.
struct ColumnasAngulo {
    Columna latitudes;
    Columna longitudes;
};
ColumnasAngulo PseudoARadianes(const Columna& latitudes, const Columna& longitudes);
ColumnasAngulo RadianesAPseudo(const Columna& latitudes, const Columna& longitudes);
