#include "lote/argumentos.h"
#include "lote/conversion.h"
#include "lote_prueba.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <filesystem>
#include <regex>

#include <clocale>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <thread>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

TEST_F(Lote, CadaFormatoComoLaVentana) {
    for (const char* n : {"1", "2", "3", "4", "5", "6", "3-lf"}) {
        const std::string destino = Ruta(std::string("s") + n);
        ASSERT_EQ(Ejecuta({RutaDatos(std::string("entrada-") + n + ".txt"), destino}), 0) << errores_.str();
        EXPECT_EQ(LeeFichero(destino), LeeFichero(RutaDatos(std::string("salida-") + n + ".txt"))) << n;
    }
    // each value is first rounded as its box shows it: a fourth decimal changes nothing
    const std::string entrada = std::regex_replace(LeeFichero(RutaDatos("entrada-1.txt")), std::regex("\\.\\d{3}\\b"), "$&4");
    ASSERT_NE(entrada.find(".9174,"), std::string::npos);
    ASSERT_EQ(Ejecuta({"-"}, entrada), 0) << errores_.str();
    EXPECT_EQ(salida_.str(), LeeFichero(RutaDatos("salida-1.txt")));
    EXPECT_EQ(Entradas(), 7u);
}

TEST_F(Lote, EstadosDeSalidaYFicheroAnteriorIntacto) {
    EscribeFichero(Ruta("previo"), "contenido anterior");
    EscribeFichero(Ruta("malo"), "3\r\n40,-3,0\r\n40,-3\r\n");
    EscribeFichero(Ruta("polo"), "4\r\n0,0,6356911");
    EscribeFichero(Ruta("id"), "9\r\n1,2,3");
    EscribeFichero(Ruta("enorme"), "1\r\n1,1,1\r\n1e308,1e308,1e308");
    struct Caso {
        const char* nombre;
        std::vector<std::string> args;
        std::string errores; // the whole of standard error
    } casos[] = {
        {"no existe", {Ruta("nada"), Ruta("previo")}, "orvalo-lote: " + Ruta("nada") + ": no existe\n"},
        {"es una carpeta", {carpeta_.string(), Ruta("previo")}, "orvalo-lote: " + carpeta_.string() + ": es una carpeta\n"},
        {"línea de dos valores", {Ruta("malo"), Ruta("previo")}, "orvalo-lote: " + Ruta("malo") + ":3: se esperaban tres "
         "valores y hay 2 campos\norvalo-lote: \xc2\xa1Se ha producido un error al abrir el archivo!\norvalo-lote: Es posible, "
         "entre otros, que el fichero contenga alg\xc3\xban dato no num\xc3\xa9rico\n"},
        // rounded as a box shows it, 1e308 does not fit its column: refused, never an abort
        {"valor enorme", {Ruta("enorme"), Ruta("previo")}, "orvalo-lote: " + Ruta("enorme") + ":3: valor fuera de rango\n"
         "orvalo-lote: \xc2\xa1Se ha producido un error al abrir el archivo!\norvalo-lote: Es posible, entre otros, que el "
         "fichero contenga alg\xc3\xban dato no num\xc3\xa9rico\n"},
        {"identificador", {Ruta("id"), Ruta("previo")}, "orvalo-lote: " + Ruta("id") + ":1: El indicador de tipo de datos 9 no "
         "es reconocido\n"},
        {"eje polar", {Ruta("polo"), Ruta("previo")}, "orvalo-lote: " + Ruta("polo") + ":2: error aritm\xc3\xa9tico: punto sobre "
         "el eje polar: divisi\xc3\xb3n por cero\norvalo-lote: \xc2\xa1" "Error aritm\xc3\xa9tico en la transformaci\xc3\xb3n!\n"
         "orvalo-lote: punto sobre el eje polar: divisi\xc3\xb3n por cero. No se ha modificado ning\xc3\xban dato.\n"},
        {"carpeta de salida inexistente", {RutaDatos("entrada-1.txt"), Ruta("no/hay")}, "orvalo-lote: " + Ruta("no/hay") +
         ": no existe\n"},
        {"la salida es una carpeta", {RutaDatos("entrada-1.txt"), carpeta_.string()}, "orvalo-lote: " + carpeta_.string() +
         ": es una carpeta\n"},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(Ejecuta(c.args), 1) << c.nombre;
        EXPECT_EQ(errores_.str(), c.errores) << c.nombre;
        EXPECT_EQ(salida_.str(), "") << c.nombre;
        EXPECT_EQ(LeeFichero(Ruta("previo")), "contenido anterior") << c.nombre;
    }
    EXPECT_EQ(Entradas(), 5u); // no temporary file left behind
    // without the grids --rejilla names the missing file and writes nothing
    ::setenv("ORVALO_REJILLAS", carpeta_.c_str(), 1);
    EXPECT_EQ(Ejecuta({"--rejilla", RutaDatos("entrada-3.txt"), Ruta("previo")}), 1);
    ::unsetenv("ORVALO_REJILLAS");
    EXPECT_EQ(errores_.str(), "orvalo-lote: no se encuentra es_ign_SPED2ETV2.tif (rejilla oficial del IGN)\n");
    EXPECT_EQ(LeeFichero(Ruta("previo")), "contenido anterior");
    EXPECT_EQ(Ejecuta({"--version"}), 0);
    EXPECT_EQ(salida_.str().rfind("orvalo-lote 1.", 0), 0u) << salida_.str();
    EXPECT_EQ(Ejecuta({"--help"}), 0);
    EXPECT_EQ(salida_.str(), UsoLote);
    for (const char* opcion : {"--rejilla", "--nombres", "--kml", "--geojson", "--lf", "--version", "--help", "--  "})
        EXPECT_NE(UsoLote.find(opcion), std::string::npos) << opcion; // the usage names every option
}

