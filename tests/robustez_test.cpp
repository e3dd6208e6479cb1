#include "geodesy/fallo.h"
#include "window/tuberias.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Every pipeline fed with points at the edges ends with a result that can be shown, or with
// the arithmetic fault: never infinity, NaN, a crash or a hang.
TEST(Bordes, CadaTuberiaTerminaConResultadoOFallo) {
    struct Caso {
        const char* nombre;
        int formato;
        double a, b, c;
    } casos[] = {
        {"polo norte", 3, 90, -3, 0},          {"polo sur", 3, -90, 3, 0},
        {"polo norte WGS84", 5, 90, 0, 100},   {"longitud 180", 3, 40, 180, 0},
        {"longitud -180", 5, -40, -180, 0},    {"altura 1e7", 3, 40, -3, 1e7},
        {"altura -1e7", 5, 40, -3, -1e7},      {"altura -1e7 cartesiana", 4, 1, 1, 1},
        {"eje polar ED50", 4, 0, 0, 6356911},  {"eje polar WGS84", 6, 0, 0, -6356752},
        {"origen", 6, 0, 0, 0},                {"X negativa", 4, -4000000, 100, 4000000},
        {"norte 1e12", 1, 500000, 1e12, 0},    {"norte -1e12", 2, 500000, -1e12, 0},
        {"este 1e12", 1, 1e12, 4000000, 0},    {"cuadrante de meridiano", 2, 400000, 10001000, 0},
        {"valores enormes", 6, 1e300, 1e300, 1e300}, {"latitud 1e6", 3, 1e6, 0, 0},
    };
    for (const Caso& c : casos) {
        try {
            const ConjuntoDatos d = Transforma(c.formato, Columnas3{{c.a}, {c.b}, {c.c}});
            for (const Columna& col : d.Columnas) EXPECT_TRUE(std::isfinite(col[0])) << c.nombre;
            try {
                MuestraResultados(d);
            } catch (const FalloAritmetico&) {
                // a value too large for its column's layout is reported the same way
            }
        } catch (const FalloAritmetico& e) {
            EXPECT_FALSE(std::string(e.what()).empty()) << c.nombre;
        }
    }
    EXPECT_THROW(Transforma(4, Columnas3{{0}, {0}, {6356911}}), FalloAritmetico);
    EXPECT_THROW(Transforma(1, Columnas3{{500000}, {1e12}, {0}}), FalloAritmetico);
}

} // namespace
