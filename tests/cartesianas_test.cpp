#include "geodesia/angulos.h"
#include "geodesia/cartesianas.h"
#include "geodesia/fallo.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

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

// A latitude beyond a pole is refused (it once gave a point on the other side of the earth); the
// poles themselves are points.
TEST(GeodesicasACartesianas, LatitudDeMasDe90Grados) {
    for (double lat : {95.0, -90.0001, 89.6001, 1e5}) {
        try {
            GeodesicasACartesianas({40.0, lat}, {-3.0, -3.0}, {0, 0}, ElipsoideEd50());
            ADD_FAILURE() << lat;
        } catch (const FalloAritmetico& e) {
            EXPECT_STREQ(e.what(), "latitud de m\u00e1s de 90 grados") << lat;
        }
    }
    const Columnas3 c = GeodesicasACartesianas({90.0, -90.0}, {0, 0}, {0, 0}, ElipsoideEd50());
    EXPECT_NEAR(c.c3[0], 6356911.946, 1e-3);
    EXPECT_NEAR(c.c3[1], -6356911.946, 1e-3);
}

} // namespace