// A usage error is one line and the hint, exit 2, before anything is opened or written.
TEST_F(Lote, ErroresDeUso) {
    const std::string e = Ruta("e.txt"), s = Ruta("s.txt");
    EscribeFichero(e, "1\r\n1,2,3");
    EscribeFichero(s, "anterior");
    fs::create_symlink(e, Ruta("enlace"));
    fs::create_hard_link(s, Ruta("duro"));
    fs::create_directory(Ruta("sub"));
    fs::create_symlink("n.kml", Ruta("colgante"));
    struct Caso {
        const char* nombre;
        std::vector<std::string> args;
        std::string error;
    } casos[] = {
        {"sin argumentos", {}, "falta ENTRADA"},
        {"tres rutas", {"a", "b", "c"}, "sobra el argumento \xc2\xab" "c\xc2\xbb"},
        {"opción desconocida", {"--rapido", e}, "opci\xc3\xb3n desconocida: --rapido"},
        {"opción tras la entrada", {e, "--rapido=1"}, "opci\xc3\xb3n desconocida: --rapido=1"},
        {"opción corta desconocida", {"-x", e}, "opci\xc3\xb3n desconocida: -x"},
        {"--rejilla con valor", {"--rejilla=1", e}, "--rejilla no admite un valor"},
        {"--lf con valor vacío", {e, "--lf="}, "--lf no admite un valor"},
        {"--kml sin fichero", {e, "--kml"}, "--kml necesita un fichero"},
        {"--kml repetida", {"--kml=" + Ruta("a.kml"), "--kml", Ruta("b.kml"), e}, "opci\xc3\xb3n repetida: --kml"},
        {"--rejilla repetida", {"--rejilla", e, "--rejilla"}, "opci\xc3\xb3n repetida: --rejilla"},
        {"--geojson vacía", {"--geojson=", e}, "--geojson: la ruta est\xc3\xa1 vac\xc3\xad" "a"},
        {"SALIDA vacía", {e, ""}, "SALIDA: la ruta est\xc3\xa1 vac\xc3\xad" "a"},
        {"ENTRADA vacía", {""}, "ENTRADA: la ruta est\xc3\xa1 vac\xc3\xad" "a"},
        {"SALIDA y mapa en -", {"--kml", "-", e}, "SALIDA y --kml no pueden ir las dos a la salida est\xc3\xa1ndar"},
        {"dos mapas en -", {"--kml=-", "--geojson=-", e, s}, "--kml y --geojson no pueden ir las dos a la salida est\xc3\xa1ndar"},
        {"mapa sobre SALIDA", {"--kml", s, e, s}, "SALIDA \xc2\xab" + s + "\xc2\xbb y --kml \xc2\xab" + s + "\xc2\xbb son el mismo fichero"},
        {"mapa sobre ENTRADA", {e, s, "--geojson", e}, "ENTRADA \xc2\xab" + e + "\xc2\xbb y --geojson \xc2\xab" + e +
         "\xc2\xbb son el mismo fichero"},
        {"SALIDA enlace a ENTRADA", {e, Ruta("enlace")}, "ENTRADA \xc2\xab" + e + "\xc2\xbb y SALIDA \xc2\xab" + Ruta("enlace") +
         "\xc2\xbb son el mismo fichero"},
        {"enlace duro", {e, s, "--kml", Ruta("duro")}, "SALIDA \xc2\xab" + s + "\xc2\xbb y --kml \xc2\xab" + Ruta("duro") +
         "\xc2\xbb son el mismo fichero"},
        {"enlace colgante al mapa", {e, Ruta("colgante"), "--kml", Ruta("n.kml")}, "SALIDA \xc2\xab" + Ruta("colgante") +
         "\xc2\xbb y --kml \xc2\xab" + Ruta("n.kml") + "\xc2\xbb son el mismo fichero"},
        {"fichero nuevo por dos caminos", {e, Ruta("n.kml"), "--kml", Ruta("sub/../n.kml")}, "SALIDA \xc2\xab" + Ruta("n.kml") +
         "\xc2\xbb y --kml \xc2\xab" + Ruta("sub/../n.kml") + "\xc2\xbb son el mismo fichero"},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(Ejecuta(c.args), 2) << c.nombre;
        EXPECT_EQ(errores_.str(), "orvalo-lote: " + c.error + "\norvalo-lote: Pruebe \xc2\xab" "orvalo-lote --help\xc2\xbb\n")
            << c.nombre;
        EXPECT_EQ(salida_.str(), "") << c.nombre;
        EXPECT_EQ(LeeFichero(s), "anterior") << c.nombre;
        EXPECT_EQ(LeeFichero(e), "1\r\n1,2,3") << c.nombre;
    }
    EXPECT_EQ(Entradas(), 6u);
}

