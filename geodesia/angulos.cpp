#include "angulos.h"

#include <cmath>

double PseudoARadianes(double x) {
    const bool negativo = x < 0;
    const double g = std::trunc(x);
    const double v = (x - g) * 100;
    double m = std::trunc(v);
    double s = (v - m) * 100;
    // the carry absorbs the representation error of 40.3 (29' 99.99999...")
    if (std::fabs(s) > 99.9999) {
        s = 0;
        m = negativo ? m - 1 : m + 1;
    }
    const double grados = (g + m / 60) + s / 3600;
    return (grados / 180) * PiSistema;
}

double RadianesAPseudo(double r) {
    double v = std::fabs((r * 180) / PiSistema);
    double g = std::trunc(v);
    v = (v - g) * 60;
    double m = std::trunc(v);
    double s = (v - m) * 60;
    if (r < 0) {
        g = -g;
        m = -m;
        s = -s;
    }
    return (g + m / 100) + s / 10000;
}

namespace {

template <typename F>
ColumnasAngulo Convierte(const Columna& latitudes, const Columna& longitudes, F f) {
    ColumnasAngulo r;
    r.latitudes.resize(latitudes.size());
    r.longitudes.resize(longitudes.size());
    for (std::size_t i = 0; i < latitudes.size(); ++i) r.latitudes[i] = f(latitudes[i]);
    for (std::size_t i = 0; i < longitudes.size(); ++i) r.longitudes[i] = f(longitudes[i]);
    return r;
}

} // namespace

ColumnasAngulo PseudoARadianes(const Columna& latitudes, const Columna& longitudes) {
    return Convierte(latitudes, longitudes, [](double x) { return PseudoARadianes(x); });
}

ColumnasAngulo RadianesAPseudo(const Columna& latitudes, const Columna& longitudes) {
    return Convierte(latitudes, longitudes, [](double r) { return RadianesAPseudo(r); });
}
