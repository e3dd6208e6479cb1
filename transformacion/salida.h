#pragma once

#include "transformacion/datos.h"

#include <string>
#include <vector>

// Output coordinate file: one line a point, the values of the formats asked for (by default
// the six classic ones, eighteen values) laid out as the boxes show them, "," within a format
// and ";" between formats, CR LF between lines and none after the last.

// Formats 1 to 6 in order: every line as it has always been.
inline const std::vector<int> FormatosClasicos{1, 2, 3, 4, 5, 6};

inline const std::string MensajeErrorGuardar =
    " \u00a1Se ha producido un error al guardar el archivo! ";

// Line of point i (0-based), without a line end, appended to `destino`.
// `formatos`: numbers 1 to 7, in the order written.
void AnadeLineaSalida(const ConjuntoDatos& datos, std::size_t i, std::string& destino,
                      const std::vector<int>& formatos = FormatosClasicos);

// The whole file.
std::string TextoSalida(const ConjuntoDatos& datos, const std::vector<int>& formatos = FormatosClasicos);
