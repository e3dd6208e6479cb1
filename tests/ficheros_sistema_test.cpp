#include "ficheros/ficheros.h"
#include "vectores.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include <cerrno>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

using Carpeta = ConCarpeta;

mode_t Modo(const std::string& ruta) {
    struct stat st {};
    ::lstat(ruta.c_str(), &st);
    return st.st_mode;
}

// Runs `f` in a child process and gives its exit status (its own limits and identity stay
// there).
int EnHijo(const std::function<int()>& f) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(f());
    int estado = 0;
    ::waitpid(pid, &estado, 0);
    return WIFEXITED(estado) ? WEXITSTATUS(estado) : 128 + WTERMSIG(estado);
}

// Links are followed to where the bytes go, and stay links; what cannot be written is refused
// with its reason and nothing left behind, a FIFO with no reader at once.
TEST_F(Carpeta, CadaClaseDeDestino) {
    const std::string nombreLargo(250, 'n'); // with a temporary suffix it would not fit 255
    const mode_t umask_ = ::umask(022);
    ::umask(umask_);
    struct Caso {
        const char* nombre;
        std::function<void()> prepara;
        std::string ruta;      // where the save is pointed
        std::string contenido; // where the bytes must end, "" for a refusal
        mode_t permisos;       // of `contenido` afterwards, 0 unchecked
    } casos[] = {
        {"fichero existente", [&] { EscribeFichero(Ruta("f"), "viejo"); ::chmod(Ruta("f").c_str(), 02640); },
         Ruta("f"), Ruta("f"), 02640},
        {"fichero nuevo", [] {}, Ruta("nuevo"), Ruta("nuevo"), 0666 & ~umask_},
        {"enlace", [&] { EscribeFichero(Ruta("destino"), "viejo"); fs::create_symlink(Ruta("destino"), Ruta("enlace")); },
         Ruta("enlace"), Ruta("destino"), 0},
        {"enlace colgante", [&] { fs::create_symlink("aun-no", Ruta("colgante")); }, Ruta("colgante"), Ruta("aun-no"), 0},
        {"cadena de enlaces", [&] { fs::create_symlink("e2", Ruta("e1")); fs::create_symlink("fin", Ruta("e2")); },
         Ruta("e1"), Ruta("fin"), 0},
        {"enlace a una carpeta", [&] { fs::create_directory(Ruta("c")); fs::create_directory_symlink(Ruta("c"), Ruta("ac")); },
         Ruta("ac"), "", 0},
        {"carpeta", [] {}, carpeta_.string(), "", 0},
        {"bucle de enlaces", [&] { fs::create_symlink("b2", Ruta("b1")); fs::create_symlink("b1", Ruta("b2")); },
         Ruta("b1"), "", 0},
        {"FIFO sin lector: rechazado sin esperar", [&] { ::mkfifo(Ruta("fifo").c_str(), 0600); }, Ruta("fifo"), "", 0},
        {"nombre de 250 bytes", [] {}, Ruta(nombreLargo), Ruta(nombreLargo), 0},
    };
    // every entry, in the folders too: a refusal leaves none
    auto entradas = [&] { return std::distance(fs::recursive_directory_iterator(carpeta_), {}); };
    for (const Caso& c : casos) {
        c.prepara();
        const auto antes = entradas();
        const mode_t clase = Modo(c.ruta) & S_IFMT;
        const ErrorFichero e = GuardaFichero(c.ruta, "datos\r\n");
        EXPECT_EQ(!e, !c.contenido.empty()) << c.nombre << ": " << e.descripcion;
        if (!c.contenido.empty()) {
            EXPECT_EQ(LeeFichero(c.contenido), "datos\r\n") << c.nombre;
        } else {
            EXPECT_FALSE(e.descripcion.empty()) << c.nombre;
            EXPECT_EQ(entradas(), antes) << c.nombre; // no temporary file left
        }
        if (clase != 0) { EXPECT_EQ(Modo(c.ruta) & S_IFMT, clase) << c.nombre; } // a link stays a link
        if (c.permisos != 0) { EXPECT_EQ(Modo(c.contenido) & 07777, c.permisos) << c.nombre; }
    }
}

// Root: a device is written in place (the failure of a full one said); a user's file replaced keeps its owner and group; a
// read-only file of root's, in a folder anyone may write, is refused to nobody.
TEST_F(Carpeta, DispositivosDuenoYPermisos) {
    if (::geteuid() != 0) GTEST_SKIP() << "mknod y cambiar de usuario necesitan ser root";
    ASSERT_EQ(::mknod(Ruta("lleno").c_str(), S_IFCHR | 0666, makedev(1, 7)), 0); // like /dev/full
    EXPECT_EQ(GuardaFichero(Ruta("lleno"), "nada").tipo, ErrorFichero::NoSeEscribe);
    EXPECT_TRUE(S_ISCHR(Modo(Ruta("lleno"))));
    EscribeFichero(Ruta("ajeno"), "de nobody");
    ASSERT_EQ(::chown(Ruta("ajeno").c_str(), 65534, 65534), 0);
    EXPECT_FALSE(GuardaFichero(Ruta("ajeno"), "nuevo"));
    struct stat st {};
    ::stat(Ruta("ajeno").c_str(), &st);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EscribeFichero(Ruta("solo-lectura"), "de root");
    ::chmod(Ruta("solo-lectura").c_str(), 0444);
    const int estado = EnHijo([&] {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) return 2;
        return GuardaFichero(Ruta("solo-lectura"), "de nobody") ? 0 : 1;
    });
    EXPECT_EQ(estado, 0);
    EXPECT_EQ(LeeFichero(Ruta("solo-lectura")), "de root");
}

