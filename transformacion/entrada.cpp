#include "entrada.h"

#include "geodesia/formato.h"

#include <algorithm>
#include <cmath>
#include <new>

std::string MensajeIdentificador(std::string_view linea1) {
    // a line of megabytes would not fit any message box: quote its start
    constexpr std::size_t Maximo = 200;
    std::string citada(linea1.substr(0, Maximo));
    if (linea1.size() > Maximo) {
        while (!citada.empty() && (static_cast<unsigned char>(citada.back()) & 0xC0) == 0x80) citada.pop_back();
        if (!citada.empty() && (static_cast<unsigned char>(citada.back()) & 0x80)) citada.pop_back();
        citada += "...";
    }
    return " El indicador de tipo de datos " + citada + " no es reconocido ";
}

std::variant<int, FalloEntrada> LeeIdentificador(std::string_view linea1) {
    const double v = std::nearbyint(TextoANumero(linea1)); // halves to even
    if (!(v >= -32768 && v <= 32767)) return FalloEntrada{FalloEntrada::General, MensajeErrorAbrir};
    if (v < 1 || v > 6)
        return FalloEntrada{FalloEntrada::IdentificadorNoReconocido, MensajeIdentificador(linea1)};
    return static_cast<int>(v);
}

std::string_view SeparaPrimeraLinea(std::string_view texto, std::string_view& resto) {
    const std::size_t lf = texto.find('\n');
    std::string_view linea = texto.substr(0, lf);
    resto = lf == std::string_view::npos ? std::string_view() : texto.substr(lf + 1);
    if (!linea.empty() && linea.back() == '\r') linea.remove_suffix(1);
    return linea;
}

std::int64_t CuentaLineas(std::string_view texto) {
    const auto lf = static_cast<std::int64_t>(std::count(texto.begin(), texto.end(), '\n'));
    return lf + (!texto.empty() && texto.back() != '\n' ? 1 : 0);
}

bool LectorCampos::Lee(std::string_view lineas, Columna& valores) {
    std::size_t inicio = 0;
    while (quedan_ > 0 && inicio <= lineas.size()) {
        if (inicio == lineas.size()) {
            // nothing after a final line end: no further line
            if (inicio > 0 && lineas[inicio - 1] == '\n') break;
        }
        const std::size_t fin = lineas.find_first_of(",\n", inicio);
        const std::string_view campo = lineas.substr(
            inicio, fin == std::string_view::npos ? std::string_view::npos : fin - inicio);
        const std::optional<double> v = NumeroValido(campo);
        if (!v) return false;
        valores.push_back(*v);
        --quedan_;
        if (fin == std::string_view::npos) break;
        inicio = fin + 1;
    }
    return true;
}

std::variant<FicheroEntrada, FalloEntrada> LeeFicheroEntrada(std::string_view contenido,
                                                             std::optional<std::int64_t> maximo) {
    try {
        if (contenido.empty()) return FalloEntrada{FalloEntrada::General, MensajeErrorAbrir};
        std::string_view resto;
        const std::string_view linea1 = SeparaPrimeraLinea(contenido, resto);
        const auto identificador = LeeIdentificador(linea1);
        if (const auto* f = std::get_if<FalloEntrada>(&identificador)) return *f;

        const std::int64_t n = CuentaLineas(resto);
        if (maximo && n > *maximo) return FalloEntrada{FalloEntrada::General, MensajeErrorAbrir};

        Columna valores;
        valores.reserve(static_cast<std::size_t>(3 * n));
        LectorCampos lector(3 * n);
        if (!lector.Lee(resto, valores) || lector.Quedan() > 0)
            return FalloEntrada{FalloEntrada::General, MensajeErrorAbrir};

        FicheroEntrada r;
        r.formato = std::get<int>(identificador);
        for (Columna* c : {&r.puntos.c1, &r.puntos.c2, &r.puntos.c3}) c->resize(static_cast<std::size_t>(n));
        for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
            r.puntos.c1[i] = valores[3 * i];
            r.puntos.c2[i] = valores[3 * i + 1];
            r.puntos.c3[i] = valores[3 * i + 2];
        }
        return r;
    } catch (const std::bad_alloc&) {
        return FalloEntrada{FalloEntrada::DemasiadoGrande, MensajeDemasiadoGrande};
    }
}
