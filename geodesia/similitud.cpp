#include "similitud.h"

#include "fallo.h"

Columnas3 TransformaCartesianas(const Columna& xs, const Columna& ys, const Columna& zs,
                                const Parametros7& p) {
    const std::size_t n = xs.size();
    Columnas3 r{Columna(n), Columna(n), Columna(n)};
    for (std::size_t i = 0; i < n; ++i) {
        const double x = xs[i], y = ys[i], z = zs[i];
        r.c1[i] = x * p.p4 + (x + p.p1) + y * p.p5 - z * p.p6;
        r.c2[i] = y * p.p4 + (y + p.p2) - x * p.p5 + z * p.p7;
        r.c3[i] = z * p.p4 + (z + p.p3) + x * p.p6 - y * p.p7;
        CompruebaFinito(r.c1[i], "desbordamiento en la transformación de semejanza");
        CompruebaFinito(r.c2[i], "desbordamiento en la transformación de semejanza");
        CompruebaFinito(r.c3[i], "desbordamiento en la transformación de semejanza");
    }
    return r;
}
