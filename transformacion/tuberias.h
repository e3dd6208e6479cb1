#pragma once

#include "datos.h"

// The pipeline of entry format `formato` (1 to 6): the entry columns as parsed, every other
// format computed from them. A fresh data set; throws FalloAritmetico and then returns nothing.
ConjuntoDatos Transforma(int formato, const Columnas3& entrada);
