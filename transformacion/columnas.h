#pragma once

#include "geodesia/formato.h"

#include <array>
#include <cstddef>
#include <string>

// The coordinate columns of a data set, three per format in format order; each constant is
// the first column of its format. UTM huso 30, UTM huso 31 (or 29), geodetic ED50, Cartesian
// ED50, geodetic WGS84/ETRS89, Cartesian WGS84/ETRS89, and the seventh format, UTM on the
// WGS84/ETRS89 side in a chosen zone.
enum Columna0 : std::size_t {
    ColumnaUtm30 = 0,
    ColumnaUtmEd50 = 3,
    ColumnaGeoEd50 = 6,
    ColumnaCartEd50 = 9,
    ColumnaGeoWgs84 = 12,
    ColumnaCartWgs84 = 15,
    ColumnaUtmWgs84 = 18,
};

inline constexpr int NumeroFormatos = 7;
inline constexpr std::size_t NumeroColumnas = 21;
// The first six formats: the eighteen columns of the window's classic table and output file.
inline constexpr std::size_t ColumnasClasicas = 18;

// First column of format f (1 to 7).
constexpr std::size_t PrimeraColumna(int formato) { return static_cast<std::size_t>(3 * (formato - 1)); }

inline constexpr std::array<FormatoColumna, NumeroColumnas> FormatosColumnas{{
    {8, 3}, {8, 3}, {6, 3}, // UTM zone 30: X, Y, h (m)
    {8, 3}, {8, 3}, {6, 3}, // UTM zone 31 or 29
    {3, 8}, {3, 8}, {6, 3}, // geodetic ED50: latitude, longitude (g.mmssffff), h
    {8, 3}, {8, 3}, {8, 3}, // Cartesian ED50: X, Y, Z
    {3, 8}, {3, 8}, {6, 3}, // geodetic WGS84
    {8, 3}, {8, 3}, {8, 3}, // Cartesian WGS84
    {8, 3}, {8, 3}, {6, 3}, // UTM WGS84/ETRS89: X, Y, h
}};

// FormatoNumero(NumeroATexto(v)) with column k's width and decimals: the text a box shows.
inline void AnadeTextoDeColumna(double v, int k, std::string& destino) {
    AnadeFormateado(v, FormatosColumnas[static_cast<std::size_t>(k)], destino);
}
inline std::string TextoDeColumna(double v, int k) {
    std::string s;
    AnadeTextoDeColumna(v, k, s);
    return s;
}

// The value that text reads back as: TextoANumero(TextoDeColumna(v, k)).
inline double ValorMostrado(double v, int k) { return ValorFormateado(v, FormatosColumnas[static_cast<std::size_t>(k)]); }
