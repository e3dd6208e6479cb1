#include "ficheros_qt.h"

#include "ficheros/ficheros.h"
#include "ficheros/motivos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QThread>

#include <atomic>
#include <functional>
#include <thread>

#include <csignal>
#include <pthread.h>
#include <sys/stat.h>

namespace {

const QString ClaveCarpeta = QStringLiteral("carpeta");

void RecuerdaCarpeta(const QString& ruta) { QSettings().setValue(ClaveCarpeta, QFileInfo(ruta).absolutePath()); }

// The save dialog's loop; every path chosen is kept in `rutas` when given, also one refused.
std::optional<QString> Elige(Dialogos& dialogos, QWidget* padre, const QString& filtro, const QString& nombre,
                             RutasCompartidas* rutas, bool porVentana) {
    QString inicial = nombre.isEmpty() ? CarpetaInicial() : QDir(CarpetaInicial()).filePath(nombre);
    while (true) {
        const auto ruta = dialogos.guardar(padre, filtro, inicial);
        if (!ruta) return std::nullopt;
        RecuerdaCarpeta(*ruta);
        if (rutas) {
            rutas->NombreGuardar = *ruta;
            rutas->guardarPorVentana = porVentana;
        }
        if (!QFileInfo::exists(*ruta) || dialogos.pregunta(padre, PreguntaSobreescribirFichero(*ruta, QString())))
            return ruta;
        inicial = *ruta;
    }
}

// Runs `trabajo` on a worker thread, given the flag Cancelar sets; after a moment without
// finishing, the wait `texto` shows and the interface goes on being drawn.
void EnHiloConEspera(Dialogos& dialogos, QWidget* padre, const QString& texto,
                     const std::function<void(const std::atomic<bool>*)>& trabajo) {
    std::atomic<bool> cancelado = false, terminado = false;
    std::thread hilo([&] {
        // writing, a reader that quits or a size limit is an error of the write, never the end
        sigset_t senales;
        sigemptyset(&senales);
        sigaddset(&senales, SIGPIPE);
        sigaddset(&senales, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &senales, nullptr);
        trabajo(&cancelado);
        terminado = true;
    });
    for (int i = 0; i < 30 && !terminado; ++i) QThread::msleep(10);
    if (!terminado) dialogos.espera(padre, texto, [&] { return terminado.load(); }, [&] { cancelado = true; });
    hilo.join();
}

// A FIFO, device or socket, whose writer may stall; a regular file, a folder or a missing path
// is read at once.
bool PuedeEsperar(const std::string& ruta) {
    struct stat st {};
    return ::stat(ruta.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

} // namespace

QString CarpetaInicial() {
    const QString carpeta = QSettings().value(ClaveCarpeta).toString();
    return !carpeta.isEmpty() && QFileInfo(carpeta).isDir() ? carpeta : QDir::currentPath();
}

std::optional<QByteArray> AbreElegido(Dialogos& dialogos, QWidget* padre, RutasCompartidas& rutas, bool porVentana,
                                      qint64 maximo, const std::optional<QString>& elegida) {
    const auto ruta = elegida ? elegida : dialogos.abrir(padre, FiltroFicheros, CarpetaInicial());
    if (!ruta) return std::nullopt;
    RecuerdaCarpeta(*ruta);
    rutas.NombreAbrir = *ruta;
    rutas.abrirPorVentana = porVentana;
    const std::string nombre = QFile::encodeName(*ruta).toStdString();
    std::string leido;
    ErrorFichero e;
    if (PuedeEsperar(nombre))
        EnHiloConEspera(dialogos, padre, QStringLiteral(" Esperando al escritor\u2026 \r\n %1 ").arg(*ruta),
                        [&](const std::atomic<bool>* cancelado) {
                            e = LeeFicheroEntero(nombre, maximo, leido, cancelado);
                        });
    else
        e = LeeFicheroEntero(nombre, maximo, leido);
    if (e) {
        dialogos.mensaje(padre, QString::fromStdString(MensajeFalloLectura(e)), Icono::Ninguno);
        return std::nullopt;
    }
    return QByteArray::fromStdString(leido);
}

std::optional<QString> EligeDestino(Dialogos& dialogos, QWidget* padre, const QString& filtro, const QString& nombre) {
    return Elige(dialogos, padre, filtro, nombre, nullptr, false);
}

std::optional<QString> EligeDestino(Dialogos& dialogos, QWidget* padre, RutasCompartidas& rutas, bool porVentana) {
    return Elige(dialogos, padre, FiltroFicheros, QString(), &rutas, porVentana);
}

std::optional<QString> GuardaConEspera(Dialogos& dialogos, QWidget* padre, const QString& ruta, std::string_view datos) {
    const std::string nombre = QFile::encodeName(ruta).toStdString();
    Escritura e(nombre);
    if (e.EnSitio() && !e.Error())
        EnHiloConEspera(dialogos, padre, QStringLiteral(" Esperando al lector\u2026 \r\n %1 ").arg(ruta),
                        [&](const std::atomic<bool>* cancelado) {
                            (void)(e.Escribe(datos, cancelado) && e.Confirma());
                        });
    else
        (void)(e.Escribe(datos) && e.Confirma());
    if (!e.Error()) return std::nullopt;
    return QString::fromStdString(MensajeFalloEscritura(e.Error()));
}

std::optional<QString> FalloAlGuardar(const QString& ruta, std::string_view datos) {
    if (const ErrorFichero e = GuardaFichero(QFile::encodeName(ruta).toStdString(), datos))
        return QString::fromStdString(MensajeFalloEscritura(e));
    return std::nullopt;
}
