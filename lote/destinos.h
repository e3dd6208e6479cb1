#pragma once

#include "ficheros/ficheros.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Where orvalo-lote writes: SALIDA and the maps. Every destination is opened before the
// conversion and receives its text as it is made; only when the whole conversion succeeded
// are they committed, one after the other.

// A failure that ends the run with exit status 1 and this message (lines ended by "\n").
struct FalloLote {
    std::string mensaje;
};

// Two of the paths (role, path) that name the same file, as a usage error naming both: the
// same path, or the same file through links or hard links (its device and inode), or the same
// new name in the same folder. Nothing when they are all distinct; "-" is never compared.
std::optional<std::string> RutasRepetidas(const std::vector<std::pair<std::string, std::string>>& rutas);

// One output. A regular file (or a new one) is written to its temporary and renamed over at
// the commit; standard output ("-"), a device or a FIFO get their text from an unnamed
// temporary file only at the commit.
class Destino {
public:
    // Throws FalloLote when it cannot be opened.
    Destino(const std::string& ruta, std::ostream& salidaEstandar);
    ~Destino();
    Destino(const Destino&) = delete;
    Destino& operator=(const Destino&) = delete;

    void Escribe(std::string_view datos); // throws FalloLote
    void Confirma();                      // throws FalloLote
    // The path, or "salida estándar"; for messages.
    const std::string& Nombre() const { return nombre_; }
    // Its text is copied at the commit, not renamed into place.
    bool EnSitio() const { return temporal_ >= 0; }

private:
    [[noreturn]] void Falla(const std::string& porque) const;

    std::string nombre_;
    std::ostream& salida_;
    std::unique_ptr<Escritura> fichero_;
    int temporal_ = -1;
};

// Commits every destination: those written in place first, then those renamed into place.
// When one fails, throws FalloLote naming it, why, and which files were already written and
// which not.
void ConfirmaTodos(const std::vector<Destino*>& destinos);
