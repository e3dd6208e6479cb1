#include "geodesia/formato.h"
#include "transformacion/datos.h"

#include <gtest/gtest.h>

namespace {

std::string Mensaje(const std::variant<Columnas3, FalloLectura>& r) {
    const auto* f = std::get_if<FalloLectura>(&r);
    return f ? f->mensaje : "";
}

TEST(LeeCajas, LineasYMensajes) {
    struct Caso {
        const char* nombre;
        const char *a, *b, *c;
        std::string mensaje; // empty: read, and the first box is `valores`
        Columna valores;
    } casos[] = {
        {"coma", "1,5", "0", "0", MensajeNoNumerico, {}},
        {"exponente D y tabulador", "\t-7.25D1 ", "0", "0", "", {-72.5}},
        {"línea vacía", "", "0", "0", MensajeNoNumerico, {}},
        {"tres cajas vacías", "", "", "", MensajeNoNumerico, {}},
        {"línea en blanco al final de una caja", "1\r\n2\r\n", "1\r\n2", "1\r\n2", MensajeDistintoNumero, {}},
        {"tercera caja con más líneas", "1", "1", "1\r\n2", MensajeDistintoNumero, {}},
        {"línea en blanco al final de las tres", "1\r\n2\r\n", "1\r\n2\r\n", "1\r\n2\r\n", MensajeNoNumerico, {}},
        {"coma en la segunda caja", "1\r\n2", "1\r\n2,5", "1\r\n2", MensajeNoNumerico, {}},
        {"dos puntos, LF delante de la segunda línea", "1\r\n2", "3\r\n 4 ", "5\r\n6", "", {1, 2}},
    };
    for (const Caso& c : casos) {
        const auto r = LeeCajas(c.a, c.b, c.c);
        EXPECT_EQ(Mensaje(r), c.mensaje) << c.nombre;
        if (c.mensaje.empty()) {
            EXPECT_EQ(std::get<Columnas3>(r).c1, c.valores) << c.nombre;
        }
    }
}

TEST(LeeCajas, LimiteDe32767Caracteres) {
    std::string lleno;
    while (lleno.size() + 13 <= 32767) lleno += lleno.empty() ? "500000.000" : "\r\n500000.000";
    lleno.resize(32767, ' ');
    std::string enes; // 2 bytes a letter
    for (int i = 0; i < 20000; ++i) enes += "\xc3\xb1";
    std::string masEnes = enes;
    for (int i = 0; i < 12768; ++i) masEnes += "\xc3\xb1";
    struct Caso {
        const char* nombre;
        std::string caja;
        std::string mensaje;
    } casos[] = {
        {"32767 caracteres", lleno, ""},
        {"32768 caracteres", lleno + " ", MensajeCajaDemasiadoLarga},
        {"20000 letras: más bytes que el límite, menos caracteres", enes, MensajeNoNumerico},
        {"32768 letras", masEnes, MensajeCajaDemasiadoLarga},
    };
    for (const Caso& c : casos) EXPECT_EQ(Mensaje(LeeCajas(c.caja, c.caja, c.caja)), c.mensaje) << c.nombre;
}

} // namespace
