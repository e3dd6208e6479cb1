#include "motivos.h"

#include "transformacion/entrada.h"
#include "transformacion/salida.h"

#include <cerrno>

#include <cstring>

namespace {

// Each error number's words, in the two forms the program gives them.
struct Palabras {
    int numero;
    const char* fragmento; // after a path, for diagnostics; null: the system's own words
    const char* lectura;   // a sentence for a person, with a leading space
    const char* escritura; // null: the same as for reading
};

constexpr Palabras Tabla[] = {
    // writing, a missing name is the folder's: the file itself is created
    {ENOENT, "no existe", " El fichero no existe.", " La carpeta no existe."},
    {EACCES, "permiso denegado", " No tiene permiso para leerlo.", " No tiene permiso para escribirlo."},
    {EPERM, "permiso denegado", " No tiene permiso para leerlo.", " No tiene permiso para escribirlo."},
    {EISDIR, "es una carpeta", " Es una carpeta.", nullptr},
    {ENOTDIR, "una parte de la ruta no es una carpeta", " Una parte de la ruta no es una carpeta.", nullptr},
    {ENOSPC, "no queda espacio en el disco", " No queda espacio en el disco.", nullptr},
    {EDQUOT, "se ha superado la cuota de disco", " Se ha superado la cuota de disco.", nullptr},
    {EFBIG, "el fichero supera el tama\u00f1o permitido", " El fichero supera el tama\u00f1o permitido.", nullptr},
    {ENXIO, "nadie lee de la tuber\u00eda o el dispositivo no existe",
     " Nadie lee de la tuber\u00eda, o el dispositivo no existe.", nullptr},
    {ELOOP, "demasiados enlaces simb\u00f3licos", " Hay demasiados enlaces simb\u00f3licos en la ruta.", nullptr},
    {EROFS, "sistema de ficheros de solo lectura", " El disco es de solo lectura.", nullptr},
    {EPIPE, "la tuber\u00eda est\u00e1 cerrada", " La tuber\u00eda se ha cerrado.", nullptr},
    {EIO, "error de entrada o salida", " Error de entrada o salida del disco.", nullptr},
    {ENAMETOOLONG, "el nombre es demasiado largo", " El nombre es demasiado largo.", nullptr},
    {ETXTBSY, "el fichero est\u00e1 en uso", " El fichero est\u00e1 en uso.", nullptr},
    {ECANCELED, "escritura cancelada: el lector no tomaba los datos",
     " Se ha cancelado la lectura: nadie escrib\u00eda en la tuber\u00eda.",
     " Se ha cancelado la escritura: el lector no tomaba los datos."},
    {EMFILE, nullptr, " Hay demasiados ficheros abiertos.", nullptr},
    {ENFILE, nullptr, " Hay demasiados ficheros abiertos.", nullptr},
};

const Palabras* Busca(int numero) {
    for (const Palabras& p : Tabla)
        if (p.numero == numero) return &p;
    return nullptr;
}

std::string ConMotivo(const std::string& mensaje, const std::string& motivo) {
    return motivo.empty() ? mensaje : mensaje + "\r\n" + motivo;
}

} // namespace

std::string DescripcionError(int numero) {
    const Palabras* p = Busca(numero);
    return p && p->fragmento ? p->fragmento : std::strerror(numero);
}

std::string MotivoFallo(const ErrorFichero& e, Operacion operacion) {
    if (e.numero == 0) return {};
    const Palabras* p = Busca(e.numero);
    if (!p) return " Error del sistema n\u00famero " + std::to_string(e.numero) + ".";
    return operacion == Operacion::Escritura && p->escritura ? p->escritura : p->lectura;
}

std::string MensajeFalloLectura(const ErrorFichero& e) {
    if (e.tipo == ErrorFichero::DemasiadoGrande) return MensajeDemasiadoGrande;
    return ConMotivo(MensajeErrorAbrirFichero, MotivoFallo(e, Operacion::Lectura));
}

std::string MensajeFalloEscritura(const ErrorFichero& e) {
    return ConMotivo(MensajeErrorGuardar, MotivoFallo(e, Operacion::Escritura));
}
