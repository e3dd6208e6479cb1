#pragma once

#include "datos.h"

// The pipeline of entry format `formato` (1 to 7) with the seven parameters: the entry columns
// as parsed, every other format computed from them; format 2 in zone husos.ed50 and format 7,
// UTM on the WGS84 ellipsoid, in zone husos.utm (not computed for HusoNoCalculado). A fresh data set; throws FalloAritmetico and
// then returns nothing, std::invalid_argument for a format or zone it does not have.
ConjuntoDatos Transforma(int formato, const Columnas3& entrada, Husos husos = {});
