// The input-file reader on arbitrary bytes: read whole, or refused with one of its messages;
// the same points and refusals whatever pieces the bytes arrive in.
#include "exige.h"
#include "transformacion/entrada.h"

#include <cmath>

namespace {

// Lines after line 1, each ended by CR LF, LF or a lone CR; a final line end adds none.
std::size_t LineasDePuntos(std::string_view t) {
    std::size_t lineas = 0;
    bool empezada = false, primera = true;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '\r' || t[i] == '\n') {
            if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') ++i;
            if (!primera && !empezada) ++lineas; // a blank line
            primera = false;
            empezada = false;
        } else if (!primera && !empezada) {
            empezada = true;
            ++lineas;
        }
    }
    return lineas;
}

struct Lectura {
    std::size_t puntos;
    std::int64_t rechazos;
    std::vector<std::int64_t> lineas;
};

Lectura EnTrozos(std::string_view t, std::size_t trozo) {
    LectorEntrada l;
    for (std::size_t i = 0; i < t.size(); i += trozo) l.Lee(t.substr(i, trozo));
    l.Termina();
    const auto p = l.TomaPuntos();
    return {p.lineas.size(), l.TotalRechazos(), p.lineas};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n) {
    const std::string_view t = Texto(datos, n);
    const Lectura entera = EnTrozos(t, t.size() + 1);
    for (std::size_t trozo : {1, 2, 7}) {
        const Lectura partida = EnTrozos(t, trozo);
        EXIGE(partida.puntos == entera.puntos && partida.rechazos == entera.rechazos);
        EXIGE(partida.lineas == entera.lineas);
    }
    // with zones: the same points, or line 1 refused; a zone only where the format has one
    const auto z = LeeFicheroEntrada(t, true);
    if (const auto* e = std::get_if<FicheroEntrada>(&z)) {
        EXIGE(e->formato >= 1 && e->formato <= 7);
        if (e->huso) EXIGE(e->formato == 1 ? *e->huso == 30 : e->formato == 2 ? *e->huso == 29 || *e->huso == 31
                                                            : e->formato == 7 && *e->huso >= 29 && *e->huso <= 31);
    }
    const auto r = LeeFicheroEntrada(t);
    if (const auto* f = std::get_if<FalloEntrada>(&r)) {
        switch (f->tipo) {
        case FalloEntrada::General:
            EXIGE(f->mensaje == MensajeErrorAbrir);
            break;
        case FalloEntrada::DemasiadoGrande:
            EXIGE(f->mensaje == MensajeDemasiadoGrande);
            break;
        case FalloEntrada::IdentificadorNoReconocido:
            EXIGE(f->mensaje.rfind(" El indicador de tipo de datos ", 0) == 0);
            EXIGE(f->mensaje.size() <= 4 * 200 + 3 + 48);
            break;
        }
        if (f->rechazo) EXIGE(f->rechazo->texto.size() <= 4 * 40 + 3);
        return 0;
    }
    const FicheroEntrada& e = std::get<FicheroEntrada>(r);
    EXIGE(e.formato >= 1 && e.formato <= 6);
    EXIGE(t.substr(0, t.find_first_of("\r\n")).find(';') == std::string_view::npos); // no zone ignored
    const auto* conHusos = std::get_if<FicheroEntrada>(&z);
    EXIGE(conHusos && conHusos->formato == e.formato && !conHusos->huso);
    EXIGE(conHusos->puntos.c1 == e.puntos.c1 && conHusos->puntos.c2 == e.puntos.c2 && conHusos->puntos.c3 == e.puntos.c3);
    const std::size_t puntos = LineasDePuntos(t);
    EXIGE(e.puntos.c1.size() == puntos && e.puntos.c2.size() == puntos && e.puntos.c3.size() == puntos);
    EXIGE(puntos <= static_cast<std::size_t>(MaximoPuntosFichero));
    for (const Columna* c : {&e.puntos.c1, &e.puntos.c2, &e.puntos.c3})
        for (double v : *c) EXIGE(std::isfinite(v));
    return 0;
}
