#include "salida.h"

void AnadeLineaSalida(const ConjuntoDatos& datos, std::size_t i, std::string& destino,
                      const std::vector<int>& formatos) {
    bool primero = true;
    for (const int f : formatos) {
        const std::size_t k0 = PrimeraColumna(f);
        for (std::size_t k = k0; k < k0 + 3; ++k) {
            if (!primero) destino += k == k0 ? ';' : ',';
            primero = false;
            AnadeTextoDeColumna(datos.Columnas[k][i], static_cast<int>(k), destino);
        }
    }
}

std::string TextoSalida(const ConjuntoDatos& datos, const std::vector<int>& formatos) {
    std::string texto;
    const auto n = static_cast<std::size_t>(datos.NumPuntos);
    texto.reserve(n * (38 * formatos.size() + 2));
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0) texto += FinLinea;
        AnadeLineaSalida(datos, i, texto, formatos);
    }
    return texto;
}
