#include "salida.h"

#include "geodesia/formato.h"

void AnadeLineaSalida(const ConjuntoDatos& datos, std::size_t i, std::string& destino) {
    for (int k = 0; k < 18; ++k) {
        if (k > 0) destino += k % 3 == 0 ? ';' : ',';
        AnadeTextoDeColumna(datos.Columnas[static_cast<std::size_t>(k)][i], k, destino);
    }
}

std::string TextoSalida(const ConjuntoDatos& datos) {
    std::string texto;
    const auto n = static_cast<std::size_t>(datos.NumPuntos);
    texto.reserve(n * 228);
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0) texto += FinLinea;
        AnadeLineaSalida(datos, i, texto);
    }
    return texto;
}
