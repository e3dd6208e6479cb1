#pragma once

#include <cmath>

// The reference ellipsoids (semi-axes in metres) and the seven-parameter sets between
// the geocentric Cartesian systems of ED50 and WGS84.

// International 1924 (ED50): a exact, b = a * (1/f - 1) / (1/f) with 1/f = 297.
inline const double SemiejeMayorEd50 = 6378388.0;
inline const double SemiejeMenorEd50 = SemiejeMayorEd50 * (297.0 - 1.0) / 297.0;
// WGS84 with 1/f = 298.2572221 (not 298.257223563): b about 0.1 mm from the usual value.
inline const double SemiejeMayorWgs84 = 6378137.0;
inline const double SemiejeMenorWgs84 = SemiejeMayorWgs84 * (298.2572221 - 1.0) / 298.2572221;

struct Elipsoide {
    double a;
    double b;
};

inline Elipsoide ElipsoideEd50() { return {SemiejeMayorEd50, SemiejeMenorEd50}; }
inline Elipsoide ElipsoideWgs84() { return {SemiejeMayorWgs84, SemiejeMenorWgs84}; }
// GRS80, the ellipsoid of ETRS89: 1/f = 298.257222101.
inline Elipsoide ElipsoideGrs80() {
    constexpr double a = 6378137.0, inversaAplanamiento = 298.257222101;
    return {a, a * (inversaAplanamiento - 1.0) / inversaAplanamiento};
}

// First and second eccentricity squared, the squares taken as powers of a and b.
struct Excentricidades {
    double e2;  // (a^2 - b^2) / a^2
    double ep2; // (a^2 - b^2) / b^2
};
inline Excentricidades ExcentricidadesDe(Elipsoide e) {
    return {(std::pow(e.a, 2) - std::pow(e.b, 2)) / std::pow(e.a, 2),
            (std::pow(e.a, 2) - std::pow(e.b, 2)) / std::pow(e.b, 2)};
}

// p1..p3 translations (m), p4 scale correction, p5..p7 small rotations (rad) coupling
// X-Y, X-Z and Y-Z.
struct Parametros7 {
    double p1, p2, p3, p4, p5, p6, p7;
};

inline constexpr Parametros7 ParametrosEd50AWgs84{-115.35,    -62.155,   -211.719, 1.3626e-05,
                                                  8.0938e-06, 7.5957e-06, -1.895e-07};
// Every sign changed: only approximately the inverse of the forward set.
inline constexpr Parametros7 ParametrosWgs84AEd50{115.35,      62.155,      211.719, -1.3626e-05,
                                                  -8.0938e-06, -7.5957e-06, 1.895e-07};
