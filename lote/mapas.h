#pragma once

#include "transformacion/datos.h"

#include <cstdint>
#include <string>
#include <vector>

// The points of a conversion for a map viewer: KML and GeoJSON (RFC 7946, longitude first),
// the WGS84 (or ETRS89) columns in decimal degrees with 9 decimals and heights in metres, as
// the boxes show them. Each point is named by its name, or by its number from 1 (GeoJSON:
// "name", which GDAL and most viewers read, and "nombre").

// A point's name, or its number when it has none.
std::string NombreDelPunto(const std::vector<std::string>& nombres, std::size_t i, std::int64_t primerPunto);

// The document is named `titulo`; `sistema`, the reference system, is its description.
std::string CabeceraKml(const std::string& titulo, const std::string& sistema);
std::string PuntosKml(const ConjuntoDatos& d, const std::vector<std::string>& nombres, std::int64_t primerPunto);
std::string PieKml();

std::string CabeceraGeoJson();
// The features of a block; all but the first block's first start with a comma.
std::string PuntosGeoJson(const ConjuntoDatos& d, const std::vector<std::string>& nombres, std::int64_t primerPunto);
std::string PieGeoJson();
