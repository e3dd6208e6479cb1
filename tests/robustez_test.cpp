#include "geodesia/angulos.h"
#include "geodesia/fallo.h"
#include "transformacion/tuberias.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double Grados(double pseudo) { return PseudoARadianes(pseudo) * 180 / M_PI; }

// Every pipeline fed with points at the edges ends with the expected point, laid out, or with
// the expected arithmetic fault: never infinity, NaN, a crash or a hang.
TEST(Bordes, CadaTuberiaTerminaConSuPuntoOSuFallo) {
    struct Caso {
        const char* nombre;
        int formato;
        double a, b, c;
        const char* fallo;     // nullptr: it converts
        double latitud, altura; // WGS84 (degrees, m), within 0.01 degrees and 1 km
    } casos[] = {
        {"polo norte", 3, 90, -3, 0, nullptr, 89.99, 0},
        {"polo sur", 3, -90, 3, 0, nullptr, -89.99, 0},
        {"polo norte WGS84", 5, 90, 0, 100, nullptr, 90, 100},
        {"longitud 180", 3, 40, 180, 0, nullptr, 40, 0},
        {"longitud -180", 5, -40, -180, 0, nullptr, -40, 0},
        {"altura 1e7", 3, 40, -3, 1e7, nullptr, 40, 1e7},
        {"altura -1e7", 5, 40, -3, -1e7, nullptr, 40, -1e7},
        // near the centre the height is minus the normal radius, a / sqrt(1 - e2 sin2(phi))
        {"a un metro del centro", 4, 1, 1, 1, nullptr, NAN, -6.398e6},
        // 710 km deep: tan(phi) = (N + h) / (N (1 - e2) + h)
        {"X negativa", 4, -4000000, 100, 4000000, nullptr, 45.218, -710e3},
        {"eje polar ED50", 4, 0, 0, 6356911, "eje polar", 0, 0},
        {"eje polar WGS84", 6, 0, 0, -6356752, "eje polar", 0, 0},
        {"origen", 6, 0, 0, 0, "eje polar", 0, 0},
        {"norte -1e12", 2, 500000, -1e12, 0, "no converge", 0, 0},
        {"este 1e12", 1, 1e12, 4000000, 0, "no converge", 0, 0},
        {"cuadrante de meridiano", 2, 400000, 10001000, 0, "no converge", 0, 0},
        {"cerca del polo y lejos del meridiano", 1, 600000, 9999000, 0, "no converge", 0, 0},
        {"norte 1e300 termina", 1, 600000, 1e300, 0, "no converge", 0, 0},
        {"norte de 12000 km: latitud de 108 grados", 1, 500000, 12000000, 0, "la serie no converge", 0, 0},
        {"norte en que el pie oscila entre dos valores", 1, 500000, -2.03e16, 0, "pie de la perpendicular no converge", 0, 0},
        {"valores enormes", 6, 1e300, 1e300, 1e300, "desbordamiento", 0, 0},
    };
    for (const Caso& c : casos) {
        try {
            const ConjuntoDatos d = Transforma(c.formato, Columnas3{{c.a}, {c.b}, {c.c}});
            MuestraResultados(d);
            ASSERT_EQ(c.fallo, nullptr) << c.nombre;
            if (!std::isnan(c.latitud)) { EXPECT_NEAR(Grados(d.Columnas[12][0]), c.latitud, 0.01) << c.nombre; }
            EXPECT_NEAR(d.Columnas[14][0], c.altura, 1000) << c.nombre;
        } catch (const FalloAritmetico& e) {
            ASSERT_NE(c.fallo, nullptr) << c.nombre << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find(c.fallo), std::string::npos) << c.nombre << ": " << e.what();
        }
    }
}

} // namespace