// A file-size limit fails the write like a full disk (SIGXFSZ ignored as the programs do).
TEST_F(Carpeta, DiscoLlenoDejaElFicheroAnteriorYLoDice) {
    const std::string anterior(10000, 'a');
    EscribeFichero(Ruta("f"), anterior);
    for (std::size_t tamano : {std::size_t(100), std::size_t(16384), std::size_t(1) << 20}) {
        const int estado = EnHijo([&] {
            IgnoraSenalesDeEscritura();
            const rlimit limite{4096, 4096};
            ::setrlimit(RLIMIT_FSIZE, &limite);
            const ErrorFichero e = GuardaFichero(Ruta("f"), std::string(tamano + 4096, 'b'));
            return e.tipo == ErrorFichero::NoSeEscribe && e.descripcion == "el fichero supera el tama\u00f1o permitido" ? 0 : 1;
        });
        EXPECT_EQ(estado, 0) << tamano;
        EXPECT_EQ(LeeFichero(Ruta("f")), anterior) << tamano;
        EXPECT_EQ(Entradas(), 1u) << tamano;
    }
}

// The protected_symlinks rule in a sticky folder anyone may write, whatever the machine's
// setting: a link planted by another user is not followed, one of the caller's or of the
// folder's owner is.
TEST_F(Carpeta, EnlacesEnUnaCarpetaCompartida) {
    if (::geteuid() != 0) GTEST_SKIP() << "plantar un enlace de otro usuario necesita ser root";
    struct Caso {
        const char* nombre;
        uid_t duenoCarpeta, duenoEnlace;
        bool sigue;
    } casos[] = {
        {"plantado por otro usuario", 0, 65534, false},
        {"del propio usuario", 65534, 0, true},
        {"del due\u00f1o de la carpeta", 65534, 65534, true},
    };
    for (const Caso& c : casos) {
        const fs::path compartida = carpeta_ / "compartida";
        fs::remove_all(compartida);
        fs::create_directory(compartida);
        ASSERT_EQ(::chmod(compartida.c_str(), 01777), 0);
        ASSERT_EQ(::chown(compartida.c_str(), c.duenoCarpeta, 0), 0);
        EscribeFichero(Ruta("secreto"), "de root");
        ::chmod(Ruta("secreto").c_str(), 0600);
        const std::string enlace = (compartida / "salida.txt").string();
        // the link is made by a child that has become its owner
        const int hecho = EnHijo([&] {
            if (c.duenoEnlace != 0 && (::setgid(65534) != 0 || ::setuid(c.duenoEnlace) != 0)) return 2;
            return ::symlink(Ruta("secreto").c_str(), enlace.c_str()) |
                   ::symlink(carpeta_.c_str(), (compartida / "a").c_str());
        });
        ASSERT_EQ(hecho, 0) << c.nombre;
        const ErrorFichero e = GuardaFichero(enlace, "nuevo");
        EXPECT_EQ(!e, c.sigue) << c.nombre << ": " << e.descripcion;
        EXPECT_EQ(LeeFichero(Ruta("secreto")), c.sigue ? "nuevo" : "de root") << c.nombre;
        if (!c.sigue) { EXPECT_NE(e.descripcion.find(enlace), std::string::npos) << e.descripcion; }
        // a folder reached through such a link counts the same
        EXPECT_EQ(!GuardaFichero((compartida / "a" / "nuevo").string(), "x"), c.sigue) << c.nombre;
        EXPECT_EQ(fs::exists(Ruta("nuevo")), c.sigue) << c.nombre;
        fs::remove(Ruta("nuevo"));
    }
}

// What the kernel resolves: /dev/fd/N and /proc/self/fd/N (a shell's process substitution) of
// a pipe are written in place. (A reader that quits or stalls: the window's and the editor's
// FIFO tests.)
TEST_F(Carpeta, TuberiasPorDescriptor) {
    const std::string datos(1 << 20, 'd'); // more than a pipe holds
    for (const std::string prefijo : {"/dev/fd/", "/proc/self/fd/"}) {
        int tubo[2];
        ASSERT_EQ(::pipe(tubo), 0);
        std::string leido;
        std::thread lector([&] {
            char bloque[4096];
            ssize_t n;
            while ((n = ::read(tubo[0], bloque, sizeof bloque)) > 0) leido.append(bloque, static_cast<std::size_t>(n));
            ::close(tubo[0]);
        });
        Escritura e(prefijo + std::to_string(tubo[1]));
        const bool guardado = e.Escribe(datos) && e.Confirma();
        ::close(tubo[1]);
        lector.join();
        EXPECT_TRUE(guardado) << prefijo << ": " << e.Error().descripcion;
        EXPECT_TRUE(e.EnSitio()) << prefijo;
        EXPECT_EQ(leido, datos) << prefijo;
    }
}

// The limit counts what a FIFO gives, one byte over it too. (A writer that stalls: the window's
// and the editor's FIFO tests.)
TEST_F(Carpeta, LeerDeUnaFifoCuentaLoLeido) {
    ASSERT_EQ(::mkfifo(Ruta("fifo").c_str(), 0600), 0);
    for (const std::size_t escritos : {1000, 1001}) {
        std::thread escritor([&] { std::ofstream(Ruta("fifo"), std::ios::binary) << std::string(escritos, 'x'); });
        ::usleep(50000); // the writer waits in its open, so it already counts as a writer
        std::string bytes;
        const ErrorFichero e = LeeFicheroEntero(Ruta("fifo"), 1000, bytes);
        escritor.join();
        EXPECT_EQ(e.tipo, escritos > 1000 ? ErrorFichero::DemasiadoGrande : ErrorFichero::Ninguno) << escritos;
        if (!e) { EXPECT_EQ(bytes, std::string(escritos, 'x')); }
    }
}

} // namespace
