#include "geodesia/angulos.h"
#include "geodesia/elipsoide.h"
#include "geodesia/utm.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(UtmAGeodesicas, PuntosConocidos) {
    struct Caso {
        const char* nombre;
        int huso;
        double x, y;
        double latitud, longitud; // pseudo-sexagesimal; NaN: not given
        double tolerancia;
    } casos[] = {
        {"huso 30", 30, 440000, 4474000, 40.24496, -3.42258, 0.5e-5},
        {"meridiano central", 30, 500000, 4500000, 40.39006, -3, 0.5e-5},
        {"huso 31", 31, 300000, 4200000, 37.55298, 0.43285, 0.5e-5},
        {"al oeste del huso", 30, 166000, 4000000, 36.05121, -6.42322, 0.5e-5},
        {"ecuador, huso 30", 30, 500000, 0, 0, -3, 1e-12},
        {"ecuador, huso 31", 31, 500000, 0, 0, 3, 1e-12},
        {"norte de 9000 km", 30, 500000, 9000000, NAN, -3, 1e-12},
    };
    for (const Caso& c : casos) {
        const Columnas3 r = UtmAGeodesicas({c.x}, {c.y}, {123.5}, c.huso);
        if (!std::isnan(c.latitud)) { EXPECT_NEAR(r.c1[0], c.latitud, c.tolerancia) << c.nombre; }
        EXPECT_NEAR(r.c2[0], c.longitud, c.tolerancia) << c.nombre;
        EXPECT_EQ(r.c3[0], 123.5) << c.nombre;
    }
}

TEST(GeodesicasAUtm, PuntosConocidos) {
    struct Caso {
        const char* nombre;
        double latitud, longitud; // pseudo-sexagesimal
        int huso;
        double x, y;
    } casos[] = {
        {"meridiano central 30", 40, -3, 30, 500000, 4427833.1171},
        {"meridiano central 31", 40, 3, 31, 500000, 4427833.1171},
        {"Greenwich en huso 30", 40, 0, 30, 756111.2284, 4432145.1503},
        {"Greenwich en huso 31", 40, 0, 31, 243888.7716, 4432145.1503},
        {"ecuador", 0, -1, 30, 722604.2008, 0},
        {"sur de Baleares", 36, 4, 31, 590133.0378, 3984474.7233},
        {"Galicia", 43.30, -7.30, 30, 136163.8233, 4826274.3732},
        {"6 grados al oeste del meridiano", 42, -9, 30, 2976.1301, 4667305.9200},
    };
    for (const Caso& c : casos) {
        const Columnas3 r = GeodesicasAUtm({c.latitud}, {c.longitud}, {-7.25}, c.huso);
        EXPECT_NEAR(r.c1[0], c.x, 0.5e-4) << c.nombre;
        EXPECT_NEAR(r.c2[0], c.y, 0.5e-4) << c.nombre;
        EXPECT_EQ(r.c3[0], -7.25) << c.nombre;
    }
    // International 1924, e2 = 0.0067226700223333
    EXPECT_NEAR(ArcoMeridiano(PseudoARadianes(40), SemiejeMayorEd50, 0.0067226700223333), 4429604.9591, 0.5e-4);
}

} // namespace
