#pragma once

#include "ficheros/ficheros.h"

#include <string>

// What a person reads when a file could not be read or written: the command's message, then
// why, on a line of its own.

enum class Operacion { Lectura, Escritura };

// Why, as one sentence with a leading space (" El fichero no existe.", " Es una carpeta.");
// empty when the system gave no reason.
std::string MotivoFallo(const ErrorFichero& e, Operacion operacion);

// " ¡Se ha producido un error al abrir el archivo! " and the reason on the next line;
// " ¡El fichero es demasiado grande! " for a file over the limit.
std::string MensajeFalloLectura(const ErrorFichero& e);

// " ¡Se ha producido un error al guardar el archivo! " and the reason on the next line.
std::string MensajeFalloEscritura(const ErrorFichero& e);
