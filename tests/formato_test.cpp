#include "geodesy/fallo.h"
#include "geodesy/formato.h"
#include "locale_coma.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace {

TEST(Redondea, MitadesLejosDelCero) {
    struct Caso {
        double x;
        int n;
        double esperado;
    } casos[] = {{1.25, 1, 1.3}, {-1.25, 1, -1.3}, {0.125, 2, 0.13}, {2.5, 0, 3},
                 {-2.5, 0, -3},  {12.5, 0, 13},    {-12.5, 0, -13},  {-0.0004, 3, 0}};
    for (const Caso& c : casos) EXPECT_EQ(Redondea(c.x, c.n), c.esperado) << c.x << " a " << c.n;
}

TEST(TextoANumero, ReglaDeLectura) {
    struct Caso {
        const char* texto;
        double valor;
    } casos[] = {
        {" 12 34.5x", 1234.5}, {"abc", 0},       {"6,5", 6},        {"1e3", 1000},
        {"\n 42 ", 42},        {"-2.5D2", -250}, {"1.5d-1", 0.15},  {"+.5", 0.5},
        {"1E", 1},             {"-", 0},         {"1e-400", 0},     {"0.1", 0.1},
        {"\t-\t3", -3},        {"7 e 1", 70},
    };
    for (const Caso& c : casos) EXPECT_EQ(TextoANumero(c.texto), c.valor) << c.texto;
    EXPECT_EQ(TextoANumero("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(TextoANumero("-1e999999999999"), -std::numeric_limits<double>::infinity());
}

TEST(EsNumerico, AceptaSoloNumerosCompletos) {
    struct Caso {
        const char* texto;
        bool numerico;
    } casos[] = {
        {"1.5", true},  {"1e3", true},     {" 42 ", true},    {"\n-0.25\r", true},
        {"+.5", true},  {"-0", true},      {"1D-3", true},    {"5.", true},
        {"1e-400", true}, {"1,5", false},  {"12.5abc", false}, {"", false},
        {"  ", false},  {".", false},      {"1.2.3", false},  {"1e", false},
        {"1 2", false}, {"1e400", false},  {"\"1\"", false},  {"\xef\xbc\x91", false},
        {"\xd9\xa3", false},
    };
    for (const Caso& c : casos) EXPECT_EQ(EsNumerico(c.texto), c.numerico) << c.texto;
}

TEST(NumeroATexto, QuinceCifrasYFormaExponencial) {
    struct Caso {
        double x;
        const char* texto;
    } casos[] = {
        {0, " 0"},        {-0.0, " 0"},          {0.5, " .5"},      {-0.25, "-.25"},
        {1.5e-5, " 1.5E-05"}, {1e16, " 1E+16"},  {1e15, " 1E+15"},  {999999999999999, " 999999999999999"},
        {0.0001, " .0001"}, {500000, " 500000"}, {0.1 + 0.2, " .3"}, {-1.234e-300, "-1.234E-300"},
        {4412345.67891, " 4412345.67891"},
    };
    for (const Caso& c : casos) EXPECT_EQ(NumeroATexto(c.x), c.texto) << c.x;
    EXPECT_THROW(NumeroATexto(std::numeric_limits<double>::infinity()), FalloAritmetico);
}

TEST(FormatoNumero, TablaDeEjemplos) {
    struct Caso {
        const char* texto;
        int ancho, decimales;
        const char* resultado;
    } casos[] = {
        {" 500000", 8, 3, "  500000.000"},
        {" 4412345.67891", 8, 3, " 4412345.679"},
        {" 100.25", 6, 3, "   100.250"},
        {" 40.2530123456", 3, 8, " 40.25301235"},
        {"-.2530123", 3, 8, " -0.25301230"},
        {" 1.234E-05", 3, 8, "  0.00001234"},
        {" 123.4", 3, 8, "  123.40000000"},
        {" 123456", 6, 3, "  123456.000"},
        {"-.0004", 8, 3, "       0.000"},
        {" .253", 3, 8, "  0.25300000"},
        {" 1.5E+16", 8, 3, "           15000000000000000.000"},
        {" 1.25E+02", 8, 3, "     125.000"},
        {"-1.5E-01", 3, 8, " -0.15000000"},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(FormatoNumero(c.texto, c.ancho, c.decimales), c.resultado) << c.texto;
}

TEST(FormatoNumero, NoDependeDelLocale) {
    ASSERT_TRUE(PonLocaleConComa());
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(TextoDeColumna(4412345.67891, 0), " 4412345.679");
    EXPECT_EQ(TextoANumero("40.5"), 40.5);
    EXPECT_TRUE(EsNumerico("1.5"));
    std::setlocale(LC_ALL, "C");
}

} // namespace
