#include "transformacion/avisos.h"
#include "transformacion/entrada.h"

#include <gtest/gtest.h>

namespace {

TEST(LeeFicheroEntrada, CasosDelFormato) {
    std::string lleno = "1"; // as many points as the window's boxes take
    for (int i = 0; i < 32766; ++i) lleno += "\r\n1,2,3";
    struct Caso {
        const char* nombre;
        std::string contenido;
        int formato;             // 0: refused
        FalloEntrada::Tipo tipo; // when refused
        std::size_t puntos;
    } casos[] = {
        {"tres puntos en huso 31", "2\r\n1,2,3\r\n4,5,6\r\n7,8,9", 2, {}, 3},
        {"final CR LF no cuenta", "2\r\n1,2,3\r\n4,5,6\r\n", 2, {}, 2},
        {"solo LF", "3\n1,2,3\n4,5,6\n", 3, {}, 2},
        {"espacios alrededor", "4\r\n 1 , 2 ,3 \r\n", 4, {}, 1},
        {"solo la primera línea", "5\r\n", 5, {}, 0},
        {"solo la primera línea sin fin", "6", 6, {}, 0},
        {"2.5 es 2", "2.5\r\n1,2,3", 2, {}, 1},
        {"3.5 es 4", "3.5\r\n1,2,3", 4, {}, 1},
        {"CSV con punto y coma y comas decimales", "1\r\n1,5;2;3\r\n4;5,25;-6", 1, {}, 2},
        {"32766 puntos", lleno, 1, {}, 32766},
        {"32767 puntos", lleno + "\r\n1,2,3", 0, FalloEntrada::General, 0},
        {"0.5 es 0", "0.5\r\n1,2,3", 0, FalloEntrada::IdentificadorNoReconocido, 0},
        {"7", "7\r\n1,2,3", 0, FalloEntrada::IdentificadorNoReconocido, 0},
        {"fuera del rango de 16 bits", "32768\r\n1,2,3", 0, FalloEntrada::General, 0},
        {"línea en blanco al final", "3\r\n1,2,3\r\n\r\n", 0, FalloEntrada::General, 0},
        // one point a line: a line of two or four values never borrows from or lends to the next
        {"línea de dos valores", "1\r\n1,2\r\n3,4,5", 0, FalloEntrada::General, 0},
        {"línea de cuatro valores", "1\r\n1,2,3,4\r\n5,6,7", 0, FalloEntrada::General, 0},
        {"campo entre comillas", "3\r\n\"1\",2,3", 0, FalloEntrada::General, 0},
        {"fichero vacío", "", 0, FalloEntrada::General, 0},
        {"binario", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), 0, FalloEntrada::IdentificadorNoReconocido, 0},
        {"NUL en un campo", std::string("3\r\n1,\0 2,3", 10), 0, FalloEntrada::General, 0},
        {"línea de 50 MB", "3\r\n" + std::string(50u << 20, '7') + ",1,2", 0, FalloEntrada::General, 0},
        {"primera línea de 50 MB, citada en parte", std::string(50u << 20, 'x'), 0,
         FalloEntrada::IdentificadorNoReconocido, 0},
    };
    for (const Caso& c : casos) {
        const auto r = LeeFicheroEntrada(c.contenido);
        if (c.formato) {
            ASSERT_TRUE(std::holds_alternative<FicheroEntrada>(r)) << c.nombre;
            const auto& f = std::get<FicheroEntrada>(r);
            EXPECT_EQ(f.formato, c.formato) << c.nombre;
            EXPECT_EQ(f.puntos.c3.size(), c.puntos) << c.nombre;
        } else {
            ASSERT_TRUE(std::holds_alternative<FalloEntrada>(r)) << c.nombre;
            EXPECT_EQ(std::get<FalloEntrada>(r).tipo, c.tipo) << c.nombre;
            EXPECT_LT(std::get<FalloEntrada>(r).mensaje.size(), 300u) << c.nombre;
        }
    }
    // a Spanish spreadsheet's CSV reads as the same points written with "." and ","
    const auto csv = std::get<FicheroEntrada>(LeeFicheroEntrada("1\r\n440263,927;4475248,878;667,5\r\n -1 ; 2,25e1 ;3"));
    EXPECT_EQ(csv.puntos.c1, (Columna{440263.927, -1}));
    EXPECT_EQ(csv.puntos.c2, (Columna{4475248.878, 22.5}));
    EXPECT_EQ(csv.puntos.c3, (Columna{667.5, 3}));
    // a long identifier is quoted up to 200 characters, whole: 199 letters and a euro sign
    EXPECT_EQ(std::get<FalloEntrada>(LeeFicheroEntrada(std::string(199, 'a') + "\xe2\x82\xac" "b\r\n1,2,3")).mensaje,
              " El indicador de tipo de datos " + std::string(199, 'a') + "\xe2\x82\xac... no es reconocido ");
    // a refused value is quoted with its control characters, DEL too, as "?"
    EXPECT_EQ(std::get<FalloEntrada>(LeeFicheroEntrada("3\r\n1\x7f~\t,1,2")).rechazo->texto, "1?~?");
    // a number too large for its box is a number: its place is named, not a non-numeric value
    EXPECT_EQ(MensajeFicheroEntrada(std::get<FalloEntrada>(LeeFicheroEntrada("3\r\n40,-3,0\r\n40,1e305,0"))),
              MensajeErrorAbrir + "\r\n L\u00ednea 3, campo 2: valor fuera de rango.");
}

// The same points and lines whatever pieces the bytes arrive in.
TEST(LectorEntrada, CualquierTrozoDaLosMismosPuntos) {
    const std::vector<std::vector<std::string>> casos{
        {"3\r", "\n40,-3,0\r", "\n41,-3,0"}, // CR LF split between two pieces: one line end
        {"3", "\r\n4", "0,-3,0\r\n41", ",-3,0\r\n"},
    };
    for (const auto& trozos : casos) {
        LectorEntrada lector;
        for (const std::string& t : trozos) lector.Lee(t);
        lector.Termina();
        EXPECT_EQ(lector.TotalRechazos(), 0) << trozos[1];
        const LectorEntrada::Puntos p = lector.TomaPuntos();
        EXPECT_EQ(p.lineas, (std::vector<std::int64_t>{2, 3})) << trozos[1];
        EXPECT_EQ(p.valores.c1, (Columna{40, 41})) << trozos[1];
    }
}

} // namespace
