// FormatoNumero on any text, widths 0 to 20 and decimals 0 to 12: the point stands where the
// width says and exactly the decimals asked follow it.
#include "exige.h"
#include "geodesia/fallo.h"
#include "geodesia/formato.h"

#include <cctype>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n) {
    if (n < 2) return 0;
    const int ancho = datos[0] % 21;
    const int decimales = datos[1] % 13;
    std::string r;
    try {
        r = FormatoNumero(Texto(datos + 2, n - 2), ancho, decimales);
    } catch (const FalloAritmetico&) {
        return 0; // beyond the double range: reported, not laid out
    }
    const std::size_t punto = r.find('.');
    EXIGE(punto != std::string::npos && r.find('.', punto + 1) == std::string::npos);
    EXIGE(r.size() - punto - 1 == static_cast<std::size_t>(decimales));
    for (std::size_t i = punto + 1; i < r.size(); ++i) EXIGE(std::isdigit(static_cast<unsigned char>(r[i])));
    // spaces, the sign position, at least one digit
    std::size_t i = 0;
    while (i < punto && r[i] == ' ') ++i;
    const std::size_t signo = r[i] == '-' ? i : i - 1;
    EXIGE(signo < punto && (r[signo] == ' ' || r[signo] == '-'));
    EXIGE(punto - signo >= 2);
    for (std::size_t j = signo + 1; j < punto; ++j) EXIGE(std::isdigit(static_cast<unsigned char>(r[j])));
    const std::size_t largoI = punto - signo;
    if (largoI <= static_cast<std::size_t>(ancho)) {
        EXIGE(punto == static_cast<std::size_t>(ancho));
    } else {
        EXIGE(signo == largoI - static_cast<std::size_t>(ancho));
    }
    return 0;
}
