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

#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Standard error as orvalo-lote writes it: each line after its prefix.
std::string Lineas(const std::vector<std::string>& lineas) {
    std::string r;
    for (const std::string& l : lineas) r += "orvalo-lote: " + l + "\n";
    return r;
}

const std::string NoNumerico = "\xc2\xa1Se ha producido un error al abrir el archivo!\norvalo-lote: Es posible, entre otros, "
                               "que el fichero contenga alg\xc3\xban dato no num\xc3\xa9rico";

// The reference vectors byte for byte, as the window writes them.
TEST_F(Lote, CadaFormatoComoLaVentana) {
    // each value is first rounded as its box shows it: a fourth decimal changes nothing
    const std::string cuarta = std::regex_replace(LeeFichero(RutaDatos("entrada-1.txt")), std::regex("\\.\\d{3}\\b"), "$&4");
    ASSERT_NE(cuarta.find(".9174,"), std::string::npos);
    std::string cr = LeeFichero(RutaDatos("entrada-3-lf.txt")); // lone CR line ends read as LF ones
    std::replace(cr.begin(), cr.end(), '\n', '\r');
    std::vector<std::pair<std::string, std::string>> casos{{cuarta, "1"}, {cr, "3-lf"}};
    for (const char* n : {"1", "2", "3", "4", "5", "6", "3-lf"})
        casos.emplace_back(LeeFichero(RutaDatos(std::string("entrada-") + n + ".txt")), n);
    for (const auto& [entrada, n] : casos) {
        ASSERT_EQ(Ejecuta({"-"}, entrada), 0) << n << errores_.str(); // SALIDA is standard output by default
        EXPECT_EQ(salida_.str(), LeeFichero(RutaDatos("salida-" + n + ".txt"))) << n;
    }
}