// getopt_long's forms: --opt=VALOR, "--" before a path that starts with "-", and --lf.
TEST_F(Lote, FormasDeLasOpcionesYFinalesLf) {
    const std::string crlf = LeeFichero(RutaDatos("salida-3.txt"));
    std::string lf;
    for (char c : crlf)
        if (c != '\r') lf += c;
    lf += '\n';
    const fs::path antes = fs::current_path();
    fs::current_path(carpeta_);
    fs::copy_file(RutaDatos("entrada-3.txt"), "-e.txt");
    EXPECT_EQ(Ejecuta({"--lf", "--kml=m.kml", "--", "-e.txt", "-s.txt"}), 0) << errores_.str();
    fs::current_path(antes);
    EXPECT_EQ(LeeFichero(Ruta("-s.txt")), lf);
    EXPECT_NE(LeeFichero(Ruta("m.kml")).find("<name>-e.txt</name>"), std::string::npos);
    EXPECT_EQ(Ejecuta({RutaDatos("entrada-3.txt")}), 0); // by default as the window writes it
    EXPECT_EQ(salida_.str(), crlf);
    ASSERT_EQ(Ejecuta({"--geojson=-", RutaDatos("entrada-3.txt"), Ruta("s2.txt")}), 0); // the map on standard output
    EXPECT_EQ(salida_.str().rfind("{\"type\":\"FeatureCollection\"", 0), 0u);
    EXPECT_EQ(LeeFichero(Ruta("s2.txt")), crlf);
    EXPECT_EQ(Ejecuta({"--lf", "-"}, "3"), 0); // no points, no lines
    EXPECT_EQ(salida_.str(), "");
}

// The outputs are committed only after the whole conversion; when one cannot be, the message
// says which were written and which not.
TEST_F(Lote, UnaSalidaQueNoSeConfirma) {
    ASSERT_EQ(::mkfifo(Ruta("tubo").c_str(), 0600), 0);
    std::string leido;
    std::thread lector([&] {
        std::ifstream f(Ruta("tubo"), std::ios::binary);
        leido.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    });
    ::usleep(50000);
    std::istringstream entrada(LeeFichero(RutaDatos("entrada-3.txt")));
    std::ostringstream rota, errores;
    rota.setstate(std::ios::badbit); // standard output that takes nothing
    EXPECT_EQ(EjecutaLote({"-", Ruta("tubo"), "--geojson", "-"}, entrada, rota, errores), 1);
    lector.join();
    EXPECT_EQ(leido, LeeFichero(RutaDatos("salida-3.txt")));
    EXPECT_EQ(errores.str(), "orvalo-lote: salida est\xc3\xa1ndar: no se puede escribir\norvalo-lote: se ha escrito " +
                                 Ruta("tubo") + "; no se ha escrito salida est\xc3\xa1ndar\n");
    // alone, it writes nothing
    std::istringstream otra(LeeFichero(RutaDatos("entrada-3.txt")));
    errores.str("");
    EXPECT_EQ(EjecutaLote({"-", Ruta("s.txt"), "--kml", "-"}, otra, rota, errores), 1);
    EXPECT_EQ(errores.str(), "orvalo-lote: salida est\xc3\xa1ndar: no se puede escribir\n");
    EXPECT_FALSE(fs::exists(Ruta("s.txt")));
}

