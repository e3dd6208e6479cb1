#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QFont;
class QPagedPaintDevice;
class QPainter;

// Paints `texto` (lines ended by LF) in `fuente` with a painter begun on `dispositivo`, page
// after page: a line wider than the page is wrapped, never cut, and no line is split between
// two pages. `resolucion` is the device's, in dots per inch. False when a page could not be
// begun.
bool PintaPaginas(QPainter& pintor, QPagedPaintDevice& dispositivo, int resolucion, const QString& texto,
                  const QFont& fuente);

// The same pages as a PDF document on A4 paper; nothing when it could not be made.
std::optional<QByteArray> DocumentoPdf(const QString& texto, const QFont& fuente);
