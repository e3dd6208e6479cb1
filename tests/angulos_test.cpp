#include "geodesia/angulos.h"
#include "transformacion/columnas.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double GradosARadianes(double grados) { return (grados / 180) * PiSistema; }

TEST(PseudoARadianes, CasosDeLaNotacion) {
    struct Caso {
        const char* nombre;
        double pseudo;
        double grados;
    } casos[] = {
        {"40.3 lleva el acarreo", 40.3, 40.5},
        {"-3.3 lleva el acarreo hacia abajo", -3.3, -3.5},
        {"grados cero al sur", -0.3, -0.5},
        {"segundos con fracción", 40.30155, 40.504305555555554},
        {"99.995 segundos sin acarreo", 40.2999995, 40.0 + 29.0 / 60 + 99.995 / 3600},
        {"75 minutos", 40.75, 41.25},
        {"59.9995 segundos", 40.30599995, 40.0 + 30.0 / 60 + 59.9995 / 3600},
    };
    for (const Caso& c : casos)
        EXPECT_NEAR(PseudoARadianes(c.pseudo), GradosARadianes(c.grados), 1e-15) << c.nombre;
}

TEST(RadianesAPseudo, VueltaYRedondeoDeVisualizacion) {
    struct Caso {
        const char* nombre;
        double radianes;
        const char* mostrado; // as the latitude box shows it
    } casos[] = {
        {"-3.3", PseudoARadianes(-3.3), " -3.30000000"},
        {"75 minutos vuelven como 41.15", PseudoARadianes(40.75), " 41.15000000"},
        {"59.9995 segundos", PseudoARadianes(40.30599995), " 40.30599995"},
        {"sin acarreo a 40.30", GradosARadianes(40 + 29.0 / 60 + 59.999999 / 3600),
         " 40.29600000"},
        {"menos cero", -0.0, "  0.00000000"},
    };
    for (const Caso& c : casos) EXPECT_EQ(TextoDeColumna(RadianesAPseudo(c.radianes), 6), c.mostrado) << c.nombre;
    EXPECT_FALSE(std::signbit(RadianesAPseudo(-0.0)));
}

} // namespace