// Each refused line on its own diagnostic, in line order; nothing written.
// Zones and formats: the default list is the output as always; a list reorders whole formats;
// a UTM file is read only in a zone that the file or the user stated.
TEST_F(Lote, HusosYFormatos) {
    const std::string entrada = RutaDatos("entrada-3.txt");
    ASSERT_EQ(Ejecuta({entrada}), 0);
    const std::string clasica = salida_.str();
    ASSERT_EQ(Ejecuta({"--formatos", "1,2,3,4,5,6", "--huso", "30", "--huso-ed50", "31", entrada}), 0);
    EXPECT_EQ(salida_.str(), clasica);
    ASSERT_EQ(Ejecuta({"--formatos", "5,3", entrada}), 0);
    const std::string primera = clasica.substr(0, clasica.find("\r\n"));
    auto formato = [&](int f) {
        std::size_t inicio = 0;
        for (int k = 1; k < f; ++k) inicio = primera.find(';', inicio) + 1;
        return primera.substr(inicio, primera.find(';', inicio) - inicio);
    };
    EXPECT_EQ(salida_.str().substr(0, salida_.str().find("\r\n")), formato(5) + ";" + formato(3));

    EscribeFichero(Ruta("siete"), "7\r\n440000,4475000,100");
    EscribeFichero(Ruta("siete29"), "7;29\r\n949234,4488282,100"); // Madrid
    EscribeFichero(Ruta("dos29"), "2;29\r\n548000,4802000,100");
    struct Caso {
        const char* nombre;
        std::vector<std::string> args;
        int estado;
        std::string errores; // what standard error starts with
    } casos[] = {
        {"formato 7 sin huso", {Ruta("siete")}, 1,
         "orvalo-lote: " + Ruta("siete") + ":1: el fichero no indica el huso de su formato 7: escriba 7;29, 7;30 o 7;31 en su primera "
                         "l\xc3\xadnea, o indique el huso\n"},
        {"formato 7, huso del usuario", {"--huso", "30", "--formatos", "7", Ruta("siete")}, 0, ""},
        {"formato 7 contra el usuario", {"--huso", "30", Ruta("siete29")}, 1,
         "orvalo-lote: " + Ruta("siete29") + ":1: el fichero est\xc3\xa1 en el huso 29 y se ha pedido el huso 30\n"},
        {"formato 7 fuera de su huso", {"--formatos", "7", Ruta("siete29")}, 0,
         "orvalo-lote: " + Ruta("siete29") + ":2: aviso: El punto 1 queda a 2,"},
        {"ED50 en el 29", {"--formatos", "2", Ruta("dos29")}, 0, ""},
        {"ED50 contra el usuario", {"--huso-ed50", "31", Ruta("dos29")}, 1,
         "orvalo-lote: " + Ruta("dos29") + ":1: el fichero est\xc3\xa1 en el huso 29 y se ha pedido el huso 31\n"},
        {"huso que no hay", {"--huso", "32", entrada}, 2, "orvalo-lote: --huso admite 29, 30 o 31, no \xc2\xab" "32\xc2\xbb\norvalo-lote: Pruebe"},
        {"formatos sin lista", {entrada, "--formatos"}, 2, "orvalo-lote: --formatos necesita un valor\norvalo-lote: Pruebe"},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(Ejecuta(c.args), c.estado) << c.nombre;
        EXPECT_EQ(errores_.str().substr(0, c.errores.size()), c.errores) << c.nombre;
        if (c.errores.empty()) { EXPECT_EQ(errores_.str(), "") << c.nombre; }
    }
    // the file's zone is the zone of its points: entered in ED50 zone 29, shown in zone 29
    ASSERT_EQ(Ejecuta({"--formatos", "2", Ruta("dos29")}), 0);
    EXPECT_EQ(salida_.str(), "  548000.000, 4802000.000,   100.000");
    for (const char* opcion : {"--huso-ed50", "--huso", "--formatos"}) EXPECT_NE(UsoLote.find(opcion), std::string::npos);
}

