#include "cartesianas.h"

#include "angulos.h"
#include "fallo.h"

#include <cmath>

Columnas3 GeodesicasACartesianas(const Columna& latitudes, const Columna& longitudes,
                                 const Columna& alturas, Elipsoide elipsoide) {
    const std::size_t n = latitudes.size();
    const double a = elipsoide.a;
    const double b = elipsoide.b;
    const double e2 = ExcentricidadesDe(elipsoide).e2;
    const double b2a2 = std::pow(b, 2) / std::pow(a, 2); // not 1 - e2
    const ColumnasAngulo rad = PseudoARadianes(latitudes, longitudes);

    Columnas3 r{Columna(n), Columna(n), Columna(n)};
    for (std::size_t i = 0; i < n; ++i) {
        // no point lies beyond a pole: 95 degrees would give a point on the other side of the earth
        if (std::fabs(PseudoAGrados(latitudes[i])) > 90) throw FalloAritmetico("latitud de m\u00e1s de 90 grados");
        const double phi = rad.latitudes[i];
        const double lambda = rad.longitudes[i];
        const double sinPhi = std::sin(phi);
        const double cosPhi = std::cos(phi);
        const double N = a / std::sqrt(1 - e2 * std::pow(sinPhi, 2));
        const double h = alturas[i];
        r.c1[i] = (h + N) * cosPhi * std::cos(lambda);
        r.c2[i] = (N + h) * cosPhi * std::sin(lambda);
        r.c3[i] = (b2a2 * N + h) * sinPhi;
        CompruebaFinito(r.c1[i], "desbordamiento al calcular la coordenada X");
        CompruebaFinito(r.c2[i], "desbordamiento al calcular la coordenada Y");
        CompruebaFinito(r.c3[i], "desbordamiento al calcular la coordenada Z");
    }
    return r;
}

namespace {

// arctan(Y/X) brought into the quadrant of (X, Y); pi is the system's literal value.
double Longitud(double x, double y) {
    if (x > 0) return std::atan(y / x);
    if (x < 0) return y >= 0 ? std::atan(y / x) + PiSistema : std::atan(y / x) - PiSistema;
    return y > 0 ? PiSistema / 2 : -PiSistema / 2;
}

} // namespace

Columnas3 CartesianasAGeodesicas(const Columna& xs, const Columna& ys, const Columna& zs,
                                 Elipsoide elipsoide) {
    const std::size_t n = xs.size();
    const double a = elipsoide.a;
    const double b = elipsoide.b;
    const auto [e2, ep2] = ExcentricidadesDe(elipsoide);

    Columna latitudes(n), longitudes(n), alturas(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double x = xs[i], y = ys[i], z = zs[i];
        const double p = std::sqrt(std::pow(x, 2) + std::pow(y, 2));
        if (!(p > 0.0)) throw FalloAritmetico("punto sobre el eje polar: división por cero");
        const double theta = std::atan(((a * z) / p) / b);
        const double lambda = Longitud(x, y);
        const double phi = std::atan((z + ep2 * b * std::pow(std::sin(theta), 3)) /
                                     (p - e2 * a * std::pow(std::cos(theta), 3)));
        const double N = a / std::sqrt(1 - e2 * std::pow(std::sin(phi), 2));
        const double h = p / std::cos(phi) - N;
        CompruebaFinito(phi, "desbordamiento al calcular la latitud");
        CompruebaFinito(h, "desbordamiento al calcular la altura");
        latitudes[i] = phi;
        longitudes[i] = lambda;
        alturas[i] = h;
    }
    ColumnasAngulo pseudo = RadianesAPseudo(latitudes, longitudes);
    return {std::move(pseudo.latitudes), std::move(pseudo.longitudes), std::move(alturas)};
}