TEST_F(Lote, EstadosDeSalidaYFicheroAnteriorIntacto) {
    const std::pair<const char*, const char*> ficheros[] = {{"previo", "contenido anterior"}, {"id", "9\r\n1,2,3"},
        {"polo", "4\r\n1e6,2e6,3e6\r\n1e6,2e6,3e6\r\n0,0,6356911"}, {"enorme", "1\r\n1,1,1\r\n1e308,1e308,1e308"}};
    for (const auto& [nombre, texto] : ficheros) EscribeFichero(Ruta(nombre), texto);
    const std::string carpeta = carpeta_.string(), polo = "punto sobre el eje polar: divisi\xc3\xb3n por cero";
    struct Caso { std::string entrada, salida; std::vector<std::string> errores; } casos[] = { // all of standard error
        {Ruta("nada"), Ruta("previo"), {Ruta("nada") + ": no existe"}},
        {carpeta, Ruta("previo"), {carpeta + ": es una carpeta"}},
        // rounded as a box shows it, 1e308 does not fit its column: refused, never an abort
        {Ruta("enorme"), Ruta("previo"), {Ruta("enorme") + ":3: valor fuera de rango", NoNumerico}},
        {Ruta("id"), Ruta("previo"), {Ruta("id") + ":1: El indicador de tipo de datos 9 no es reconocido"}},
        {Ruta("polo"), Ruta("previo"), {Ruta("polo") + ":4: error aritm\xc3\xa9tico: " + polo, "\xc2\xa1" "Error aritm\xc3\xa9tico "
         "en la transformaci\xc3\xb3n!", polo + ". No se ha modificado ning\xc3\xban dato."}},
        {RutaDatos("entrada-1.txt"), Ruta("no/hay"), {Ruta("no/hay") + ": no existe"}},
        {RutaDatos("entrada-1.txt"), carpeta, {carpeta + ": es una carpeta"}},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(Ejecuta({c.entrada, c.salida}), 1) << c.errores[0];
        EXPECT_EQ(errores_.str(), Lineas(c.errores)) << c.errores[0];
        EXPECT_EQ(salida_.str(), "") << c.errores[0];
        EXPECT_EQ(LeeFichero(Ruta("previo")), "contenido anterior") << c.errores[0];
    }
    EXPECT_EQ(Entradas(), 4u); // no temporary file left behind
    // without the grids --rejilla names the missing file and writes nothing
    ::setenv("ORVALO_REJILLAS", carpeta_.c_str(), 1);
    EXPECT_EQ(Ejecuta({"--rejilla", RutaDatos("entrada-3.txt"), Ruta("previo")}), 1);
    ::unsetenv("ORVALO_REJILLAS");
    EXPECT_EQ(errores_.str(), "orvalo-lote: no se encuentra es_ign_SPED2ETV2.tif (rejilla oficial del IGN)\n");
    EXPECT_EQ(Ejecuta({"--help"}), 0);
    EXPECT_EQ(salida_.str(), UsoLote);
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
    const auto mismo = [](const std::string& a, const std::string& ra, const std::string& b, const std::string& rb)
    { return a + " \xc2\xab" + ra + "\xc2\xbb y " + b + " \xc2\xab" + rb + "\xc2\xbb son el mismo fichero"; };
    const std::string vacia = ": la ruta est\xc3\xa1 vac\xc3\xad" "a", estandar = " no pueden ir las dos a la salida est\xc3\xa1ndar";
    struct Caso { std::vector<std::string> args; std::string error; } casos[] = {
        {{}, "falta ENTRADA"},
        {{"a", "b", "c"}, "sobra el argumento \xc2\xab" "c\xc2\xbb"},
        {{e, "--rapido=1"}, "opci\xc3\xb3n desconocida: --rapido=1"}, // after ENTRADA too
        {{"--rejilla=1", e}, "--rejilla no admite un valor"},
        {{e, "--kml"}, "--kml necesita un fichero"},
        {{e, "--formatos"}, "--formatos necesita un valor"},
        {{"--huso-ed50", "30", e}, "--huso-ed50 admite 31 o 29, no \xc2\xab" "30\xc2\xbb"},
        {{"--huso", "28", e}, "--huso admite 29, 30 o 31, no \xc2\xab" "28\xc2\xbb"},
        {{"--huso", "30.5", e}, "--huso admite 29, 30 o 31, no \xc2\xab" "30.5\xc2\xbb"},
        {{"--huso=", e}, "--huso admite 29, 30 o 31, no \xc2\xab\xc2\xbb"},
        {{"--formatos", "1,8", e}, "--formatos: \xc2\xab" "8\xc2\xbb no es un formato de 1 a 7"},
        {{"--formatos", "1,", e}, "--formatos: \xc2\xab\xc2\xbb no es un formato de 1 a 7"},
        {{"--formatos", "3,1,3", e}, "--formatos: el formato 3 est\xc3\xa1 repetido"},
        {{"--kml=" + Ruta("a.kml"), "--kml", Ruta("b.kml"), e}, "opci\xc3\xb3n repetida: --kml"},
        {{"--geojson=", e}, "--geojson" + vacia},
        {{e, ""}, "SALIDA" + vacia},
        {{""}, "ENTRADA" + vacia},
        {{"--kml", "-", e}, "SALIDA y --kml" + estandar},
        {{"--kml=-", "--geojson=-", e, s}, "--kml y --geojson" + estandar},
        {{"--kml", s, e, s}, mismo("SALIDA", s, "--kml", s)},
        {{e, s, "--geojson", e}, mismo("ENTRADA", e, "--geojson", e)},
        {{e, Ruta("enlace")}, mismo("ENTRADA", e, "SALIDA", Ruta("enlace"))},
        {{e, s, "--kml", Ruta("duro")}, mismo("SALIDA", s, "--kml", Ruta("duro"))},
        {{e, Ruta("colgante"), "--kml", Ruta("n.kml")}, mismo("SALIDA", Ruta("colgante"), "--kml", Ruta("n.kml"))},
        {{e, Ruta("n.kml"), "--kml", Ruta("sub/../n.kml")}, mismo("SALIDA", Ruta("n.kml"), "--kml", Ruta("sub/../n.kml"))},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(Ejecuta(c.args), 2) << c.error;
        EXPECT_EQ(errores_.str(), Lineas({c.error, "Pruebe \xc2\xab" "orvalo-lote --help\xc2\xbb"})) << c.error;
        EXPECT_EQ(salida_.str(), "") << c.error;
        EXPECT_EQ(LeeFichero(s), "anterior") << c.error;
        EXPECT_EQ(LeeFichero(e), "1\r\n1,2,3") << c.error;
    }
    EXPECT_EQ(Entradas(), 6u);
}

