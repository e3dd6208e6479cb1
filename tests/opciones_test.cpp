#include "transformacion/entrada.h"
#include "transformacion/fuera_de_huso.h"
#include "transformacion/opciones.h"
#include "transformacion/salida.h"
#include "transformacion/tuberias.h"

#include <gtest/gtest.h>

namespace {

TEST(LeePrimeraLinea, FormatoYHuso) {
    struct Caso { const char* linea; int formato; std::optional<int> huso; } casos[] = { // formato 0: not recognised
        {"2", 2, std::nullopt}, {"2;29", 2, 29},  {"2;31", 2, 31},     {" 2 ; 29 ", 2, 29}, {"7", 7, std::nullopt},
        {"7;29", 7, 29},        {"7;30", 7, 30},  {"7;31", 7, 31},     {"6.5;29", 0, {}},   {"1;30", 1, 30},
        {"1;29", 0, {}},        {"2;30", 0, {}},  {"3;29", 0, {}},     {"7;32", 0, {}},     {"7;29.5", 0, {}},
        {"7;", 0, {}},          {"7;huso", 0, {}}, {"8;29", 0, {}},    {"2;29;1", 0, {}},   {"7.4;30", 7, 30},
    };
    for (const Caso& c : casos) {
        const auto r = LeePrimeraLinea(c.linea); // the refusal's words: orvalo-lote's tests
        const auto* p = std::get_if<PrimeraLinea>(&r);
        EXPECT_EQ(p ? p->formato : 0, c.formato) << c.linea;
        EXPECT_EQ(p ? p->huso : std::nullopt, c.huso) << c.linea;
    }
    // the window's reader without zones stays the old one: 7 and a zone are not recognised
    for (const char* f : {"7;30\r\n1,2,3", "2;29\r\n1,2,3"})
        EXPECT_TRUE(std::holds_alternative<FalloEntrada>(LeeFicheroEntrada(f))) << f;
}

// the refusals of the values are orvalo-lote's usage errors, tested there
TEST(OpcionesFormatos, UnaListaSeGuardaEnSuOrden) {
    OpcionesFormatos o;
    ASSERT_FALSE(PonFormatos(o, "7,3,1"));
    EXPECT_EQ(o.formatos, (std::vector<int>{7, 3, 1}));
}

TEST(HusosDeFichero, NuncaUnHusoQueNadieIndico) {
    // the user's zones, the file's format and zone; the zones taken (ED50, UTM), or why not
    struct Caso { const char* nombre; OpcionesFormatos usuario; int formato; std::optional<int> husoFichero;
                  int ed50, utm; std::string rechazo; } casos[] = {
        {"formato 2 de siempre", {}, 2, {}, 31, 30, ""},
        {"formato 2 en el 29 por el usuario", {29, {}}, 2, {}, 29, 30, ""},
        {"formato 2 en el 29 por el fichero", {}, 2, 29, 29, 30, ""},
        {"el fichero y el usuario de acuerdo", {29, 31}, 2, 29, 29, 31, ""},
        {"el fichero contra el usuario", {31, {}}, 2, 29, 0, 0, "el fichero est\u00e1 en el huso 29 y se ha pedido el huso 31"},
        {"formato 7 sin huso", {}, 7, {}, 0, 0, "el fichero no indica el huso de su formato 7: escriba 7;29, 7;30 o 7;31 en "
                                               "su primera l\u00ednea, o indique el huso"},
        {"formato 7 sin huso, el del usuario", {{}, 29}, 7, {}, 31, 29, ""},
        {"formato 7 en el 31 por el fichero", {29, {}}, 7, 31, 29, 31, ""},
        {"formato 7 contra el usuario", {{}, 30}, 7, 29, 0, 0, "el fichero est\u00e1 en el huso 29 y se ha pedido el huso 30"},
        {"formato 1 con su huso", {{}, 31}, 1, 30, 31, 31, ""},
        {"geod\u00e9sicas", {29, {}}, 3, {}, 29, 30, ""},
    };
    for (const Caso& c : casos) {
        const auto r = HusosDeFichero(c.usuario, c.formato, c.husoFichero);
        const auto* h = std::get_if<Husos>(&r);
        EXPECT_EQ(h ? "" : std::get<std::string>(r), c.rechazo) << c.nombre;
        EXPECT_EQ(h ? h->ed50 : 0, c.ed50) << c.nombre;
        EXPECT_EQ(h ? h->utm : 0, c.utm) << c.nombre;
    }
}

TEST(MasFueraDeHuso, ElPuntoMasLejano) {
    // geodetic ED50: Madrid, A Coruña (-8.40), Menorca (4.15), the Canaries (-15.25)
    const Columnas3 puntos{{40.25, 43.22, 39.53, 28.06}, {-3.42, -8.24, 4.15, -15.15}, {0, 0, 0, 0}};
    // which of them; the farthest point, its format and zone ("" when none is outside)
    struct Caso { const char* nombre; std::vector<std::size_t> puntos; Husos husos; std::vector<int> formatos;
                  std::string mensaje; } casos[] = {
        {"Madrid en 30 y 31", {0}, {}, FormatosClasicos, ""},
        {"Madrid sin UTM", {0}, {}, {3, 5}, ""},
        {"Madrid en 29 ETRS89", {0}, {31, 29}, {7}, "El punto 1 queda a 2,30\u00b0 de longitud fuera del huso 29 (UTM ETRS89 huso 29)"},
        {"A Coru\u00f1a en 30 y 31", {0, 1}, {}, FormatosClasicos, "El punto 2 queda a 2,40\u00b0 de longitud fuera del huso 30 (UTM huso 30)"},
        {"A Coru\u00f1a en 29", {1}, {29, 29}, {2, 7}, ""},
        {"Menorca en 30 y 29", {1, 0, 2}, {29, 30}, FormatosClasicos, "El punto 3 queda a 4,25\u00b0 de longitud fuera del huso 30 (UTM huso 30)"},
        {"Canarias en ED50", {0, 1, 3}, {29, 30}, {1, 2}, "El punto 3 queda a 3,25\u00b0 de longitud fuera del huso 29 (UTM huso 29)"},
        {"Canarias, m\u00e1s lejos en ETRS89", {3}, {29, 30}, {1, 2, 7}, "El punto 1 queda a 9,25\u00b0 de longitud fuera del huso 30 (UTM ETRS89 huso 30)"},
    };
    for (const Caso& c : casos) {
        Columnas3 p;
        for (std::size_t i : c.puntos)
            for (Columna Columnas3::*k : {&Columnas3::c1, &Columnas3::c2, &Columnas3::c3}) (p.*k).push_back((puntos.*k)[i]);
        const auto f = MasFueraDeHuso(Transforma(3, p, c.husos), c.formatos);
        EXPECT_EQ(f ? MensajeFueraDeHuso(*f, c.husos, true) : "", c.mensaje) << c.nombre;
    }
}

TEST(TextoSalida, ListaDeFormatos) {
    ConjuntoDatos d = DatosDeEntrada(3, Columnas3{{40.5, -0.25}, {-3, 1}, {100, -2}});
    d.Columnas[ColumnaUtmWgs84] = {500000, 123456.7894};
    d.Columnas[ColumnaUtm30 + 1] = {4500000, 0};
    // in the order asked; one format alone and the six by default: orvalo-lote's tests
    EXPECT_EQ(TextoSalida(d, {7, 1}), "  500000.000,       0.000,     0.000;       0.000, 4500000.000,     0.000\r\n"
                                      "  123456.789,       0.000,     0.000;       0.000,       0.000,     0.000");
}

} // namespace
