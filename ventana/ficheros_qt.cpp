#include "ficheros_qt.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

Lectura LeeFicheroEntero(const QString& ruta, qint64 maximo, QByteArray& bytes) {
    QFile f(ruta);
    if (QFileInfo(ruta).isDir() || !f.open(QIODevice::ReadOnly)) return Lectura::NoSeAbre;
    if (f.size() > maximo) return Lectura::DemasiadoGrande;
    bytes = f.readAll();
    return f.error() == QFileDevice::NoError ? Lectura::Leido : Lectura::NoSeAbre;
}

bool GuardaAtomico(const QString& ruta, std::string_view datos) {
    QSaveFile f(ruta);
    const auto n = static_cast<qint64>(datos.size());
    return f.open(QIODevice::WriteOnly) && f.write(datos.data(), n) == n && f.commit();
}
