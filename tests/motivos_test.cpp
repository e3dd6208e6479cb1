#include "ficheros/motivos.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

// What a person reads when a file fails: the command's message, then why on its own line.
TEST(Motivos, CadaFalloDiceSuMotivo) {
    const std::string abrir = " \u00a1Se ha producido un error al abrir el archivo! ";
    const std::string guardar = " \u00a1Se ha producido un error al guardar el archivo! ";
    struct Caso {
        const char* nombre;
        ErrorFichero error;
        bool lectura;
        std::string mensaje;
    } casos[] = {
        {"no existe", {ErrorFichero::NoSeAbre, "", ENOENT}, true, abrir + "\r\n El fichero no existe."},
        {"sin permiso de lectura", {ErrorFichero::NoSeAbre, "", EACCES}, true, abrir + "\r\n No tiene permiso para leerlo."},
        {"carpeta al leer", {ErrorFichero::NoSeAbre, "", EISDIR}, true, abrir + "\r\n Es una carpeta."},
        {"error de lectura", {ErrorFichero::NoSeLee, "", EIO}, true, abrir + "\r\n Error de entrada o salida del disco."},
        {"demasiado grande, sin motivo", {ErrorFichero::DemasiadoGrande, "m\u00e1s de 10 bytes", 0}, true,
         " \u00a1El fichero es demasiado grande! "},
        {"carpeta que falta al guardar", {ErrorFichero::NoSeAbre, "", ENOENT}, false, guardar + "\r\n La carpeta no existe."},
        {"sin permiso de escritura", {ErrorFichero::NoSeAbre, "", EPERM}, false, guardar + "\r\n No tiene permiso para escribirlo."},
        {"disco lleno", {ErrorFichero::NoSeEscribe, "", ENOSPC}, false, guardar + "\r\n No queda espacio en el disco."},
        {"solo lectura", {ErrorFichero::NoSeAbre, "", EROFS}, false, guardar + "\r\n El disco es de solo lectura."},
        {"FIFO sin lector", {ErrorFichero::NoSeAbre, "", ENXIO}, false,
         guardar + "\r\n Nadie lee de la tuber\u00eda, o el dispositivo no existe."},
        {"sin n\u00famero de error", {ErrorFichero::NoSeEscribe, "", 0}, false, guardar},
        {"error sin palabras propias", {ErrorFichero::NoSeEscribe, "", EBADF}, false,
         guardar + "\r\n Error del sistema n\u00famero " + std::to_string(EBADF) + "."},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(c.lectura ? MensajeFalloLectura(c.error) : MensajeFalloEscritura(c.error), c.mensaje) << c.nombre;
}

} // namespace
