#include "ficheros_qt.h"

#include "ficheros/ficheros.h"
#include "transformacion/entrada.h"

#include <QFile>
#include <QFileInfo>

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

bool GuardaAtomico(const QString& ruta, std::string_view datos) {
    return !GuardaFichero(QFile::encodeName(ruta).toStdString(), datos);
}
