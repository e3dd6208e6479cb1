#pragma once

#include "columna.h"
#include "elipsoide.h"

#include <utility>

// Transverse Mercator of the UTM grid (k0 0.9996, false easting 500000 m, no false northing)
// on any ellipsoid, by series to the ninth power that depend on it only through e2 and e'2.

// Zone numbers the grid has: 1 to 60.
bool HusoValido(int huso);

// Central meridian of a zone, in radians with the system's pi: 6 huso - 183 degrees (-9 for
// zone 29, -3 for 30, +3 for 31). Throws std::invalid_argument for a zone outside 1 to 60.
double MeridianoCentral(int huso);

// Meridian arc from the equator to latitude phi (rad) on an ellipsoid of semi-major axis a
// and first eccentricity squared e2, in metres: ((1 - e2) a) (phi + T1 + ... + T5).
double ArcoMeridiano(double phi, double a, double e2);

// UTM grid (easting, northing, height; metres) of a zone to geodetic latitude and longitude
// (pseudo-sexagesimal) on the same ellipsoid; heights unchanged.
// Throws FalloAritmetico near the pole, or when the footpoint latitude does not converge.
Columnas3 UtmAGeodesicas(const Columna& x, const Columna& y, const Columna& alturas, int huso,
                         Elipsoide elipsoide = ElipsoideEd50());

// Geodetic columns (pseudo-sexagesimal, metres) to one UTM zone on the same ellipsoid.
Columnas3 GeodesicasAUtm(const Columna& latitudes, const Columna& longitudes,
                         const Columna& alturas, int huso, Elipsoide elipsoide = ElipsoideEd50());

// Two zones at once, `huso1` first: the same doubles as two calls, the latitude terms shared.
std::pair<Columnas3, Columnas3> GeodesicasADosHusos(const Columna& latitudes, const Columna& longitudes,
                                                    const Columna& alturas, int huso1, int huso2,
                                                    Elipsoide elipsoide = ElipsoideEd50());
