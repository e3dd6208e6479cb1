#include "geodesia/formato.h"
#include "transformacion/avisos.h"
#include "transformacion/datos.h"

#include <gtest/gtest.h>

namespace {

// n lines of v, CR LF between them.
std::string Lineas(int n, const std::string& v) {
    std::string t = v;
    for (int i = 1; i < n; ++i) t += "\r\n" + v;
    return t;
}

std::string Mensaje(const std::variant<Columnas3, FalloLectura>& r) {
    const auto* f = std::get_if<FalloLectura>(&r);
    return f ? f->mensaje : "";
}

// Boxes of up to as many points as the window reads from a file, whatever their length.
TEST(LeeCajas, LineasYMensajes) {
    const std::string lleno = Lineas(32766, "500000.000"), otro = lleno + "\r\n1";
    const std::string largo = std::string(40000, ' ') + "1"; // only the point count limits a box
    struct Caso {
        const char* nombre;
        std::string a, b, c;
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
        {"32766 puntos", lleno, lleno, lleno, "", Columna(32766, 500000)},
        {"32767 puntos", otro, otro, otro, MensajeDemasiadosPuntos, {}},
        {"un valor tras 40000 blancos", largo, largo, largo, "", {1}},
    };
    for (const Caso& c : casos) {
        const auto r = LeeCajas(c.a, c.b, c.c);
        EXPECT_EQ(Mensaje(r), c.mensaje) << c.nombre;
        if (c.mensaje.empty()) {
            EXPECT_EQ(std::get<Columnas3>(r).c1, c.valores) << c.nombre;
        }
    }
    // the counts of the three boxes, when they differ, grouped by thousands with no space in front
    const auto r = LeeCajas(lleno, Lineas(1000, "1"), Lineas(100, "1"));
    EXPECT_EQ(MensajeLectura(std::get<FalloLectura>(r), 1),
              MensajeDistintoNumero + "\r\n X: 32 766 l\u00edneas, Y: 1 000, h: 100.");
}

} // namespace
