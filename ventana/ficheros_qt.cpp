#include "ficheros_qt.h"

#include "ficheros/ficheros.h"

#include <QFile>

Lectura LeeFicheroEntero(const QString& ruta, qint64 maximo, QByteArray& bytes) {
    std::string leido;
    switch (LeeFicheroEntero(QFile::encodeName(ruta).toStdString(), maximo, leido).tipo) {
    case ErrorFichero::Ninguno:
        bytes = QByteArray::fromStdString(leido);
        return Lectura::Leido;
    case ErrorFichero::DemasiadoGrande:
        return Lectura::DemasiadoGrande;
    default:
        return Lectura::NoSeAbre;
    }
}

bool GuardaAtomico(const QString& ruta, std::string_view datos) {
    return !GuardaFichero(QFile::encodeName(ruta).toStdString(), datos);
}
