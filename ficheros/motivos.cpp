#include "motivos.h"

#include "transformacion/entrada.h"
#include "transformacion/salida.h"

#include <cerrno>

namespace {

std::string ConMotivo(const std::string& mensaje, const std::string& motivo) {
    return motivo.empty() ? mensaje : mensaje + "\r\n" + motivo;
}

} // namespace

std::string MotivoFallo(const ErrorFichero& e, Operacion operacion) {
    const bool lectura = operacion == Operacion::Lectura;
    switch (e.numero) {
    case 0: return {};
    // writing, a missing name is the folder's: the file itself is created
    case ENOENT: return lectura ? " El fichero no existe." : " La carpeta no existe.";
    case EACCES:
    case EPERM: return lectura ? " No tiene permiso para leerlo." : " No tiene permiso para escribirlo.";
    case EISDIR: return " Es una carpeta.";
    case ENOTDIR: return " Una parte de la ruta no es una carpeta.";
    case ENOSPC: return " No queda espacio en el disco.";
    case EDQUOT: return " Se ha superado la cuota de disco.";
    case EFBIG: return " El fichero supera el tama\u00f1o permitido.";
    case ENXIO: return " Nadie lee de la tuber\u00eda, o el dispositivo no existe.";
    case ELOOP: return " Hay demasiados enlaces simb\u00f3licos en la ruta.";
    case EROFS: return " El disco es de solo lectura.";
    case EPIPE: return " La tuber\u00eda se ha cerrado.";
    case EIO: return " Error de entrada o salida del disco.";
    case ENAMETOOLONG: return " El nombre es demasiado largo.";
    case ETXTBSY: return " El fichero est\u00e1 en uso.";
    case ECANCELED: return " Se ha cancelado la escritura: el lector no tomaba los datos.";
    case EMFILE:
    case ENFILE: return " Hay demasiados ficheros abiertos.";
    default: return " Error del sistema n\u00famero " + std::to_string(e.numero) + ".";
    }
}

std::string MensajeFalloLectura(const ErrorFichero& e) {
    if (e.tipo == ErrorFichero::DemasiadoGrande) return MensajeDemasiadoGrande;
    return ConMotivo(MensajeErrorAbrirFichero, MotivoFallo(e, Operacion::Lectura));
}

std::string MensajeFalloEscritura(const ErrorFichero& e) {
    return ConMotivo(MensajeErrorGuardar, MotivoFallo(e, Operacion::Escritura));
}
