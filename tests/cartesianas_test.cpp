#include "geodesia/angulos.h"
#include "geodesia/cartesianas.h"
#include "geodesia/fallo.h"
#include "geodesia/similitud.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(GeodesicasACartesianas, PuntosConocidos) {
    struct Caso {
        const char* nombre;
        Elipsoide e;
        double latitud, longitud, h;
        double x, y, z;
    } casos[] = {
        {"ED50", ElipsoideEd50(), 40, -3, 100, 4886299.7298, -256080.1177, 4078118.0841},
        {"WGS84", ElipsoideWgs84(), 39.30, 0.30, 50, 4928056.8219, 43006.5004, 4035335.3234},
    };
    for (const Caso& c : casos) {
        const Columnas3 r = GeodesicasACartesianas({c.latitud}, {c.longitud}, {c.h}, c.e);
        EXPECT_NEAR(r.c1[0], c.x, 0.5e-4) << c.nombre;
        EXPECT_NEAR(r.c2[0], c.y, 0.5e-4) << c.nombre;
        EXPECT_NEAR(r.c3[0], c.z, 0.5e-4) << c.nombre;
    }
}

TEST(CartesianasAGeodesicas, IdaYVuelta) {
    const double unaMilmillonesimaDeSegundo = PseudoARadianes(0.00000001) / 100;
    for (Elipsoide e : {ElipsoideEd50(), ElipsoideWgs84()}) {
        for (double lat : {-60.3, -12.0, 0.0, 36.2, 40.3, 43.4559, 70.1}) {
            for (double lon : {-9.3, -3.0, 0.0, 4.15, 80.0}) {
                for (double h : {-100.0, 0.0, 3500.0}) {
                    const Columnas3 c = GeodesicasACartesianas({lat}, {lon}, {h}, e);
                    const Columnas3 g = CartesianasAGeodesicas(c.c1, c.c2, c.c3, e);
                    EXPECT_NEAR(PseudoARadianes(g.c1[0]), PseudoARadianes(lat), unaMilmillonesimaDeSegundo);
                    EXPECT_NEAR(PseudoARadianes(g.c2[0]), PseudoARadianes(lon), unaMilmillonesimaDeSegundo);
                    EXPECT_NEAR(g.c3[0], h, 1e-6);
                }
            }
        }
    }
    EXPECT_EQ(CartesianasAGeodesicas({6378388}, {1000}, {0}, ElipsoideEd50()).c1[0], 0);
}

TEST(CartesianasAGeodesicas, CuadranteDeLaLongitud) {
    struct Caso {
        const char* nombre;
        double x, y;
        double longitud; // degrees
    } casos[] = {
        {"X positiva", 4000000, 4000000, 45},
        {"X negativa, Y positiva", -4000000, 4000000, 135},
        {"X negativa, Y cero", -6000000, 0, 180},
        {"X negativa, Y negativa", -4000000, -4000000, -135},
        {"X cero, Y positiva", 0, 6000000, 90},
        {"X cero, Y negativa", 0, -6000000, -90},
    };
    for (const Caso& c : casos) {
        const Columnas3 g = CartesianasAGeodesicas({c.x}, {c.y}, {1000000}, ElipsoideWgs84());
        EXPECT_NEAR(PseudoARadianes(g.c2[0]), c.longitud / 180 * PiSistema, 1e-12) << c.nombre;
    }
    EXPECT_THROW(CartesianasAGeodesicas({0}, {0}, {6356752}, ElipsoideWgs84()), FalloAritmetico);
}

TEST(TransformaCartesianas, PuntosConocidos) {
    struct Caso {
        const char* nombre;
        Parametros7 p;
        double x, y, z;
        double xe, ye, ze, tolerancia;
    } casos[] = {
        {"eje X", ParametrosEd50AWgs84, 1000000, 0, 0, 999898.276, -70.2488, -204.1233, 0.5e-3},
        {"origen", ParametrosEd50AWgs84, 0, 0, 0, -115.35, -62.155, -211.719, 0},
        {"Madrid", ParametrosEd50AWgs84, 4886223.230, -256076.109, 4078053.805, 4886141.411,
         -256182.074, 4077934.719, 0.5e-3},
        {"identidad", Parametros7{0, 0, 0, 0, 0, 0, 0}, 1.5, -2.5, 3.5, 1.5, -2.5, 3.5, 0},
    };
    for (const Caso& c : casos) {
        const Columnas3 r = TransformaCartesianas({c.x}, {c.y}, {c.z}, c.p);
        EXPECT_NEAR(r.c1[0], c.xe, c.tolerancia) << c.nombre;
        EXPECT_NEAR(r.c2[0], c.ye, c.tolerancia) << c.nombre;
        EXPECT_NEAR(r.c3[0], c.ze, c.tolerancia) << c.nombre;
    }
    const Columnas3 ida = TransformaCartesianas({4886223.230}, {-256076.109}, {4078053.805},
                                                ParametrosEd50AWgs84);
    const Columnas3 vuelta = TransformaCartesianas(ida.c1, ida.c2, ida.c3, ParametrosWgs84AEd50);
    EXPECT_NEAR(vuelta.c1[0], 4886223.231, 0.5e-3);
    EXPECT_NEAR(vuelta.c2[0], -256076.108, 0.5e-3);
    EXPECT_NEAR(vuelta.c3[0], 4078053.807, 0.5e-3);
}

} // namespace