// getopt_long's forms: --opt=VALOR, "--" before a path that starts with "-", and --lf.
TEST_F(Lote, FormasDeLasOpcionesYFinalesLf) {
    const std::string crlf = LeeFichero(RutaDatos("salida-3.txt"));
    std::string lf = crlf + "\n";
    std::erase(lf, '\r');
    const fs::path antes = fs::current_path();
    fs::current_path(carpeta_);
    fs::copy_file(RutaDatos("entrada-3.txt"), "-e.txt");
    EXPECT_EQ(Ejecuta({"--lf", "--kml=m.kml", "--", "-e.txt", "-s.txt"}), 0) << errores_.str();
    fs::current_path(antes);
    EXPECT_EQ(LeeFichero(Ruta("-s.txt")), lf);
    EXPECT_NE(LeeFichero(Ruta("m.kml")).find("<name>-e.txt</name>"), std::string::npos);
    ASSERT_EQ(Ejecuta({"--geojson=-", RutaDatos("entrada-3.txt"), Ruta("s2.txt")}), 0); // the map on standard output
    EXPECT_EQ(salida_.str().rfind("{\"type\":\"FeatureCollection\"", 0), 0u);
    EXPECT_EQ(LeeFichero(Ruta("s2.txt")), crlf);
    EXPECT_EQ(Ejecuta({"--lf", "-"}, "3"), 0); // no points, no lines
    EXPECT_EQ(salida_.str(), "");
}

// Zones and formats: the default options give the output as always, --formatos is passed on;
// a UTM file is read only in a zone that the file or the user stated (the choice itself is
// tested with HusosDeFichero).
TEST_F(Lote, HusosYFormatos) {
    ASSERT_EQ(Ejecuta({"--formatos", "1,2,3,4,5,6", "--huso", "30", "--huso-ed50", "31", RutaDatos("entrada-3.txt")}), 0);
    EXPECT_EQ(salida_.str(), LeeFichero(RutaDatos("salida-3.txt")));
    EscribeFichero(Ruta("siete"), "7\r\n440000,4475000,100");
    EXPECT_EQ(Ejecuta({Ruta("siete")}), 1); // its words are HusosDeFichero's
    EXPECT_EQ(errores_.str().rfind("orvalo-lote: " + Ruta("siete") + ":1: el fichero no indica el huso de su formato 7", 0), 0u);
    ASSERT_EQ(Ejecuta({"--huso", "31", "--formatos", "7", Ruta("siete")}), 0) << errores_.str(); // the user's zone
    EXPECT_EQ(errores_.str(), "");
    EscribeFichero(Ruta("siete29"), "7;29\r\n949234,4488282,100"); // Madrid
    EXPECT_EQ(Ejecuta({"--formatos", "7", Ruta("siete29")}), 0);
    EXPECT_EQ(errores_.str().rfind("orvalo-lote: " + Ruta("siete29") + ":2: aviso: El punto 1 queda a 2,", 0), 0u) << errores_.str();
    // the file's zone is the zone of its points: entered in ED50 zone 29, shown in zone 29
    EscribeFichero(Ruta("dos29"), "2;29\r\n548000,4802000,100");
    ASSERT_EQ(Ejecuta({"--formatos", "2", "--huso-ed50", "29", Ruta("dos29")}), 0) << errores_.str(); // as the user says
    EXPECT_EQ(salida_.str(), "  548000.000, 4802000.000,   100.000");
}

