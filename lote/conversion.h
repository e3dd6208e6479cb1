#pragma once

#include "destinos.h"

#include "rejilla/rejilla.h"
#include "transformacion/entrada.h"
#include "transformacion/fuera_de_huso.h"
#include "transformacion/opciones.h"

#include <cstdint>
#include <future>
#include <istream>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The conversion of orvalo-lote: the input read as a stream, its points converted in blocks on
// every core, each value first rounded as its box shows it, and the output text (and the
// maps' points) handed to the destinations in order while nothing has been refused.

// Lines longer than this are refused instead of held in memory.
inline constexpr std::size_t MaximoLineaLote = std::size_t(1) << 20;
// Refused lines reported one by one; the rest are counted.
inline constexpr std::size_t MaximoDiagnosticos = 20;

// Opened grids for the worker threads, each used by one thread at a time.
class ReservaRejillas {
public:
    // the first one at once: a grid that cannot be read ends the run before any work
    explicit ReservaRejillas(Rejillas ficheros);
    std::unique_ptr<Rejilla> Toma();
    void Devuelve(std::unique_ptr<Rejilla> r);

private:
    std::unique_ptr<Rejilla> Abre() const;

    Rejillas ficheros_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Rejilla>> libres_;
};

// What a run makes besides the six formats.
struct Opciones {
    bool nombres = false; // lines start with a point name
    bool lf = false;      // every output line ends with LF
    ReservaRejillas* rejillas = nullptr; // the official method
    OpcionesFormatos formatos;           // zones stated and formats written
    Husos husos;                         // the zones of this file, once its line 1 is read
};

// Where the converted text goes: the output, and the maps when asked for.
struct Salidas {
    Destino* salida;
    Destino* kml = nullptr;
    Destino* geojson = nullptr;
};

// One refused line, for standard error.
struct Diagnostico {
    std::int64_t linea;
    std::string texto;
};

// The result of one block of points: its output text, or the faults of its points.
struct Bloque {
    std::string texto;
    std::string kml, geojson;           // the block's points for a map
    std::vector<Diagnostico> fallos;    // the first MaximoDiagnosticos
    std::int64_t totalFallos = 0;
    std::int64_t fueraDeRango = 0;      // entry values too large for their column
    std::string aritmetico;             // the first arithmetic fault's description; empty: none
    std::optional<FueraDeHuso> fuera;   // the block's point farthest outside its zone
    std::int64_t lineaFuera = 0;        // and its line
};

class Conversion {
public:
    // `nombre`: the input's name in diagnostics.
    Conversion(std::string nombre, std::istream& entrada, Salidas salidas, Opciones opciones);

    // The diagnostics, each a line without the program's name; empty when the whole file
    // converted. Throws FalloLote when a destination cannot be written.
    std::vector<std::string> Ejecuta();
    // After a whole conversion: the point farthest outside its zone, with its line, if any.
    std::optional<std::string> Aviso() const;

private:
    void Reparte(bool fin);
    void Lanza();
    void Espera();
    std::vector<std::string> Diagnosticos() const;

    std::string nombre_;
    std::istream& entrada_;
    Salidas salidas_;
    Opciones opciones_;
    LectorEntrada lector_;
    int formato_ = 0;
    std::size_t puntosLanzados_ = 0;
    LectorEntrada::Puntos acumulado_;
    std::vector<LectorEntrada::Puntos> listos_;
    std::vector<std::future<Bloque>> enCurso_;
    std::vector<Diagnostico> fallos_;
    std::int64_t totalFallos_ = 0;
    std::int64_t fueraDeRango_ = 0;
    std::string aritmetico_;
    std::string falloHusos_; // the zones of line 1 refused
    std::optional<FueraDeHuso> fuera_;
    std::int64_t lineaFuera_ = 0;
};