TEST_F(Lote, DiagnosticosPorLinea) {
    EscribeFichero(Ruta("mapa.kml"), "anterior");
    const std::vector<std::string> nombres{"--rejilla", "--nombres", "--kml", Ruta("mapa.kml"), "-"};
    struct Caso {
        const char* nombre;
        std::string entrada;
        std::vector<std::string> lineas; // of standard error, before the closing message
        std::vector<std::string> args = {"-"};
    } casos[] = {
        {"no numérico y vacío", "3\r\n40,-3,0\r\n40,x1,0\r\n40,,0",
         {"-:3: campo 2: \xc2\xab" "x1\xc2\xbb no es un n\xc3\xbamero", "-:4: campo 2 vac\xc3\xado"}},
        {"comas decimales", "1\r\n440263,927,4475248,878,667,500", {"-:2: se esperaban tres valores y hay 6 campos; "
         "\xc2\xbf" "comas decimales? Separe los valores con \xc2\xab;\xc2\xbb"}},
        {"dos valores y una línea en blanco", "3\r\n40,-3\r\n \r\n40,-3,0", {"-:2: se esperaban tres valores y hay 2 campos",
         "-:3: l\xc3\xadnea en blanco"}},
        {"punto en una línea de punto y coma", "3\r\n40.5;-3;0", {"-:2: campo 1: \xc2\xab" "40.5\xc2\xbb no es un n\xc3\xbamero"}},
        {"primera línea con ESC y BEL", "9\x1b[31m\x07\r\n1,2,3", {"-:1: El indicador de tipo de datos 9?[31m? no es reconocido"}},
        {"campo con ESC", "3\r\n40,\x1b[2J\x07,0", {"-:2: campo 2: \xc2\xab?[2J?\xc2\xbb no es un n\xc3\xbamero"}},
        {"texto en Latin-1, citado en UTF-8", "3\r\na\xf1o,1,2", {"-:2: campo 1: \xc2\xab" "a\xc3\xb1o\xc2\xbb no es un n\xc3\xbamero"}},
        {"texto citado hasta 40 caracteres", "3\r\n" + std::string(50, 'a') + ",1,2",
         {"-:2: campo 1: \xc2\xab" + std::string(40, 'a') + "...\xc2\xbb no es un n\xc3\xbamero"}},
        {"línea en blanco entre LF y CR", "3\n\r40.3,-3.3,100\n", {"-:2: l\xc3\xadnea en blanco"}},
        {"línea de más de 1 MiB", "3\r\n1,2,3\r\n" + std::string(MaximoLineaLote + 1, '7'),
         {"-:3: l\xc3\xadnea de m\xc3\xa1s de 1048576 bytes"}},
        {"fallo aritmético de la tercera línea", "4\r\n1e6,2e6,3e6\r\n1e6,2e6,3e6\r\n0,0,6356911",
         {"-:4: error aritm\xc3\xa9tico: punto sobre el eje polar: divisi\xc3\xb3n por cero"}},
        // with names each line is one point, a name and three values, or three values
        {"nombre de 65 caracteres", "3\r\n" + std::string(65, 'n') + ",40,-3,0", {"-:2: el nombre \xc2\xab" + std::string(40, 'n') +
         "...\xc2\xbb tiene m\xc3\xa1s de 64 caracteres"}, nombres},
        {"un nombre y dos valores", "3\r\nA,40,-3", {"-:2: campo 1: \xc2\xab" "A\xc2\xbb no es un n\xc3\xbamero"}, nombres},
        {"cinco campos", "3\r\n40,-3,0\r\nA,40,-3,0,1",
         {"-:3: se esperaban tres valores, con un nombre delante o sin \xc3\xa9l, y hay 5 campos; \xc2\xbf" "comas decimales? "
          "Separe los valores con \xc2\xab;\xc2\xbb"}, nombres},
        {"nombre con ESC", "3\r\nA\x1b[31m,40,-3,0", {"-:2: el nombre \xc2\xab" "A?[31m\xc2\xbb lleva un car\xc3\xa1" "cter de "
         "control o uno que XML no admite"}, nombres},
        {"nombre con U+FFFE", "3\r\nA\xef\xbf\xbe,40,-3,0", {"-:2: el nombre \xc2\xab" "A\xef\xbf\xbe\xc2\xbb lleva un "
         "car\xc3\xa1" "cter de control o uno que XML no admite"}, nombres},
        {"un punto y coma parte la línea", "3\r\nA;B,40,-3,0", {"-:2: se esperaban tres valores, con un nombre delante o sin "
         "\xc3\xa9l, y hay 2 campos"}, nombres},
        {"fuera de la rejilla", "3\r\nA,28.06,-15.25,0", {"-:2: fuera de la rejilla oficial del IGN (latitud 35,5\xc2\xb0 a 44\xc2\xb0 N, longitud 9,5\xc2\xb0 O a "
         "4,5\xc2\xb0 E)"}, nombres},
        {"sin --nombres un nombre es un campo de más", "3\r\nA,40,-3,0", {"-:2: se esperaban tres valores y hay 4 campos"}},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(Ejecuta(c.args, c.entrada), 1) << c.nombre;
        EXPECT_EQ(salida_.str(), "") << c.nombre;
        std::string esperado;
        for (const std::string& l : c.lineas) esperado += "orvalo-lote: " + l + "\n";
        EXPECT_EQ(errores_.str().substr(0, esperado.size()), esperado) << c.nombre;
    }
    EXPECT_EQ(LeeFichero(Ruta("mapa.kml")), "anterior"); // maps too are all or nothing
    EXPECT_EQ(Ejecuta({"--nombres", "-"}, "3\r\n" + std::string(64, 'n') + ",40,-3,0"), 0); // 64 are a name
    EXPECT_EQ(Ejecuta({"--kml"}), 2);
    // the closing message describes the first arithmetic fault: of its block, and of the blocks
    std::string dos = "1\r\n500000,12000000,0\r\n500000,-2.03e16,0";
    for (int i = 0; i < 4094; ++i) dos += "\r\n440000,4474000,100";
    dos += "\r\n500000,-2.03e16,0"; // point 4097, the second block
    EXPECT_EQ(Ejecuta({"-"}, dos), 1);
    EXPECT_TRUE(errores_.str().ends_with("lejos del meridiano central. No se ha modificado ning\xc3\xban dato.\n")) << errores_.str();
}

