// orvalo-lote's whole conversion on arbitrary bytes (reading, blocks, output text): exactly
// the file the window writes for the same points (read, shown in the boxes, read back from
// them, transformed, written), or a refusal with exit status 1; never an abort.
#include "exige.h"
#include "geodesia/fallo.h"
#include "lote/lote.h"
#include "transformacion/datos.h"
#include "transformacion/entrada.h"
#include "transformacion/salida.h"
#include "transformacion/tuberias.h"

#include <optional>
#include <sstream>

namespace {

// What the window makes of a file: the output file's text; nothing when it refuses it.
// `incierto` when the window has no answer to compare: only its box limit refused the file,
// or line 1 names a zone or format 7, which orvalo-lote reads and the window does not.
std::optional<std::string> PorLaVentana(std::string_view t, bool& incierto) {
    const auto r = LeeFicheroEntrada(t);
    const auto conHusos = LeeFicheroEntrada(t, true);
    const auto* clasico = std::get_if<FicheroEntrada>(&r);
    const auto* lote = std::get_if<FicheroEntrada>(&conHusos);
    incierto = (clasico == nullptr) != (lote == nullptr) || (lote && (lote->huso || lote->formato != clasico->formato));
    if (incierto || !clasico) return std::nullopt;
    const FicheroEntrada& f = *clasico;
    if (f.puntos.c1.empty()) return std::string();
    const int k = 3 * (f.formato - 1);
    try {
        const auto leidas = LeeCajas(TextoCaja(f.puntos.c1, k), TextoCaja(f.puntos.c2, k + 1), TextoCaja(f.puntos.c3, k + 2));
        if (const auto* fallo = std::get_if<FalloLectura>(&leidas)) {
            incierto = fallo->mensaje == MensajeDemasiadosPuntos;
            return std::nullopt;
        }
        return TextoSalida(Transforma(f.formato, std::get<Columnas3>(leidas)));
    } catch (const FalloAritmetico&) {
        return std::nullopt;
    }
}

struct Ejecucion {
    int estado;
    std::string salida, errores;
};

Ejecucion Lote(std::string_view t, std::vector<std::string> args) {
    std::istringstream entrada{std::string(t)};
    std::ostringstream salida, errores;
    const int estado = EjecutaLote(args, entrada, salida, errores);
    return {estado, salida.str(), errores.str()};
}

// Standard error: lines of the program's own, free of control characters.
void ErroresLimpios(const std::string& e) {
    std::size_t inicio = 0;
    while (inicio < e.size()) {
        const std::size_t fin = e.find('\n', inicio);
        EXIGE(fin != std::string::npos);
        EXIGE(e.compare(inicio, 13, "orvalo-lote: ") == 0);
        for (std::size_t i = inicio; i < fin; ++i) EXIGE(static_cast<unsigned char>(e[i]) >= 0x20 && e[i] != 0x7F);
        inicio = fin + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n) {
    const std::string_view t = Texto(datos, n);
    const Ejecucion lote = Lote(t, {"-", "-"});
    EXIGE(lote.estado == 0 || lote.estado == 1);
    ErroresLimpios(lote.errores);
    if (lote.estado == 1) EXIGE(lote.salida.empty() && !lote.errores.empty()); // notes may come with a success
    bool incierto = false;
    const std::optional<std::string> ventana = PorLaVentana(t, incierto);
    if (ventana) EXIGE(lote.estado == 0 && lote.salida == *ventana);
    else if (!incierto) EXIGE(lote.estado == 1);
    // names, LF line ends and a map (to a device: no fsync per input): converted or refused
    const Ejecucion nombres = Lote(t, {"--nombres", "--lf", "--kml", "/dev/null", "-", "-"});
    EXIGE(nombres.estado == 0 || nombres.estado == 1);
    ErroresLimpios(nombres.errores);
    return 0;
}
