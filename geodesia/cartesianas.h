#pragma once

#include "columna.h"
#include "elipsoide.h"

// Geodetic (latitude, longitude pseudo-sexagesimal; height m) to geocentric X, Y, Z (m).
Columnas3 GeodesicasACartesianas(const Columna& latitudes, const Columna& longitudes,
                                 const Columna& alturas, Elipsoide elipsoide);

// Geocentric X, Y, Z to geodetic latitude, longitude (pseudo-sexagesimal) and height, by
// Bowring's closed formula in one pass. Points on the polar axis are an arithmetic fault.
Columnas3 CartesianasAGeodesicas(const Columna& xs, const Columna& ys, const Columna& zs,
                                 Elipsoide elipsoide);