TEST_F(Lote, CienMilPuntosConDosLineasMalas) {
    std::string entrada = "1";
    for (int linea = 2; linea <= 100001; ++linea)
        entrada += linea == 5 ? "\r\n440000,4474000,1O0" : linea == 70001 ? "\r\n440000,,100" : "\r\n440000,4474000,100";
    EscribeFichero(Ruta("previo"), "anterior");
    EXPECT_EQ(Ejecuta({"-", Ruta("previo")}, entrada), 1);
    EXPECT_EQ(errores_.str().substr(0, errores_.str().find("orvalo-lote: \xc2\xa1")),
              "orvalo-lote: -:5: campo 3: \xc2\xab" "1O0\xc2\xbb no es un n\xc3\xbamero\norvalo-lote: -:70001: campo 2 vac\xc3\xado\n");
    EXPECT_EQ(LeeFichero(Ruta("previo")), "anterior");
    // mended, all are written: no 16-bit limit on the number of points
    entrada.replace(entrada.find("1O0"), 3, "100");
    entrada.replace(entrada.find(",,"), 2, ",4474000,");
    ASSERT_EQ(Ejecuta({"-"}, entrada), 0) << errores_.str();
    EXPECT_EQ(salida_.str().size(), 100000u * 227 - 2);
    // more than twenty, refused values and arithmetic faults: the rest counted
    std::string malas = "1";
    for (int i = 0; i < 25; ++i) malas += i % 2 ? "\r\n500000,12000000,0" : "\r\nx,1,2";
    EXPECT_EQ(Ejecuta({"-"}, malas), 1);
    EXPECT_NE(errores_.str().find("-:21: error aritm"), std::string::npos);
    EXPECT_EQ(errores_.str().find("-:22: campo 1"), std::string::npos);
    EXPECT_NE(errores_.str().find("-: y 5 l\xc3\xadneas m\xc3\xa1s con errores\n"), std::string::npos);
}

// Line ends CR LF, LF and a lone CR read alike; a Spanish spreadsheet's CSV gives what the
// same points written with "." give.
TEST_F(Lote, FinalesDeLineaYCsvConPuntoYComa) {
    const std::string esperado = LeeFichero(RutaDatos("salida-3-lf.txt"));
    std::string lf = LeeFichero(RutaDatos("entrada-3-lf.txt"));
    std::string cr = lf;
    std::replace(cr.begin(), cr.end(), '\n', '\r');
    std::string csv = lf;
    std::replace(csv.begin(), csv.end(), ',', ';');
    std::replace(csv.begin(), csv.end(), '.', ',');
    for (const std::string& e : {lf, cr, csv}) {
        ASSERT_EQ(Ejecuta({"-", "-"}, e), 0) << errores_.str();
        EXPECT_EQ(salida_.str(), esperado);
    }
}

// Permissions of a new output file follow the umask; an old one keeps its mode.
TEST_F(Lote, PermisosDeLaSalida) {
    EscribeFichero(Ruta("vieja"), "");
    ::chmod(Ruta("vieja").c_str(), 0604);
    struct Caso {
        const char* nombre;
        mode_t umask, modo;
    } casos[] = {{"nueva", 022, 0644}, {"vieja", 022, 0604}, {"privada", 077, 0600}};
    const mode_t antes = ::umask(022);
    for (const Caso& c : casos) {
        ::umask(c.umask);
        ASSERT_EQ(Ejecuta({RutaDatos("entrada-1.txt"), Ruta(c.nombre)}), 0) << c.nombre;
        struct stat st {};
        ::stat(Ruta(c.nombre).c_str(), &st);
        EXPECT_EQ(st.st_mode & 07777, c.modo) << c.nombre;
    }
    ::umask(antes);
}

