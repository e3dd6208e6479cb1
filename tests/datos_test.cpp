#include "geodesy/formato.h"
#include "window/datos.h"

#include <gtest/gtest.h>

namespace {

std::string Mensaje(const std::variant<Columnas3, FalloLectura>& r) {
    const auto* f = std::get_if<FalloLectura>(&r);
    return f ? f->mensaje : "";
}

TEST(LeeCajas, UnaLinea) {
    struct Caso {
        const char* linea;
        bool aceptada;
        double valor;
    } casos[] = {
        {"1,5", false, 0}, {"1.5", true, 1.5}, {"1e3", true, 1000}, {" 42 ", true, 42},
        {"12.5abc", false, 0}, {"", false, 0}, {"\t-7.25D1 ", true, -72.5},
    };
    for (const Caso& c : casos) {
        const auto r = LeeCajas(c.linea, "0", "0");
        if (c.aceptada) {
            ASSERT_TRUE(std::holds_alternative<Columnas3>(r)) << c.linea;
            EXPECT_EQ(std::get<Columnas3>(r).c1, Columna{c.valor}) << c.linea;
        } else {
            EXPECT_EQ(Mensaje(r), MensajeNoNumerico) << c.linea;
        }
    }
}

TEST(LeeCajas, LineasYMensajes) {
    struct Caso {
        const char* nombre;
        const char *a, *b, *c;
        std::string mensaje;
    } casos[] = {
        {"tres cajas vacías", "", "", "", MensajeNoNumerico},
        {"línea en blanco al final de una caja", "1\r\n2\r\n", "1\r\n2", "1\r\n2", MensajeDistintoNumero},
        {"línea en blanco al final de la tercera", "1\r\n2", "1\r\n2", "1\r\n2\r\n", MensajeDistintoNumero},
        {"línea en blanco al final de las tres", "1\r\n2\r\n", "1\r\n2\r\n", "1\r\n2\r\n", MensajeNoNumerico},
        {"coma en la segunda caja", "1\r\n2", "1\r\n2,5", "1\r\n2", MensajeNoNumerico},
        {"dos puntos", "1\r\n2", "3\r\n4", "5\r\n6", ""},
    };
    for (const Caso& c : casos) EXPECT_EQ(Mensaje(LeeCajas(c.a, c.b, c.c)), c.mensaje) << c.nombre;
    const auto r = std::get<Columnas3>(LeeCajas("1\r\n2", "3\r\n 4 ", "5\r\n6"));
    EXPECT_EQ(r.c2, (Columna{3, 4}));
    EXPECT_EQ(MensajeDistintoNumero,
              "  \xc2\xa1" "Existe distinto n\xc3\xbamero de datos en cada columna\r\n"
              " o se han introducido retornos de carro innecesarios!");
    EXPECT_EQ(MensajeNoNumerico, "\xc2\xa1Hay alg\xc3\xban valor no num\xc3\xa9rico!");
}

TEST(LeeCajas, LimiteDe32767Caracteres) {
    std::string lleno;
    while (lleno.size() + 13 <= MaximoCaracteresCaja) lleno += lleno.empty() ? "500000.000" : "\r\n500000.000";
    lleno.resize(MaximoCaracteresCaja, ' ');
    EXPECT_TRUE(std::holds_alternative<Columnas3>(LeeCajas(lleno, lleno, lleno)));
    EXPECT_EQ(Mensaje(LeeCajas(lleno, lleno, lleno + " ")), MensajeCajaDemasiadoLarga);
    // characters, not bytes: a box of 2-byte letters within the limit is only non-numeric
    EXPECT_EQ(Mensaje(LeeCajas(std::string(20000, 'a') + "\xc3\xb1", "1", "1")), MensajeNoNumerico);
}

TEST(TextoCaja, LineasMaquetadasSinFinalDeLinea) {
    EXPECT_EQ(TextoCaja({500000.12345, -0.2530123}, 0), "  500000.123\r\n      -0.253");
    EXPECT_EQ(TextoCaja({40.2530123456}, 6), " 40.25301235");
    EXPECT_EQ(TextoCaja({}, 2), "");
}

} // namespace
