#include "transformacion/entrada.h"
#include "lote_prueba.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <thread>

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
    struct Caso {
        const char* nombre;
        std::vector<std::string> args;
        int estado;
        std::string mensaje;
    } casos[] = {
        {"sin argumentos", {}, 2, "Uso:"},
        {"tres argumentos", {"a", "b", "c"}, 2, "Uso:"},
        {"opción desconocida", {"--rapido", "x"}, 2, "Uso:"},
        {"opción tras la entrada", {"x", "--rapido"}, 2, "opci\xc3\xb3n desconocida: --rapido"},
        {"no existe", {Ruta("nada"), Ruta("previo")}, 1, "nada: no existe\n \xc2\xa1Se ha producido un error al abrir"},
        {"es una carpeta", {carpeta_.string(), Ruta("previo")}, 1, ": es una carpeta\n"},
        {"faltan valores", {Ruta("malo"), Ruta("previo")}, 1,
         "malo:3: faltan valores: 2 puntos necesitan 6 valores y hay 5\n \xc2\xa1Se ha producido un error al abrir"},
        {"identificador", {Ruta("id"), Ruta("previo")}, 1, "id:1: El indicador de tipo de datos 9 no es reconocido\n"},
        {"eje polar", {Ruta("polo"), Ruta("previo")}, 1, "polo:2: error aritm\xc3\xa9tico: punto sobre el eje polar"},
        {"carpeta de salida inexistente", {RutaDatos("entrada-1.txt"), Ruta("no/hay/previo")}, 1, "error al guardar"},
        {"la salida es una carpeta", {RutaDatos("entrada-1.txt"), carpeta_.string()}, 1, "es una carpeta\n"},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(Ejecuta(c.args), c.estado) << c.nombre;
        EXPECT_NE(errores_.str().find(c.mensaje), std::string::npos) << c.nombre << ": " << errores_.str();
        EXPECT_EQ(salida_.str(), "") << c.nombre;
        EXPECT_EQ(LeeFichero(Ruta("previo")), "contenido anterior") << c.nombre;
    }
    EXPECT_EQ(Entradas(), 4u);
    EXPECT_EQ(Ejecuta({"--help"}), 0);
    EXPECT_EQ(salida_.str(), UsoLote);
    for (const char* opcion : {"--rejilla", "--nombres", "--kml", "--geojson", "--version", "--help"})
        EXPECT_NE(UsoLote.find(opcion), std::string::npos) << opcion; // the usage names every option
    // without the grids --rejilla names the missing file and writes nothing
    ::setenv("ORVALO_REJILLAS", carpeta_.c_str(), 1);
    EXPECT_EQ(Ejecuta({"--rejilla", RutaDatos("entrada-3.txt"), Ruta("previo")}), 1);
    ::unsetenv("ORVALO_REJILLAS");
    EXPECT_NE(errores_.str().find("no se encuentra es_ign_SPED2ETV2.tif"), std::string::npos) << errores_.str();
    EXPECT_EQ(LeeFichero(Ruta("previo")), "contenido anterior");
    EXPECT_EQ(Ejecuta({"--version"}), 0);
    EXPECT_EQ(salida_.str().rfind("orvalo-lote 1.", 0), 0u) << salida_.str();
}

