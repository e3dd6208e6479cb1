#pragma once

#include "transformacion/datos.h"
#include "transformacion/entrada.h"

#include <array>
#include <cstddef>
#include <string>

// The words the window shows about its data: format and column names, the reading stage's
// refusals with their place, and the status line under the boxes. UTF-8.

// How the formats are named: formats 5 to 7 hold ETRS89 with the official method; formats 2
// and 7 are named by their zones.
struct Rotulos {
    bool etrs89 = false;
    Husos husos;
};

// "UTM huso 29", "Geodésicas ETRS89", "UTM ETRS89 huso 30": format 1 to 7.
std::string NombreMostrado(int formato, const Rotulos& r = {});
// The letters over the boxes of a format: "X", "Y", "h" / "φ", "λ", "h" / "X", "Y", "Z".
const std::array<std::string, 3>& LetrasFormato(int formato);
// A table column's header: "UTM huso 30 X", "Geodésicas ETRS89 latitud"; k 0 to 20.
std::string NombreColumna(int k, const Rotulos& r = {});

// The refusal of the boxes of `formato` with its place: the line and column of a value that is
// not a number, or each box's line count ("φ: 10 líneas, λ: 10, h: 9").
std::string MensajeLectura(const FalloLectura& f, int formato);
// A refused input file: its message and, when the file was at fault, the line and the place.
std::string MensajeFicheroEntrada(const FalloEntrada& f);

// "2 340 puntos desde Geodésicas ED50".
std::string EstadoTransformado(int puntos, const std::string& formato);
// The same for points read from a file, which wait for their «< TRANSFORMAR >».
std::string EstadoLeido(int puntos, const std::string& formato);
// After Borrar: the results still go to the output file.
extern const std::string EstadoBorrado;
// Asked before a file read replaces points the user wrote in the boxes and never transformed.
extern const std::string PreguntaDescartarEscrito;
// A method or zone chosen while the boxes show results made with another one, or none.
std::string EstadoEleccionPendiente(const std::string& hecho, const std::string& elegido);
