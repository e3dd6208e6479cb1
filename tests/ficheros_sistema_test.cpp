#include "ficheros/ficheros.h"
#include "vectores.h"

#include <gtest/gtest.h>

#include <atomic>
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

TEST_F(Carpeta, CadaClaseDeDestino) {
    const std::string nombreLargo(250, 'n'); // with a temporary suffix it would not fit 255
    const mode_t umask_ = ::umask(022);
    ::umask(umask_);
    struct Caso {
        const char* nombre;
        std::function<void()> prepara;
        std::string ruta;      // where the save is pointed
        std::string contenido; // where the bytes must end, "" for a refusal
        bool guarda;
        std::function<void()> comprueba;
    } casos[] = {
        {"fichero existente", [&] { EscribeFichero(Ruta("f"), "viejo"); ::chmod(Ruta("f").c_str(), 02640); },
         Ruta("f"), Ruta("f"), true, [&] { EXPECT_EQ(Modo(Ruta("f")) & 07777, 02640u); }},
        {"fichero nuevo", [] {}, Ruta("nuevo"), Ruta("nuevo"), true,
         [&] { EXPECT_EQ(Modo(Ruta("nuevo")) & 07777, 0666u & ~umask_); }},
        {"enlace", [&] { EscribeFichero(Ruta("destino"), "viejo"); fs::create_symlink(Ruta("destino"), Ruta("enlace")); },
         Ruta("enlace"), Ruta("destino"), true, [&] { EXPECT_TRUE(S_ISLNK(Modo(Ruta("enlace")))); }},
        {"enlace colgante", [&] { fs::create_symlink("aun-no", Ruta("colgante")); },
         Ruta("colgante"), Ruta("aun-no"), true, [&] { EXPECT_TRUE(S_ISLNK(Modo(Ruta("colgante")))); }},
        {"cadena de enlaces", [&] { fs::create_symlink("e2", Ruta("e1")); fs::create_symlink("fin", Ruta("e2")); },
         Ruta("e1"), Ruta("fin"), true, [&] { EXPECT_TRUE(S_ISLNK(Modo(Ruta("e1"))) && S_ISLNK(Modo(Ruta("e2")))); }},
        {"enlace a una carpeta", [&] { fs::create_directory(Ruta("c")); fs::create_directory_symlink(Ruta("c"), Ruta("ac")); },
         Ruta("ac"), "", false, [&] { EXPECT_TRUE(fs::is_empty(Ruta("c"))); }},
        {"carpeta", [] {}, carpeta_.string(), "", false, [] {}},
        {"bucle de enlaces", [&] { fs::create_symlink("b2", Ruta("b1")); fs::create_symlink("b1", Ruta("b2")); },
         Ruta("b1"), "", false, [] {}},
        {"FIFO sin lector: rechazado sin esperar", [&] { ::mkfifo(Ruta("fifo").c_str(), 0600); },
         Ruta("fifo"), "", false, [&] { EXPECT_TRUE(S_ISFIFO(Modo(Ruta("fifo")))); }},
        {"nombre de 250 bytes", [] {}, Ruta(nombreLargo), Ruta(nombreLargo), true, [] {}},
    };
    for (const Caso& c : casos) {
        c.prepara();
        const std::size_t antes = Entradas();
        const ErrorFichero e = GuardaFichero(c.ruta, "datos\r\n");
        EXPECT_EQ(!e, c.guarda) << c.nombre << ": " << e.descripcion;
        if (c.guarda) {
            EXPECT_EQ(LeeFichero(c.contenido), "datos\r\n") << c.nombre;
        } else {
            EXPECT_FALSE(e.descripcion.empty()) << c.nombre;
            EXPECT_EQ(Entradas(), antes) << c.nombre; // no temporary file left
        }
        c.comprueba();
    }
}

