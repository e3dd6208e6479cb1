#include "ficheros_qt.h"

#include "ficheros/ficheros.h"
#include "ficheros/motivos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QThread>

#include <atomic>
#include <thread>

#include <csignal>
#include <pthread.h>

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

} // namespace

QString CarpetaInicial() {
    const QString carpeta = QSettings().value(ClaveCarpeta).toString();
    return !carpeta.isEmpty() && QFileInfo(carpeta).isDir() ? carpeta : QDir::currentPath();
}

std::optional<QByteArray> AbreElegido(Dialogos& dialogos, QWidget* padre, RutasCompartidas& rutas, bool porVentana,
                                      qint64 maximo) {
    const auto ruta = dialogos.abrir(padre, FiltroFicheros, CarpetaInicial());
    if (!ruta) return std::nullopt;
    RecuerdaCarpeta(*ruta);
    rutas.NombreAbrir = *ruta;
    rutas.abrirPorVentana = porVentana;
    std::string leido;
    if (const ErrorFichero e = LeeFicheroEntero(QFile::encodeName(*ruta).toStdString(), maximo, leido)) {
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

namespace {

// Writes in place from a worker thread; after a moment without finishing, the wait shows.
void EscribeEnSitio(Dialogos& dialogos, QWidget* padre, const QString& ruta, Escritura& e, std::string_view datos) {
    std::atomic<bool> cancelado = false, terminado = false;
    std::thread escritor([&] {
        // a reader that quits or a size limit is an error of this write, never the program's end
        sigset_t senales;
        sigemptyset(&senales);
        sigaddset(&senales, SIGPIPE);
        sigaddset(&senales, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &senales, nullptr);
        (void)(e.Escribe(datos, &cancelado) && e.Confirma());
        terminado = true;
    });
    for (int i = 0; i < 30 && !terminado; ++i) QThread::msleep(10);
    if (!terminado)
        dialogos.espera(padre, QStringLiteral(" Esperando al lector\u2026 \r\n %1 ").arg(ruta),
                        [&] { return terminado.load(); }, [&] { cancelado = true; });
    escritor.join();
}

} // namespace

std::optional<QString> GuardaConEspera(Dialogos& dialogos, QWidget* padre, const QString& ruta, std::string_view datos) {
    const std::string nombre = QFile::encodeName(ruta).toStdString();
    Escritura e(nombre);
    if (e.EnSitio() && !e.Error())
        EscribeEnSitio(dialogos, padre, ruta, e, datos);
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
