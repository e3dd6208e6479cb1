#include "geodesia/fallo.h"
#include "geodesia/formato.h"
#include "transformacion/columnas.h"
#include "locale_coma.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <random>

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

TEST(NumeroValido, AceptaSoloNumerosCompletosYLeeLoQueMuestran) {
    const std::optional<double> no;
    struct Caso {
        const char* texto;
        std::optional<double> valor;
    } casos[] = {
        {"1.5", 1.5},   {"1e3", 1000},     {" 42 ", 42},      {"\n-0.25\r", -0.25},
        {"+.5", 0.5},   {"-0", -0.0},      {"1D-3", 0.001},   {"5.", 5},
        {"1e-400", 0},  {"1,5", no},       {"12.5abc", no},   {"", no},
        {"  ", no},     {".", no},         {"1.2.3", no},     {"1e", no},
        {"1 2", no},    {"1e400", no},     {"\"1\"", no},    {"\xef\xbc\x91", no},
        {"\xd9\xa3", no},
        // a CR before the value was once taken as a blank by the test and read as 0
        {"\r40.3", 40.3}, {"\r\n\r-3.3\r", -3.3}, {"4\r0", no}, {"- 5", no},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(NumeroValido(c.texto), c.valor) << c.texto;
    }
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
        {" 4412345.67891", 8, 3, " 4412345.679"},
        {"-.2530123", 3, 8, " -0.25301230"},
        {" 1.234E-05", 3, 8, "  0.00001234"},
        {"-.0004", 8, 3, "       0.000"},
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
    EXPECT_EQ(NumeroValido("1.5"), 1.5);
    std::setlocale(LC_ALL, "C");
}

// The column layout takes a short cut when the rounded value has at most 15 digits; it must
// give the very text of the long route, and read back as that text does.
TEST(TextoDeColumna, IgualQueFormatoNumeroDeNumeroATexto) {
    std::vector<double> valores = {0.0, -0.0, -0.0004, 0.0005, -0.0005, 1e-300, 5e-324, 0.125, -2.5,
                                   999999999999.9995, 999999999999.9994, 99999999999999.99, 1e15,
                                   -1e15, 123456789012345678.0, 1e300, -1.7e308, 40.2999999999999,
                                   4412345.6789049999, 0.000012345, 1.234e-05,
                                   // exact ties at the 15th digit round half to even
                                   123456789012345.5, 123456789012344.5, 12345678901234.25,
                                   -12345678901234.75, 999999999999999.5, 0.00001, 9.999999999999995e-6};
    std::mt19937_64 g(2026);
    std::uniform_real_distribution<double> mantisa(-10, 10);
    std::uniform_int_distribution<int> exponente(-12, 18);
    for (int i = 0; i < 200000; ++i) valores.push_back(mantisa(g) * std::pow(10.0, exponente(g)));
    auto texto = [](auto&& f) -> std::string {
        try {
            return f();
        } catch (const FalloAritmetico&) {
            return "<fallo>";
        }
    };
    for (double v : valores) {
        for (int k : {0, 2, 6}) {
            const FormatoColumna f = FormatosColumnas[static_cast<std::size_t>(k)];
            const std::string largo = texto([&] { return FormatoNumero(NumeroATexto(v), f.ancho, f.decimales); });
            ASSERT_EQ(texto([&] { return TextoDeColumna(v, k); }), largo) << v;
            if (largo != "<fallo>") {
                ASSERT_EQ(ValorMostrado(v, k), TextoANumero(largo)) << v;
            }
        }
    }
    EXPECT_THROW(TextoDeColumna(std::numeric_limits<double>::quiet_NaN(), 0), FalloAritmetico);
    EXPECT_THROW(TextoDeColumna(1.7976931348623157e308, 0), FalloAritmetico);
}

} // namespace
