#include "ficheros_qt.h"

#include "ficheros/ficheros.h"
#include "transformacion/entrada.h"
#include "transformacion/salida.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <atomic>
#include <thread>

#include <csignal>
#include <pthread.h>

std::optional<QByteArray> AbreElegido(Dialogos& dialogos, QWidget* padre, RutasCompartidas& rutas, bool porVentana,
                                      qint64 maximo, const QString& noSeAbre) {
    const auto ruta = dialogos.abrir(padre, FiltroFicheros);
    if (!ruta) return std::nullopt;
    rutas.NombreAbrir = *ruta;
    rutas.abrirPorVentana = porVentana;
    std::string leido;
    switch (LeeFicheroEntero(QFile::encodeName(*ruta).toStdString(), maximo, leido).tipo) {
    case ErrorFichero::Ninguno:
        return QByteArray::fromStdString(leido);
    case ErrorFichero::DemasiadoGrande:
        dialogos.mensaje(padre, QString::fromStdString(MensajeDemasiadoGrande), Icono::Ninguno);
        return std::nullopt;
    default:
        dialogos.mensaje(padre, noSeAbre, Icono::Ninguno);
        return std::nullopt;
    }
}

std::optional<QString> EligeDestino(Dialogos& dialogos, QWidget* padre, RutasCompartidas& rutas, bool porVentana) {
    while (true) {
        const auto ruta = dialogos.guardar(padre, FiltroFicheros);
        if (!ruta) return std::nullopt;
        rutas.NombreGuardar = *ruta;
        rutas.guardarPorVentana = porVentana;
        if (!QFileInfo::exists(*ruta) || dialogos.pregunta(padre, PreguntaSobreescribirFichero(*ruta, QString())))
            return ruta;
    }
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
    return QString::fromStdString(MensajeErrorGuardar + "\r\n " + DescribeFallo(nombre, e.Error()));
}
