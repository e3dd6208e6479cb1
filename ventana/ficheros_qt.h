#pragma once

#include <QByteArray>
#include <QString>

#include <string_view>

// Reading a whole file and saving one atomically, for the window and the editor.
enum class Lectura { Leido, NoSeAbre, DemasiadoGrande };

// The whole file into `bytes`: not for a folder, a file that cannot be read, or one larger
// than `maximo` bytes.
Lectura LeeFicheroEntero(const QString& ruta, qint64 maximo, QByteArray& bytes);

// Writes through QSaveFile: on any failure the previous file stays as it was.
bool GuardaAtomico(const QString& ruta, std::string_view datos);
