// The input-file reader on arbitrary bytes: read whole, or refused with one of its messages.
#include "exige.h"
#include "transformacion/entrada.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n) {
    const std::string_view t = Texto(datos, n);
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
            EXIGE(f->mensaje.size() <= 260);
            break;
        }
        return 0;
    }
    const FicheroEntrada& e = std::get<FicheroEntrada>(r);
    EXIGE(e.formato >= 1 && e.formato <= 6);
    std::string_view resto;
    SeparaPrimeraLinea(t, resto);
    const auto puntos = static_cast<std::size_t>(CuentaLineas(resto));
    EXIGE(e.puntos.c1.size() == puntos && e.puntos.c2.size() == puntos && e.puntos.c3.size() == puntos);
    EXIGE(puntos <= static_cast<std::size_t>(MaximoPuntosFichero));
    for (const Columna* c : {&e.puntos.c1, &e.puntos.c2, &e.puntos.c3})
        for (double v : *c) EXIGE(std::isfinite(v));
    return 0;
}