// Root: a device is written in place; a user's file replaced keeps its owner and group; a
// read-only file of root's, in a folder anyone may write, is refused to nobody.
TEST_F(Carpeta, DispositivosDuenoYPermisos) {
    if (::geteuid() != 0) GTEST_SKIP() << "mknod y cambiar de usuario necesitan ser root";
    ASSERT_EQ(::mknod(Ruta("nulo").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    EXPECT_FALSE(GuardaFichero(Ruta("nulo"), "nada"));
    EXPECT_TRUE(S_ISCHR(Modo(Ruta("nulo"))));
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
        EXPECT_TRUE(S_ISLNK(Modo(enlace))) << c.nombre;
        // a folder reached through such a link counts the same
        EXPECT_EQ(!GuardaFichero((compartida / "a" / "nuevo").string(), "x"), c.sigue) << c.nombre;
        EXPECT_EQ(fs::exists(Ruta("nuevo")), c.sigue) << c.nombre;
        fs::remove(Ruta("nuevo"));
    }
}

// What the kernel resolves: /dev/fd/N and /proc/self/fd/N (a shell's process substitution) of
// a pipe are written in place; a reader that quits is an error, not the end of the program; a
// reader that stalls is waited for until the wait is given up.
TEST_F(Carpeta, TuberiasPorDescriptor) {
    IgnoraSenalesDeEscritura();
    struct Caso {
        const char* nombre;
        std::string prefijo;    // the path of descriptor N is prefijo + N
        std::size_t leidos;     // bytes the reader takes before it closes, all when npos
        bool cancela;           // the writer gives up waiting
        bool guarda;
    } casos[] = {
        {"/dev/fd", "/dev/fd/", std::string::npos, false, true},
        {"/proc/self/fd", "/proc/self/fd/", std::string::npos, false, true},
        {"el lector se va", "/dev/fd/", 10, false, false},
        {"el lector se para", "/dev/fd/", 0, true, false},
    };
    const std::string datos(1 << 20, 'd'); // more than a pipe holds
    for (const Caso& c : casos) {
        int tubo[2];
        ASSERT_EQ(::pipe(tubo), 0);
        std::string leido;
        std::atomic<bool> cancelado = false;
        std::thread lector([&] { // when the writer is to give up: reads nothing, and gives up for it
            char bloque[4096];
            while (c.leidos == std::string::npos || leido.size() < c.leidos) {
                const ssize_t n = ::read(tubo[0], bloque, std::min(sizeof bloque, c.leidos - leido.size()));
                if (n <= 0) break;
                leido.append(bloque, static_cast<std::size_t>(n));
            }
            if (!c.cancela) ::close(tubo[0]);
            else { ::usleep(300000); cancelado = true; }
        });
        Escritura e(c.prefijo + std::to_string(tubo[1]));
        const bool guardado = e.Escribe(datos, &cancelado) && e.Confirma();
        ::close(tubo[1]);
        lector.join();
        if (c.cancela) ::close(tubo[0]);
        EXPECT_EQ(guardado, c.guarda) << c.nombre << ": " << e.Error().descripcion;
        EXPECT_TRUE(e.EnSitio()) << c.nombre;
        if (c.guarda) { EXPECT_EQ(leido, datos) << c.nombre; }
        if (!c.guarda) { EXPECT_EQ(e.Error().tipo, ErrorFichero::NoSeEscribe) << c.nombre; }
    }
}

// The limit counts what a FIFO gives; a writer that stalls is waited for until the wait is
// given up.
TEST_F(Carpeta, LeerDeUnaFifoCuentaLoLeido) {
    ASSERT_EQ(::mkfifo(Ruta("fifo").c_str(), 0600), 0);
    struct Caso {
        std::size_t escritos;
        std::int64_t maximo;
        bool seCancela; // the writer stays without writing until the read gives up
        ErrorFichero::Tipo tipo;
    } casos[] = {{1000, 1000, false, ErrorFichero::Ninguno},
                 {1001, 1000, false, ErrorFichero::DemasiadoGrande},
                 {0, 1000, true, ErrorFichero::NoSeLee}};
    for (const Caso& c : casos) {
        std::atomic<bool> cancelado = c.seCancela, terminado = false;
        std::thread escritor([&] {
            std::ofstream f(Ruta("fifo"), std::ios::binary);
            f << std::string(c.escritos, 'x');
            while (c.seCancela && !terminado) ::usleep(1000);
        });
        ::usleep(50000); // the writer waits in its open, so it already counts as a writer
        std::string bytes;
        const ErrorFichero e = LeeFicheroEntero(Ruta("fifo"), c.maximo, bytes, &cancelado);
        terminado = true;
        escritor.join();
        EXPECT_EQ(e.tipo, c.tipo) << c.escritos;
        if (c.seCancela) { EXPECT_EQ(e.numero, ECANCELED); }
        if (!e) { EXPECT_EQ(bytes.size(), c.escritos); }
    }
}

} // namespace