// Each refused line on its own diagnostic, in line order; nothing written.
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
        {"coma decimal", "3\r\n40,5;-3;0", {"-:2: campo 2: \xc2\xab" "5;-3;0\xc2\xbb no es un n\xc3\xbamero",
                                              "-:2: faltan valores: 1 puntos necesitan 3 valores y hay 2"}},
        {"texto en Latin-1, citado en UTF-8", "3\r\na\xf1o,1,2", {"-:2: campo 1: \xc2\xab" "a\xc3\xb1o\xc2\xbb no es un n\xc3\xbamero"}},
        {"caracteres de control citados como ?", "3\r\n1\x7f~\t,1,2", {"-:2: campo 1: \xc2\xab" "1?~?\xc2\xbb no es un n\xc3\xbamero"}},
        {"texto citado hasta 40 caracteres", "3\r\n" + std::string(50, 'a') + ",1,2",
         {"-:2: campo 1: \xc2\xab" + std::string(40, 'a') + "...\xc2\xbb no es un n\xc3\xbamero"}},
        {"campo que empieza con CR en finales LF", "3\n\r40.3,-3.3,100\n",
         {"-:2: campo 1 vac\xc3\xado", "-:3: faltan valores: 2 puntos necesitan 6 valores y hay 4"}},
        {"línea de más de 1 MiB", "3\r\n1,2,3\r\n" + std::string(MaximoLineaLote + 1, '7'),
         {"-:3: l\xc3\xadnea de m\xc3\xa1s de 1048576 bytes"}},
        {"fallo aritmético de la tercera línea", "4\r\n1e6,2e6,3e6\r\n1e6,2e6,3e6\r\n0,0,6356911",
         {"-:4: error aritm\xc3\xa9tico: punto sobre el eje polar: divisi\xc3\xb3n por cero"}},
        // with names each line is one point, a name and three values, or three values
        {"nombre de 65 caracteres", "3\r\n" + std::string(65, 'n') + ",40,-3,0", {"-:2: el nombre \xc2\xab" + std::string(40, 'n') +
         "...\xc2\xbb tiene m\xc3\xa1s de 64 caracteres"}, nombres},
        {"un nombre y dos valores", "3\r\nA,40,-3", {"-:2: campo 1: \xc2\xab" "A\xc2\xbb no es un n\xc3\xbamero"}, nombres},
        {"cinco campos", "3\r\n40,-3,0\r\nA,40,-3,0,1",
         {"-:3: se esperaban tres valores, con un nombre delante o sin \xc3\xa9l, y hay 5 campos"}, nombres},
        {"fuera de la rejilla", "3\r\nA,28.06,-15.25,0", {"-:2: fuera de la rejilla oficial del IGN"}, nombres},
        {"sin --nombres un nombre es un valor", "3\r\nA,40,-3,0", {"-:2: campo 1: \xc2\xab" "A\xc2\xbb no es un n\xc3\xbamero"}},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(Ejecuta(c.args, c.entrada), 1) << c.nombre;
        EXPECT_EQ(salida_.str(), "") << c.nombre;
        std::string esperado;
        for (const std::string& l : c.lineas) esperado += l + "\n";
        EXPECT_EQ(errores_.str().substr(0, esperado.size()), esperado) << c.nombre;
    }
    EXPECT_EQ(LeeFichero(Ruta("mapa.kml")), "anterior"); // maps too are all or nothing
    EXPECT_EQ(Ejecuta({"--nombres", "-"}, "3\r\n" + std::string(64, 'n') + ",40,-3,0"), 0); // 64 are a name
    EXPECT_EQ(Ejecuta({"--kml"}), 2);
    // the closing message describes the first arithmetic fault: of its block, and of the blocks
    std::string dos = "1\r\n500000,12000000,0\r\n500000,-35629650053910416,0";
    for (int i = 0; i < 4094; ++i) dos += "\r\n440000,4474000,100";
    dos += "\r\n500000,-35629650053910416,0"; // point 4097, the second block
    EXPECT_EQ(Ejecuta({"-"}, dos), 1);
    EXPECT_TRUE(errores_.str().ends_with("lejos del meridiano central. No se ha modificado ning\xc3\xban dato.\n")) << errores_.str();
}

