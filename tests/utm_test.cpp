#include "geodesia/angulos.h"
#include "geodesia/elipsoide.h"
#include "geodesia/utm.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Points PROJ's comparison does not reach: the equator and far north exactly, and a point
// six degrees off its zone's central meridian.
TEST(Utm, PuntosConocidos) {
    struct Caso {
        const char* nombre;
        bool inversa; // UTM -> geodetic
        int huso;
        double a, b; // geodetic (pseudo-sexagesimal) or x, y
        double c, d; // what comes out; NaN: not given
        double tolerancia;
    } casos[] = {
        {"inversa, ecuador, huso 30", true, 30, 500000, 0, 0, -3, 1e-12},
        {"inversa, ecuador, huso 31", true, 31, 500000, 0, 0, 3, 1e-12},
        {"inversa, norte de 9000 km", true, 30, 500000, 9000000, NAN, -3, 1e-12},
        {"ecuador", false, 30, 0, -1, 722604.2008, 0, 0.5e-4},
        {"6 grados al oeste del meridiano", false, 30, 42, -9, 2976.1301, 4667305.9200, 0.5e-4},
    };
    for (const Caso& c : casos) {
        const Columnas3 r = c.inversa ? UtmAGeodesicas({c.a}, {c.b}, {-7.25}, c.huso)
                                      : GeodesicasAUtm({c.a}, {c.b}, {-7.25}, c.huso);
        if (!std::isnan(c.c)) { EXPECT_NEAR(r.c1[0], c.c, c.tolerancia) << c.nombre; }
        EXPECT_NEAR(r.c2[0], c.d, c.tolerancia) << c.nombre;
        EXPECT_EQ(r.c3[0], -7.25) << c.nombre;
    }
}

} // namespace
