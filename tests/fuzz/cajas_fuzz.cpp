// The reading stage on three arbitrary box texts: either three columns of one finite value
// a line, or one of its messages.
#include "exige.h"
#include "transformacion/datos.h"

#include <algorithm>
#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n) {
    const std::string_view t = Texto(datos, n);
    // three boxes separated by the byte 0xFF, which no box text holds
    const std::size_t a = t.find('\xff');
    const std::size_t b = a == std::string_view::npos ? a : t.find('\xff', a + 1);
    const std::string_view c1 = t.substr(0, a);
    const std::string_view c2 = a == std::string_view::npos ? std::string_view() : t.substr(a + 1, b - a - 1);
    const std::string_view c3 = b == std::string_view::npos ? std::string_view() : t.substr(b + 1);
    const auto r = LeeCajas(c1, c2, c3);
    if (const auto* f = std::get_if<FalloLectura>(&r)) {
        EXIGE(f->mensaje == MensajeDistintoNumero || f->mensaje == MensajeNoNumerico ||
              f->mensaje == MensajeDemasiadosPuntos);
        return 0;
    }
    const Columnas3& col = std::get<Columnas3>(r);
    const auto lineas = static_cast<std::size_t>(std::count(c1.begin(), c1.end(), '\r')) + 1;
    EXIGE(col.c1.size() == lineas && col.c2.size() == lineas && col.c3.size() == lineas);
    for (const Columna* c : {&col.c1, &col.c2, &col.c3})
        for (double v : *c) EXIGE(std::isfinite(v));
    return 0;
}
