#pragma once

#include "transformacion/datos.h"

#include <string>

// Output coordinate file: one line a point, the eighteen values laid out as the boxes show
// them, "," within a format and ";" between formats, CR LF between lines and none after the
// last.

inline const std::string MensajeErrorGuardar =
    " \u00a1Se ha producido un error al guardar el archivo! ";

// Line of point i (0-based), without a line end, appended to `destino`.
void AnadeLineaSalida(const ConjuntoDatos& datos, std::size_t i, std::string& destino);

// The whole file.
std::string TextoSalida(const ConjuntoDatos& datos);