TEST_F(Lote, DiagnosticosPorLinea) {
    EscribeFichero(Ruta("mapa.kml"), "anterior");
    const std::vector<std::string> nombres{"--rejilla", "--nombres", "--kml", Ruta("mapa.kml"), "-"};
    const std::string noNumero = "\xc2\xbb no es un n\xc3\xbamero", blanco = "l\xc3\xadnea en blanco";
    const std::string comas = "; \xc2\xbf" "comas decimales? Separe los valores con \xc2\xab;\xc2\xbb";
    const std::string conNombre = "se esperaban tres valores, con un nombre delante o sin \xc3\xa9l, y hay ";
    const std::string control = "\xc2\xbb lleva un car\xc3\xa1" "cter de control o uno que XML no admite";
    // lineas: of standard error, before the closing message
    struct Caso { std::string entrada; std::vector<std::string> lineas, args = {"-"}; } casos[] = {
        {"3\r\n40,-3,0\r\n40,x1,0\r\n40,,0", {"-:3: campo 2: \xc2\xab" "x1" + noNumero, "-:4: campo 2 vac\xc3\xado"}},
        {"1\r\n440263,927,4475248,878,667,500", {"-:2: se esperaban tres valores y hay 6 campos" + comas}},
        {"3\r\n40,-3\r\n \r\n40,-3,0", {"-:2: se esperaban tres valores y hay 2 campos", "-:3: " + blanco}},
        {"3\r\n40.5;-3;0", {"-:2: campo 1: \xc2\xab" "40.5" + noNumero}},
        {"9\x1b[31m\x07\r\n1,2,3", {"-:1: El indicador de tipo de datos 9?[31m? no es reconocido"}},
        {"3\r\n40,\x1b[2J\x07,0", {"-:2: campo 2: \xc2\xab?[2J?" + noNumero}},
        {"3\r\na\xf1o,1,2", {"-:2: campo 1: \xc2\xab" "a\xc3\xb1o" + noNumero}}, // Latin-1, quoted in UTF-8
        {"3\r\n" + std::string(50, 'a') + ",1,2", {"-:2: campo 1: \xc2\xab" + std::string(40, 'a') + "..." + noNumero}},
        {"3\n\r40.3,-3.3,100\n", {"-:2: " + blanco}},
        {"3\r\n1,2,3\r\n" + std::string(MaximoLineaLote + 1, '7'), {"-:3: l\xc3\xadnea de m\xc3\xa1s de 1048576 bytes"}},
        // with names each line is one point, a name and three values, or three values
        {"3\r\n" + std::string(65, 'n') + ",40,-3,0",
         {"-:2: el nombre \xc2\xab" + std::string(40, 'n') + "...\xc2\xbb tiene m\xc3\xa1s de 64 caracteres"}, nombres},
        {"3\r\nA,40,-3", {"-:2: campo 1: \xc2\xab" "A" + noNumero}, nombres},
        {"3\r\n40,-3,0\r\nA,40,-3,0,1", {"-:3: " + conNombre + "5 campos" + comas}, nombres},
        {"3\r\nA\x1b[31m,40,-3,0", {"-:2: el nombre \xc2\xab" "A?[31m" + control}, nombres},
        {"3\r\nA\xef\xbf\xbe,40,-3,0", {"-:2: el nombre \xc2\xab" "A\xef\xbf\xbe" + control}, nombres},
        {"3\r\nA;B,40,-3,0", {"-:2: " + conNombre + "2 campos"}, nombres}, // a ";" splits the line
        {"3\r\nA,28.06,-15.25,0", {"-:2: fuera de la rejilla oficial del IGN (latitud 35,5\xc2\xb0 a 44\xc2\xb0 N, "
                                   "longitud 9,5\xc2\xb0 O a 4,5\xc2\xb0 E)"}, nombres},
        {"3\r\nA,40,-3,0", {"-:2: se esperaban tres valores y hay 4 campos"}}, // without --nombres
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(Ejecuta(c.args, c.entrada), 1) << c.lineas[0];
        EXPECT_EQ(salida_.str(), "") << c.lineas[0];
        const std::string esperado = Lineas(c.lineas);
        EXPECT_EQ(errores_.str().substr(0, esperado.size()), esperado) << c.lineas[0];
    }
    EXPECT_EQ(LeeFichero(Ruta("mapa.kml")), "anterior"); // maps too are all or nothing
    EXPECT_EQ(Ejecuta({"--nombres", "-"}, "3\r\n" + std::string(64, 'n') + ",40,-3,0"), 0); // 64 are a name
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
              Lineas({"-:5: campo 3: \xc2\xab" "1O0\xc2\xbb no es un n\xc3\xbamero", "-:70001: campo 2 vac\xc3\xado"}));
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