TEST_F(Lote, CienMilPuntosConDosLineasMalas) {
    std::string entrada = "1";
    for (int linea = 2; linea <= 100001; ++linea)
        entrada += linea == 5 ? "\r\n440000,4474000,1O0" : linea == 70001 ? "\r\n440000,,100" : "\r\n440000,4474000,100";
    EscribeFichero(Ruta("previo"), "anterior");
    EXPECT_EQ(Ejecuta({"-", Ruta("previo")}, entrada), 1);
    EXPECT_EQ(errores_.str().substr(0, errores_.str().find(" \xc2\xa1")),
              "-:5: campo 3: \xc2\xab" "1O0\xc2\xbb no es un n\xc3\xbamero\n-:70001: campo 2 vac\xc3\xado\n");
    EXPECT_EQ(LeeFichero(Ruta("previo")), "anterior");
    // mended, all are written: no 16-bit limit on the number of points
    entrada.replace(entrada.find("1O0"), 3, "100");
    entrada.replace(entrada.find(",,"), 2, ",4474000,");
    ASSERT_EQ(Ejecuta({"-"}, entrada), 0) << errores_.str();
    EXPECT_EQ(salida_.str().size(), 100000u * 227 - 2);
    // more than twenty: the rest counted
    std::string malas = "1";
    for (int i = 0; i < 25; ++i) malas += "\r\nx,1,2";
    EXPECT_EQ(Ejecuta({"-"}, malas), 1);
    EXPECT_NE(errores_.str().find("-:21: campo 1"), std::string::npos);
    EXPECT_EQ(errores_.str().find("-:22: campo 1"), std::string::npos);
    EXPECT_NE(errores_.str().find("-: y 5 l\xc3\xadneas m\xc3\xa1s con errores\n"), std::string::npos);
}

// Line ends CR LF, LF and a lone CR read alike; a line with four values shifts the points.
TEST_F(Lote, FinalesDeLineaYValoresDesplazados) {
    const std::string esperado = LeeFichero(RutaDatos("salida-3-lf.txt"));
    std::string lf = LeeFichero(RutaDatos("entrada-3-lf.txt"));
    std::string cr = lf;
    std::replace(cr.begin(), cr.end(), '\n', '\r');
    for (const std::string& e : {lf, cr}) {
        ASSERT_EQ(Ejecuta({"-", "-"}, e), 0) << errores_.str();
        EXPECT_EQ(salida_.str(), esperado);
    }
    ASSERT_EQ(Ejecuta({"-"}, "3\r\n40,-3,0\r\n41,-3,0"), 0);
    const std::string dos = salida_.str();
    // values run on across lines; values beyond the last point are never read
    for (const char* e : {"3\r\n40,-3\r\n0,41,-3,0", "3\r\n40,-3,0\r\n41,-3,0,9,9"}) {
        ASSERT_EQ(Ejecuta({"-"}, e), 0) << errores_.str();
        EXPECT_EQ(salida_.str(), dos) << e;
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
    pid_t Lanza(const std::vector<std::string>& args, int entrada, int salida, const std::string& tmpdir = "") {
        const pid_t pid = ::fork();
        if (pid == 0) {
            if (!tmpdir.empty()) ::setenv("TMPDIR", tmpdir.c_str(), 1);
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
    for (int senal : {SIGINT, SIGTERM, SIGHUP}) {
        const pid_t pid = Lanza({grande, Ruta("salida.txt")}, 0, 1);
        for (int i = 0; i < 500 && Temporales(carpeta_).empty(); ++i) ::usleep(10000);
        ASSERT_EQ(Temporales(carpeta_).size(), 1u) << senal;
        ::kill(pid, senal);
        EXPECT_EQ(Espera(pid), 128 + senal);
        EXPECT_TRUE(Temporales(carpeta_).empty()) << senal;
        EXPECT_FALSE(fs::exists(Ruta("salida.txt"))) << senal;
    }
    // a reader that goes away: SIGPIPE, and nothing left in TMPDIR either
    fs::create_directory(Ruta("tmp"));
    int tubo[2];
    ASSERT_EQ(::pipe(tubo), 0);
    ::close(tubo[0]);
    const pid_t pid = Lanza({MuchosPuntos(10000), "-"}, 0, tubo[1], Ruta("tmp"));
    ::close(tubo[1]);
    EXPECT_EQ(Espera(pid), 128 + SIGPIPE);
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

} // namespace
