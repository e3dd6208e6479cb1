#pragma once

#include "columna.h"

#include <utility>

// Meridian arc from the equator to latitude phi (rad) on an ellipsoid of semi-major axis a
// and first eccentricity squared e2, in metres: ((1 - e2) a) (phi + T1 + ... + T5).
double ArcoMeridiano(double phi, double a, double e2);

// UTM grid (easting, northing, height; metres) of zone 30 or 31 on the ED50 ellipsoid to
// geodetic ED50 (latitude, longitude pseudo-sexagesimal; height unchanged).
// Throws FalloAritmetico near the pole, or when the footpoint latitude does not converge.
Columnas3 UtmAGeodesicas(const Columna& x, const Columna& y, const Columna& alturas, int huso);

// Geodetic ED50 columns (pseudo-sexagesimal, metres) to one UTM zone (30 or 31).
Columnas3 GeodesicasAUtm(const Columna& latitudes, const Columna& longitudes,
                         const Columna& alturas, int huso);

// Both zones at once, zone 30 first: the same doubles as two calls, the latitude terms shared.
std::pair<Columnas3, Columnas3> GeodesicasAUtm30y31(const Columna& latitudes, const Columna& longitudes,
                                                    const Columna& alturas);
