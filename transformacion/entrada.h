#pragma once

#include "geodesia/columna.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

// Input coordinate file: line 1 the format identifier 1 to 6, then one point a line, three
// values separated by commas. Line ends CR LF or LF.

inline const std::string MensajeErrorAbrir =
    " \u00a1Se ha producido un error al abrir el archivo! \r\n"
    " Es posible, entre otros, que el fichero contenga alg\u00fan dato no num\u00e9rico";
inline const std::string MensajeDemasiadoGrande = " \u00a1El fichero es demasiado grande! ";

// Largest number of points the window reads: the line counter is a 16-bit integer.
inline constexpr std::int64_t MaximoPuntosFichero = 32766;

struct FalloEntrada {
    enum Tipo { IdentificadorNoReconocido, General, DemasiadoGrande } tipo;
    std::string mensaje;
};

// " El indicador de tipo de datos <line 1 as read> no es reconocido ".
std::string MensajeIdentificador(std::string_view linea1);

// Line 1: its number rounded half to even to a 16-bit integer, and checked to be 1 to 6.
std::variant<int, FalloEntrada> LeeIdentificador(std::string_view linea1);

// Splits off line 1 (without its line end) and returns the rest of the text after it.
std::string_view SeparaPrimeraLinea(std::string_view texto, std::string_view& resto);

// Lines of a text: every line counts, blank ones included; a final line end adds none.
std::int64_t CuentaLineas(std::string_view texto);

// The stream of comma- and line-end-separated fields, read up to a fixed number of fields.
// Feed it whole lines (the last one may lack its line end); each field must pass the
// numeric test, or the reading fails.
class LectorCampos {
public:
    explicit LectorCampos(std::int64_t campos) : quedan_(campos) {}
    // Reads the fields of these lines into `valores`; false at a field that is not a number.
    bool Lee(std::string_view lineas, Columna& valores);
    std::int64_t Quedan() const { return quedan_; }

private:
    std::int64_t quedan_;
};

struct FicheroEntrada {
    int formato = 0;
    Columnas3 puntos; // first, second and third value of every point
};

// The whole file held in memory. `maximo` bounds the number of points (the window's limit).
std::variant<FicheroEntrada, FalloEntrada>
LeeFicheroEntrada(std::string_view contenido,
                  std::optional<std::int64_t> maximo = MaximoPuntosFichero);
