// The one number grammar. A text the numeric test accepts gives a finite value, the one
// TextoANumero reads and the one std::from_chars reads from the text with its blanks trimmed;
// a text it refuses gives no value to any reader (the boxes, the input file).
#include "exige.h"
#include "geodesia/formato.h"
#include "transformacion/datos.h"
#include "transformacion/entrada.h"

#include <charconv>
#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n) {
    const std::string_view t = Texto(datos, n);
    const double leido = TextoANumero(t);
    const std::optional<double> v = NumeroValido(t);
    EXIGE(!std::isnan(leido));
    if (v) {
        EXIGE(std::isfinite(*v));
        EXIGE(*v == leido);
        EXIGE(t.find(',') == std::string_view::npos);
        // from_chars takes no "+" and no exponent letter D
        std::size_t i = 0, f = t.size();
        while (i < f && EsBlanco(t[i])) ++i;
        while (f > i && EsBlanco(t[f - 1])) --f;
        std::string limpio(t.substr(i, f - i));
        if (!limpio.empty() && limpio[0] == '+') limpio.erase(0, 1);
        for (char& c : limpio)
            if (c == 'D' || c == 'd') c = 'e';
        double esperado = 0;
        const auto r = std::from_chars(limpio.data(), limpio.data() + limpio.size(), esperado);
        EXIGE(r.ptr == limpio.data() + limpio.size());
        if (r.ec == std::errc::result_out_of_range) {
            EXIGE(*v == 0); // an underflow reads as zero; an overflow is refused
        } else {
            EXIGE(r.ec == std::errc());
            EXIGE(std::signbit(*v) == std::signbit(esperado));
            EXIGE(*v == esperado);
        }
    } else if (t.find_first_of(",\r\n") == std::string_view::npos) {
        EXIGE(std::holds_alternative<FalloLectura>(LeeCajas(t, t, t)));
        const std::string fichero = "3\r\n0,0," + std::string(t);
        EXIGE(std::holds_alternative<FalloEntrada>(LeeFicheroEntrada(fichero)));
    }
    return 0;
}
