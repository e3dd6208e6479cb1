#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

class QMimeData;

// Tables between the boxes and a spreadsheet.

// A value with a decimal comma read with "." as the decimal point: "440263,927" and
// "440.263,927" (points grouping thousands) give "440263.927". Any other text comes back as it is.
QString ComaDecimal(const QString& valor);

// The same for every line of a box.
QString ComasDecimales(const QString& texto);

// The three columns that a pasted block gives the boxes of format `formato` (1 to
// `formatos`): rows of three tab-separated values, or rows of a whole table of three columns
// a format (as "Copiar tabla" writes it) from that format's own columns. A header row that
// holds no number is skipped; decimal commas become points. Nothing when the text is neither.
std::optional<std::array<QStringList, 3>> ColumnasPegadas(const QString& texto, int formato, int formatos);

// What "Copiar tabla" puts in the clipboard: `columnas` (the boxes' lines, one list a column)
// under a header row, as tab-separated text and as an HTML table, each value with `decimal`
// as its decimal separator.
QMimeData* DatosTabla(const QStringList& cabecera, const std::vector<QStringList>& columnas, const QString& decimal);
