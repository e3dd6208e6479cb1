#pragma once

#include <QByteArray>
#include <QString>

#include <string_view>

// Reading a whole file and saving one, for the window and the editor, by the rules of
// ficheros/ficheros.h.
enum class Lectura { Leido, NoSeAbre, DemasiadoGrande };

// The whole file into `bytes`: not for a folder, a file that cannot be read, or one of more
// than `maximo` bytes (counted as they are read, for FIFOs and devices too).
Lectura LeeFicheroEntero(const QString& ruta, qint64 maximo, QByteArray& bytes);

// Replaces the file atomically (or writes a device or FIFO in place): on any failure a
// previous file stays as it was, and the result is false.
bool GuardaAtomico(const QString& ruta, std::string_view datos);
