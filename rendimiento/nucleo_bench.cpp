// ns per point of each conversion, pipeline, layout and reader. Not part of the test suite.
#include "transformacion/entrada.h"
#include "transformacion/salida.h"
#include "geodesia/cartesianas.h"
#include "geodesia/formato.h"
#include "geodesia/similitud.h"
#include "geodesia/utm.h"
#include "transformacion/datos.h"
#include "transformacion/tuberias.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

namespace {

constexpr std::size_t N = 10000;

// Decimal degrees to pseudo-sexagesimal g.mmssffff.
double RadianesAPseudoGrados(double grados) {
    const double g = std::trunc(grados);
    const double m = std::trunc((grados - g) * 60);
    const double s = ((grados - g) * 60 - m) * 60;
    return g + m / 100 + s / 10000;
}

// Geodetic ED50 points over Spain, pseudo-sexagesimal.
Columnas3 PuntosGeodesicos(std::size_t n) {
    std::mt19937_64 g(42);
    std::uniform_real_distribution<double> lat(36, 43.5), lon(-9, 3.3), h(0, 3000);
    Columnas3 c;
    for (std::size_t i = 0; i < n; ++i) {
        c.c1.push_back(RadianesAPseudoGrados(lat(g)));
        c.c2.push_back(RadianesAPseudoGrados(lon(g)));
        c.c3.push_back(h(g));
    }
    return c;
}

const ConjuntoDatos& Datos() {
    static const ConjuntoDatos d = Transforma(3, PuntosGeodesicos(N));
    return d;
}

Columnas3 Entrada(int formato) {
    const auto k = static_cast<std::size_t>(3 * (formato - 1));
    return {Datos().Columnas[k], Datos().Columnas[k + 1], Datos().Columnas[k + 2]};
}

void PorPunto(benchmark::State& s, std::size_t n) {
    s.SetItemsProcessed(static_cast<int64_t>(s.iterations() * n));
}

void BM_UtmAGeodesicas(benchmark::State& s) {
    const Columnas3 e = Entrada(1);
    for (auto _ : s) benchmark::DoNotOptimize(UtmAGeodesicas(e.c1, e.c2, e.c3, 30));
    PorPunto(s, N);
}
void BM_GeodesicasAUtm(benchmark::State& s) {
    const Columnas3 e = Entrada(3);
    for (auto _ : s) benchmark::DoNotOptimize(GeodesicasAUtm(e.c1, e.c2, e.c3, 30));
    PorPunto(s, N);
}
void BM_GeodesicasACartesianas(benchmark::State& s) {
    const Columnas3 e = Entrada(3);
    for (auto _ : s) benchmark::DoNotOptimize(GeodesicasACartesianas(e.c1, e.c2, e.c3, ElipsoideEd50()));
    PorPunto(s, N);
}
void BM_CartesianasAGeodesicas(benchmark::State& s) {
    const Columnas3 e = Entrada(4);
    for (auto _ : s) benchmark::DoNotOptimize(CartesianasAGeodesicas(e.c1, e.c2, e.c3, ElipsoideEd50()));
    PorPunto(s, N);
}
void BM_TransformaCartesianas(benchmark::State& s) {
    const Columnas3 e = Entrada(4);
    for (auto _ : s) benchmark::DoNotOptimize(TransformaCartesianas(e.c1, e.c2, e.c3, ParametrosEd50AWgs84));
    PorPunto(s, N);
}
void BM_Tuberia(benchmark::State& s) {
    const int formato = static_cast<int>(s.range(0));
    const Columnas3 e = Entrada(formato);
    for (auto _ : s) benchmark::DoNotOptimize(Transforma(formato, e));
    PorPunto(s, N);
}
void BM_FormatoNumeroDeNumeroATexto(benchmark::State& s) {
    const Columna& c = Datos().Columnas[static_cast<std::size_t>(s.range(0))];
    for (auto _ : s)
        for (double v : c) benchmark::DoNotOptimize(TextoDeColumna(v, static_cast<int>(s.range(0))));
    PorPunto(s, N);
}
void BM_LecturaDeCajas(benchmark::State& s) {
    // a full box: 2340 points, just under 32767 characters
    Columna c(Datos().Columnas[0].begin(), Datos().Columnas[0].begin() + 2340);
    const std::string caja = TextoCaja(c, 0);
    for (auto _ : s) benchmark::DoNotOptimize(LeeCajas(caja, caja, caja));
    PorPunto(s, 2340);
}
void BM_LeeFicheroEntrada(benchmark::State& s) {
    std::string f = "3";
    const ConjuntoDatos& d = Datos();
    for (std::size_t i = 0; i < 32766; ++i) {
        const std::size_t j = i % N;
        f += "\r\n" + TextoDeColumna(d.Columnas[6][j], 6) + "," + TextoDeColumna(d.Columnas[7][j], 7) + "," +
             TextoDeColumna(d.Columnas[8][j], 8);
    }
    for (auto _ : s) benchmark::DoNotOptimize(LeeFicheroEntrada(f));
    PorPunto(s, 32766);
}
void BM_LineaSalida(benchmark::State& s) {
    std::string linea;
    for (auto _ : s) {
        for (std::size_t i = 0; i < N; ++i) {
            linea.clear();
            AnadeLineaSalida(Datos(), i, linea);
            benchmark::DoNotOptimize(linea);
        }
    }
    PorPunto(s, N);
}

BENCHMARK(BM_UtmAGeodesicas);
BENCHMARK(BM_GeodesicasAUtm);
BENCHMARK(BM_GeodesicasACartesianas);
BENCHMARK(BM_CartesianasAGeodesicas);
BENCHMARK(BM_TransformaCartesianas);
BENCHMARK(BM_Tuberia)->DenseRange(1, 6);
BENCHMARK(BM_FormatoNumeroDeNumeroATexto)->Arg(0)->Arg(6)->Arg(8);
BENCHMARK(BM_LecturaDeCajas);
BENCHMARK(BM_LeeFicheroEntrada);
BENCHMARK(BM_LineaSalida);

} // namespace

BENCHMARK_MAIN();
