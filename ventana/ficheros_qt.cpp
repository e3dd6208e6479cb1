#include "ficheros_qt.h"

#include "ficheros/ficheros.h"
#include "ficheros/motivos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

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

std::optional<QString> FalloAlGuardar(const QString& ruta, std::string_view datos) {
    if (const ErrorFichero e = GuardaFichero(QFile::encodeName(ruta).toStdString(), datos))
        return QString::fromStdString(MensajeFalloEscritura(e));
    return std::nullopt;
}
