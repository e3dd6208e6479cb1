// Failures of the system calls behind a save and a read, which no file on a healthy disk
// gives: this executable is linked with -Wl,--wrap for fsync, close, rename and read, so the
// file layer's calls go through the functions below, which fail on demand.
#include "ficheros/ficheros.h"
#include "vectores.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <unistd.h>

extern "C" {
int __real_fsync(int fd);
int __real_close(int fd);
int __real_rename(const char* desde, const char* hacia);
ssize_t __real_read(int fd, void* b, size_t n);
}

namespace {

// The call that fails next, with its error number, after `antes` calls that succeed.
struct Fallo {
    std::string llamada;
    int numero = 0;
    int antes = 0;
} fallo;
int sincronizado = -1; // the descriptor fsync last took: a written file about to be closed

bool Falla(const char* llamada) {
    if (fallo.llamada != llamada) return false;
    if (fallo.antes-- > 0) return false;
    fallo.llamada.clear();
    errno = fallo.numero;
    return true;
}

} // namespace

extern "C" {
int __wrap_fsync(int fd) {
    if (Falla("fsync")) return -1;
    sincronizado = fd;
    return __real_fsync(fd);
}
int __wrap_rename(const char* desde, const char* hacia) { return Falla("rename") ? -1 : __real_rename(desde, hacia); }
// the close of a written file fails; the descriptor is closed all the same, as a close that
// reports a deferred write error does
int __wrap_close(int fd) {
    const bool falla = fd == sincronizado && Falla("close");
    const int r = __real_close(fd);
    if (!falla) return r;
    errno = fallo.numero;
    return -1;
}
ssize_t __wrap_read(int fd, void* b, size_t n) { return Falla("read") ? -1 : __real_read(fd, b, n); }
}

namespace {

using Fallos = ConCarpeta;

// A save that fails at any step is reported with its cause; the old file stays and no
// temporary file is left behind. A read that fails after the first block is an error, never
// the end of the file.
TEST_F(Fallos, GuardarOLeerQueFallaDejaElFicheroAnterior) {
    struct Caso {
        Fallo fallo;
        std::string descripcion;
    } casos[] = {
        {{"fsync", EIO}, "error de entrada o salida"},
        {{"close", EDQUOT}, "se ha superado la cuota de disco"},
        {{"rename", EACCES}, "permiso denegado"},
        {{"read", EIO, 1}, "error de entrada o salida"},
    };
    for (const Caso& c : casos) {
        const bool lee = c.fallo.llamada == "read";
        EscribeFichero(Ruta("f.txt"), lee ? std::string(200000, 'x') : "anterior");
        std::string bytes = "sin tocar";
        fallo = c.fallo;
        const ErrorFichero e = lee ? LeeFicheroEntero(Ruta("f.txt"), 1 << 20, bytes) : GuardaFichero(Ruta("f.txt"), "nuevo");
        fallo = {};
        EXPECT_EQ(e.tipo, lee ? ErrorFichero::NoSeLee : ErrorFichero::NoSeEscribe) << c.fallo.llamada;
        EXPECT_EQ(e.descripcion, c.descripcion) << c.fallo.llamada;
        EXPECT_EQ(bytes, "sin tocar") << c.fallo.llamada;
        if (!lee) { EXPECT_EQ(LeeFichero(Ruta("f.txt")), "anterior") << c.fallo.llamada; }
        EXPECT_EQ(Entradas(), 1u) << c.fallo.llamada;
    }
}

} // namespace