// A read that fails part-way is an error, never a short output.
TEST_F(Lote, EntradaQueFallaAMitad) {
    struct Falla : std::stringbuf { // its text, then the error
        using std::stringbuf::stringbuf;
        int_type underflow() override {
            const int_type c = std::stringbuf::underflow();
            if (traits_type::eq_int_type(c, traits_type::eof())) throw std::ios_base::failure("conexi\xc3\xb3n reiniciada");
            return c;
        }
    } bufer("3\r\n40,-3,0\r\n41,-3,0\r\n");
    std::istream entrada(&bufer);
    EXPECT_EQ(EjecutaLote({"-"}, entrada, salida_, errores_), 1);
    EXPECT_NE(errores_.str().find("-: error de lectura"), std::string::npos) << errores_.str();
}

// orvalo-lote as a process, its standard input and output given as descriptors (output -1:
// closed), its standard error in the file `errores`.
class LoteProceso : public Lote {
protected:
    // `enElHijo` runs in the child before the program starts (its environment).
    pid_t Lanza(const std::vector<std::string>& args, int entrada, int salida, const std::function<void()>& enElHijo = {}) {
        const std::string errores = Ruta("errores");
        const pid_t pid = ::fork();
        if (pid == 0) {
            if (enElHijo) enElHijo();
            ::dup2(::open(errores.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            ::dup2(entrada, 0);
            salida < 0 ? ::close(1) : ::dup2(salida, 1);
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
    static std::string LeeTodo(int fd) { // until its last writer closes it
        const std::string r = LeeFichero("/dev/fd/" + std::to_string(fd));
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

// The outputs are committed only after the whole conversion; when one cannot be, the message
// says which were written and which not.
TEST_F(LoteProceso, UnaSalidaQueNoSeConfirma) {
    int tubo[2]; // SALIDA written in place, as any FIFO or device: the reference file fits in it
    ASSERT_EQ(::pipe(tubo), 0);
    const std::string entrada = LeeFichero(RutaDatos("entrada-3.txt")), enTubo = "/dev/fd/" + std::to_string(tubo[1]);
    salida_.setstate(std::ios::badbit); // standard output that takes nothing
    EXPECT_EQ(Ejecuta({"-", enTubo, "--geojson", "-"}, entrada), 1);
    ::close(tubo[1]);
    EXPECT_EQ(LeeTodo(tubo[0]), LeeFichero(RutaDatos("salida-3.txt")));
    const std::string noEstandar = "salida est\xc3\xa1ndar: no se puede escribir";
    EXPECT_EQ(errores_.str(), Lineas({noEstandar, "se ha escrito " + enTubo + "; no se ha escrito salida est\xc3\xa1ndar"}));
    EXPECT_EQ(Ejecuta({"-", Ruta("s.txt"), "--kml", "-"}, entrada), 1); // alone, it writes nothing
    EXPECT_EQ(errores_.str(), Lineas({noEstandar}));
    EXPECT_FALSE(fs::exists(Ruta("s.txt")));
}

TEST_F(LoteProceso, UnaSenalNoDejaTemporales) {
    const std::string grande = MuchosPuntos(1000000);
    EscribeFichero(Ruta("errores"), "");
    for (int senal : {SIGINT, SIGTERM, SIGHUP, SIGUSR1, SIGALRM}) { // the folder: the input, `errores`, the temporary file
        const pid_t pid = Lanza({grande, Ruta("salida.txt")}, 0, 1);
        for (int i = 0; i < 500 && Entradas() < 3; ++i) ::usleep(10000);
        ASSERT_EQ(Entradas(), 3u) << senal;
        ::kill(pid, senal);
        EXPECT_EQ(Espera(pid), 128 + senal);
        EXPECT_EQ(Entradas(), 2u) << senal; // neither the temporary file nor SALIDA
    }
    // a reader that goes away: a failed write (SIGPIPE is ignored), and nothing left in TMPDIR
    fs::create_directory(Ruta("tmp"));
    int tubo[2];
    ASSERT_EQ(::pipe(tubo), 0);
    ::close(tubo[0]);
    const pid_t pid = Lanza({MuchosPuntos(10000), "-"}, 0, tubo[1], [&] { ::setenv("TMPDIR", Ruta("tmp").c_str(), 1); });
    ::close(tubo[1]);
    EXPECT_EQ(Espera(pid), 1);
    EXPECT_TRUE(fs::is_empty(Ruta("tmp")));
}

// a closed standard output would be taken by the output file
TEST_F(LoteProceso, SalidaEstandarCerrada) {
    EXPECT_EQ(Espera(Lanza({RutaDatos("entrada-3.txt"), Ruta("s.txt")}, 0, -1)), 2);
    EXPECT_FALSE(fs::exists(Ruta("s.txt")));
}

// /dev/stdin, /dev/stdout and /dev/fd/N are what the kernel resolves them to: here pipes of the
// test's own, read once as a stream or written in place, one inherited as a process
// substitution hands it.
TEST_F(LoteProceso, DevStdoutYDevFd) {
    int entrada[2], salida[2], mapa[2];
    for (int* tubo : {entrada, salida, mapa}) ASSERT_EQ(::pipe(tubo), 0);
    const std::string datos = LeeFichero(RutaDatos("entrada-3.txt")); // each file fits in a pipe
    ASSERT_EQ(::write(entrada[1], datos.data(), datos.size()), static_cast<ssize_t>(datos.size()));
    ::close(entrada[1]);
    const pid_t pid = Lanza({"/dev/stdin", "/dev/stdout", "--kml=/dev/fd/" + std::to_string(mapa[1])}, entrada[0], salida[1]);
    for (int fd : {entrada[0], salida[1], mapa[1]}) ::close(fd);
    EXPECT_EQ(Espera(pid), 0);
    EXPECT_EQ(LeeTodo(salida[0]), LeeFichero(RutaDatos("salida-3.txt")));
    EXPECT_NE(LeeTodo(mapa[0]).find("</kml>"), std::string::npos);
}

// A system error outside the program's own words comes from strerror in the user's language:
// standard output opened for reading fails its write with EBADF.
TEST_F(LoteProceso, ErrorDelSistemaEnElIdiomaDelUsuario) {
    const bool espanol = std::setlocale(LC_ALL, "es_ES.UTF-8") != nullptr;
    std::setlocale(LC_ALL, "C");
    EscribeFichero(Ruta("solo-lectura"), "");
    const int salida = ::open(Ruta("solo-lectura").c_str(), O_RDONLY);
    const pid_t pid = Lanza({RutaDatos("entrada-3.txt")}, 0, salida, [] { ::setenv("LC_ALL", "es_ES.UTF-8", 1); });
    ::close(salida);
    EXPECT_EQ(Espera(pid), 1);
    const std::string porque = espanol ? "Descriptor de fichero err\xc3\xb3neo" : "Bad file descriptor";
    EXPECT_EQ(LeeFichero(Ruta("errores")), "orvalo-lote: salida est\xc3\xa1ndar: " + porque + "\n");
}

} // namespace
