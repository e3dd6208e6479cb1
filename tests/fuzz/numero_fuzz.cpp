// The numeric test and TextoANumero: a text the test accepts gives a finite value, the one
// TextoANumero reads.
#include "exige.h"
#include "geodesy/formato.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n) {
    const std::string_view t = Texto(datos, n);
    const double leido = TextoANumero(t);
    const std::optional<double> v = NumeroValido(t);
    EXIGE(v.has_value() == EsNumerico(t));
    if (v) {
        EXIGE(std::isfinite(*v));
        EXIGE(*v == leido || (std::isnan(*v) && std::isnan(leido)));
        EXIGE(t.find(',') == std::string_view::npos);
    }
    EXIGE(!std::isnan(leido));
    return 0;
}
