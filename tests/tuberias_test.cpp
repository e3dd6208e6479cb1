#include "transformacion/entrada.h"
#include "transformacion/salida.h"
#include "geodesia/formato.h"
#include "vectores.h"
#include "transformacion/tuberias.h"

#include <gtest/gtest.h>

namespace {

// The window's route: boxes as laid out, read back, transformed, written.
std::string ComoLaVentana(const std::string& entrada) {
    const auto f = std::get<FicheroEntrada>(LeeFicheroEntrada(entrada));
    const int k = 3 * (f.formato - 1);
    const auto cajas = LeeCajas(TextoCaja(f.puntos.c1, k), TextoCaja(f.puntos.c2, k + 1),
                                TextoCaja(f.puntos.c3, k + 2));
    return TextoSalida(Transforma(f.formato, std::get<Columnas3>(cajas)));
}

// Outputs written before the conversions were tuned for speed: every byte must stay.
TEST(Transforma, SalidasFijadasDeMilPuntosPorFormato) {
    for (int f = 1; f <= 6; ++f) {
        const std::string n = "regresion/entrada-" + std::to_string(f) + ".txt";
        EXPECT_EQ(ComoLaVentana(LeeFichero(RutaDatos(n))),
                  LeeFichero(RutaDatos("regresion/salida-" + std::to_string(f) + ".txt")))
            << "formato " << f;
    }
}

} // namespace