// A read that fails part-way is an error, never a short output.
TEST_F(Lote, EntradaQueFallaAMitad) {
    struct Falla : std::streambuf {
        std::string datos = "3\r\n40,-3,0\r\n41,-3,0\r\n";
        bool dado = false;
        int_type underflow() override {
            if (dado) throw std::ios_base::failure("conexi\xc3\xb3n reiniciada");
            dado = true;
            setg(datos.data(), datos.data(), datos.data() + datos.size());
            return traits_type::to_int_type(datos[0]);
        }
    } bufer;
    std::istream entrada(&bufer);
    salida_.str("");
    errores_.str("");
    EscribeFichero(Ruta("previo"), "anterior");
    EXPECT_EQ(EjecutaLote({"-", Ruta("previo")}, entrada, salida_, errores_), 1);
    EXPECT_NE(errores_.str().find("-: error de lectura"), std::string::npos) << errores_.str();
    EXPECT_EQ(LeeFichero(Ruta("previo")), "anterior");
}

} // namespace

namespace {

// orvalo-lote as a process, its standard streams given as descriptors (-1: closed).
class LoteProceso : public Lote {
protected:
    // `enElHijo` runs in the child before the program starts (limits, standard error).
    pid_t Lanza(const std::vector<std::string>& args, int entrada, int salida, const std::string& tmpdir = "",
                const std::function<void()>& enElHijo = {}) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            if (!tmpdir.empty()) ::setenv("TMPDIR", tmpdir.c_str(), 1);
            if (enElHijo) enElHijo();
            for (int fd : {0, 1}) {
                const int desde = fd == 0 ? entrada : salida;
                if (desde < 0) ::close(fd);
                else ::dup2(desde, fd);
            }
            std::vector<char*> argv{const_cast<char*>(ORVALO_LOTE)};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(ORVALO_LOTE, argv.data());
            ::_exit(127);
        }
        return pid;
    }
    static int Espera(pid_t pid) {
        int estado = 0;
        ::waitpid(pid, &estado, 0);
        return WIFEXITED(estado) ? WEXITSTATUS(estado) : 128 + WTERMSIG(estado);
    }
    std::vector<std::string> Temporales(const fs::path& donde) const {
        std::vector<std::string> r;
        for (const auto& e : fs::directory_iterator(donde))
            if (e.path().filename().string().rfind(".orvalo", 0) == 0) r.push_back(e.path().string());
        return r;
    }
    static std::string LeeTodo(int fd) {
        std::string r;
        char b[4096];
        for (ssize_t n; (n = ::read(fd, b, sizeof b)) > 0;) r.append(b, static_cast<std::size_t>(n));
        ::close(fd);
        return r;
    }
    std::string MuchosPuntos(int n) {
        std::string t = "3";
        for (int i = 0; i < n; ++i) t += "\r\n40.3,-3.3,100";
        const std::string ruta = Ruta("grande.txt");
        EscribeFichero(ruta, t);
        return ruta;
    }
};

TEST_F(LoteProceso, UnaSenalNoDejaTemporales) {
    const std::string grande = MuchosPuntos(1000000);
    for (int senal : {SIGINT, SIGTERM, SIGHUP, SIGUSR1, SIGALRM}) {
        const pid_t pid = Lanza({grande, Ruta("salida.txt")}, 0, 1);
        for (int i = 0; i < 500 && Temporales(carpeta_).empty(); ++i) ::usleep(10000);
        ASSERT_EQ(Temporales(carpeta_).size(), 1u) << senal;
        ::kill(pid, senal);
        EXPECT_EQ(Espera(pid), 128 + senal);
        EXPECT_TRUE(Temporales(carpeta_).empty()) << senal;
        EXPECT_FALSE(fs::exists(Ruta("salida.txt"))) << senal;
    }
    // a reader that goes away: a failed write (SIGPIPE is ignored), and nothing left in TMPDIR
    fs::create_directory(Ruta("tmp"));
    int tubo[2];
    ASSERT_EQ(::pipe(tubo), 0);
    ::close(tubo[0]);
    const pid_t pid = Lanza({MuchosPuntos(10000), "-"}, 0, tubo[1], Ruta("tmp"));
    ::close(tubo[1]);
    EXPECT_EQ(Espera(pid), 1);
    EXPECT_TRUE(fs::is_empty(Ruta("tmp")));
}

