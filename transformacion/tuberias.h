#pragma once

#include "datos.h"

#include <optional>
#include <string>

// The pipeline of entry format `formato` (1 to 6): the entry columns as parsed, every other
// format computed from them. A fresh data set; throws FalloAritmetico and then returns nothing.
ConjuntoDatos Transforma(int formato, const Columnas3& entrada);

// The fault of point i alone through the pipeline and its layout, or nothing when it converts:
// for reports that name the point.
std::optional<std::string> FalloDelPunto(int formato, const Columnas3& entrada, std::size_t i);
