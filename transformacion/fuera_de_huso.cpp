#include "fuera_de_huso.h"

#include "geodesia/angulos.h"
#include "geodesia/formato.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double MaximoGrados = 3.5; // from the central meridian, the usual overlap included
constexpr double MitadHuso = 3;

struct Zona {
    int formato, huso;
};

// The farthest point of one group, whose longitudes (pseudo-sexagesimal) are in `longitudes`.
void Grupo(const Columna& longitudes, const std::vector<Zona>& zonas, std::optional<FueraDeHuso>& peor) {
    if (zonas.empty()) return;
    for (std::size_t i = 0; i < longitudes.size(); ++i) {
        if (!std::isfinite(longitudes[i])) continue;
        const double lambda = PseudoAGrados(longitudes[i]);
        const Zona* cerca = nullptr;
        double distancia = 0;
        for (const Zona& z : zonas) {
            const double d = std::fabs(lambda - (6 * z.huso - 183));
            if (!cerca || d < distancia) cerca = &z, distancia = d;
        }
        if (distancia > MaximoGrados && (!peor || distancia - MitadHuso > peor->grados))
            peor = FueraDeHuso{i + 1, cerca->formato, cerca->huso, distancia - MitadHuso};
    }
}

} // namespace

std::optional<FueraDeHuso> MasFueraDeHuso(const ConjuntoDatos& datos, const std::vector<int>& formatos) {
    auto muestra = [&](int f) { return std::find(formatos.begin(), formatos.end(), f) != formatos.end(); };
    std::vector<Zona> ed50, utm;
    if (muestra(1)) ed50.push_back({1, 30});
    if (muestra(2)) ed50.push_back({2, datos.husos.ed50});
    if (muestra(NumeroFormatos)) utm.push_back({NumeroFormatos, datos.husos.utm});
    std::optional<FueraDeHuso> peor;
    Grupo(datos.Columnas[ColumnaGeoEd50 + 1], ed50, peor);
    Grupo(datos.Columnas[ColumnaGeoWgs84 + 1], utm, peor);
    return peor;
}

std::string MensajeFueraDeHuso(const FueraDeHuso& f, Husos husos, bool etrs89) {
    return "El punto " + std::to_string(f.punto) + " queda a " + Fijo(f.grados, 2, ',') +
           "\u00b0 de longitud fuera del huso " + std::to_string(f.huso) + " (" + NombreFormato(f.formato, husos, etrs89) + ")";
}