TEST_F(LoteProceso, FlujosEstandarCerradosYTuberias) {
    const int entrada = ::open(RutaDatos("entrada-3.txt").c_str(), O_RDONLY);
    // a closed standard output would be taken by the output file
    EXPECT_EQ(Espera(Lanza({"-", Ruta("s.txt")}, entrada, -1)), 2);
    EXPECT_FALSE(fs::exists(Ruta("s.txt")));
    ::close(entrada);
    // FIFOs as ENTRADA and SALIDA: read once as a stream, written in place
    ASSERT_EQ(::mkfifo(Ruta("entra").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(Ruta("sale").c_str(), 0600), 0);
    std::string leido;
    std::thread lector([&] {
        std::ifstream f(Ruta("sale"), std::ios::binary);
        leido.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    });
    std::thread escritor([&] { std::ofstream(Ruta("entra"), std::ios::binary) << LeeFichero(RutaDatos("entrada-3.txt")); });
    ::usleep(50000);
    EXPECT_EQ(Espera(Lanza({Ruta("entra"), Ruta("sale")}, 0, 1)), 0);
    escritor.join();
    lector.join();
    EXPECT_EQ(leido, LeeFichero(RutaDatos("salida-3.txt")));
    struct stat st {};
    ::lstat(Ruta("sale").c_str(), &st);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

// A file-size limit fails the write like a full disk: a message naming the file, the old file
// intact, no temporary file left (SIGXFSZ is ignored).
TEST_F(LoteProceso, LimiteDeTamanoDeFichero) {
    const std::string grande = MuchosPuntos(20000), previo = Ruta("previo");
    EscribeFichero(previo, "anterior");
    const std::string errores = Ruta("errores");
    const pid_t pid = Lanza({grande, previo}, 0, 1, "", [&] {
        const rlimit limite{1 << 20, 1 << 20}; // the output is 4.5 MB
        ::setrlimit(RLIMIT_FSIZE, &limite);
        ::dup2(::open(errores.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
    });
    EXPECT_EQ(Espera(pid), 1);
    EXPECT_EQ(LeeFichero(errores), "orvalo-lote: " + previo + ": el fichero supera el tama\xc3\xb1o permitido\n");
    EXPECT_EQ(LeeFichero(previo), "anterior");
    EXPECT_TRUE(Temporales(carpeta_).empty());
}

// /dev/stdout and /dev/fd/N are what the kernel resolves them to: here pipes of the test's own,
// one as standard output, one inherited as a process substitution hands it.
TEST_F(LoteProceso, DevStdoutYDevFd) {
    int salida[2], mapa[2];
    ASSERT_EQ(::pipe(salida), 0);
    ASSERT_EQ(::pipe(mapa), 0);
    const pid_t pid = Lanza({RutaDatos("entrada-3.txt"), "/dev/stdout", "--kml=/dev/fd/" + std::to_string(mapa[1])}, 0, salida[1]);
    ::close(salida[1]);
    ::close(mapa[1]);
    std::string kml;
    std::thread lector([&] { kml = LeeTodo(mapa[0]); });
    EXPECT_EQ(LeeTodo(salida[0]), LeeFichero(RutaDatos("salida-3.txt")));
    lector.join();
    EXPECT_EQ(Espera(pid), 0);
    EXPECT_NE(kml.find("</kml>"), std::string::npos);
}

// A system error outside the program's own words comes from strerror in the user's language:
// standard output opened for reading fails its write with EBADF.
TEST_F(LoteProceso, ErrorDelSistemaEnElIdiomaDelUsuario) {
    const bool espanol = std::setlocale(LC_ALL, "es_ES.UTF-8") != nullptr;
    std::setlocale(LC_ALL, "C");
    EscribeFichero(Ruta("solo-lectura"), "");
    const std::string errores = Ruta("errores");
    const int salida = ::open(Ruta("solo-lectura").c_str(), O_RDONLY);
    const pid_t pid = Lanza({RutaDatos("entrada-3.txt")}, 0, salida, "", [&] {
        ::setenv("LC_ALL", "es_ES.UTF-8", 1);
        ::dup2(::open(errores.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
    });
    ::close(salida);
    EXPECT_EQ(Espera(pid), 1);
    const std::string porque = espanol ? "Descriptor de fichero err\xc3\xb3neo" : "Bad file descriptor";
    EXPECT_EQ(LeeFichero(errores), "orvalo-lote: salida est\xc3\xa1ndar: " + porque + "\n");
}

} // namespace
