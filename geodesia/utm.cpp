#include "utm.h"

#include "angulos.h"
#include "elipsoide.h"
#include "fallo.h"

#include <array>
#include <cmath>
#include <stdexcept>

namespace {

constexpr double FalsoEste = 500000;
constexpr double K0 = 0.9996;
constexpr double Tolerancia = 5e-10;      // rad, footpoint iteration
constexpr int MaximoActualizaciones = 100; // a huge northing can cycle between two doubles

// e2^1 .. e2^5, each taken once with the power function.
struct PotenciasE {
    double e2, e4, e6, e8, e10;
    explicit PotenciasE(double e) :
        e2(e), e4(std::pow(e, 2)), e6(std::pow(e, 3)), e8(std::pow(e, 4)), e10(std::pow(e, 5)) {}
};

// T1 + T2 + T3 + T4 + T5 summed left to right, or with phi in front when conPhi.
double SumaTerminos(double phi, const PotenciasE& e, bool conPhi) {
    const double s = std::sin(phi);
    const double c = std::cos(phi);
    const double s3 = std::pow(s, 3), s5 = std::pow(s, 5), s7 = std::pow(s, 7),
                 s9 = std::pow(s, 9);
    // each bracket is the integral of sin^2k from 0 to phi, highest power of sin first
    const double t1 = ((3.0 / 2) * e.e2) * (-((1.0 / 2) * s) * c + (1.0 / 2) * phi);
    const double t2 =
        ((15.0 / 8) * e.e4) * ((-((1.0 / 4) * s3) * c - ((3.0 / 8) * s) * c) + (3.0 / 8) * phi);
    const double t3 = ((35.0 / 16) * e.e6) *
                      (((-((1.0 / 6) * s5) * c - ((5.0 / 24) * s3) * c) - ((5.0 / 16) * s) * c) +
                       (5.0 / 16) * phi);
    const double t4 = ((315.0 / 128) * e.e8) *
                      ((((-((1.0 / 8) * s7) * c - ((7.0 / 48) * s5) * c) - ((35.0 / 192) * s3) * c) -
                        ((35.0 / 128) * s) * c) +
                       (35.0 / 128) * phi);
    const double t5 =
        ((693.0 / 256) * e.e10) *
        (((((-((1.0 / 10) * s9) * c - ((9.0 / 80) * s7) * c) - ((21.0 / 160) * s5) * c) -
           ((21.0 / 128) * s3) * c) -
          ((63.0 / 256) * s) * c) +
         (63.0 / 256) * phi);
    if (conPhi) return ((((phi + t1) + t2) + t3) + t4) + t5;
    return (((t1 + t2) + t3) + t4) + t5;
}

// A row of a polynomial table: coefficients of t^0, t^2, t^4, ... (n of them).
struct Fila {
    int n;
    std::array<double, 5> c;
};

// Powers t^0, t^2, ..., t^8 and (eta^2)^0 .. (eta^2)^7, each taken once per point.
struct Potencias {
    std::array<double, 5> t;
    std::array<double, 8> eta;
    Potencias(double tt, double eta2) {
        t[0] = 1;
        for (int m = 1; m < 5; ++m) t[m] = std::pow(tt, 2 * m);
        eta[0] = 1;
        for (int j = 1; j < 8; ++j) eta[j] = std::pow(eta2, j);
    }
};

// Rows from `desde` on, one after the other, each in rising powers of t, added to `suma`.
template <std::size_t R>
double SumaFilas(double suma, const std::array<Fila, R>& tabla, std::size_t desde,
                 const Potencias& p) {
    for (std::size_t j = desde; j < R; ++j)
        for (int m = 0; m < tabla[j].n; ++m) suma = suma + (tabla[j].c[m] * p.eta[j]) * p.t[m];
    return suma;
}

// Whole polynomial, its eta-free row first.
template <std::size_t R>
double Polinomio(const std::array<Fila, R>& tabla, const Potencias& p) {
    double suma = tabla[0].c[0];
    for (int m = 1; m < tabla[0].n; ++m) suma = suma + tabla[0].c[m] * p.t[m];
    return SumaFilas(suma, tabla, 1, p);
}

// Inverse series: rows are powers of eta^2, columns powers of t.
constexpr std::array<Fila, 4> A4{{{2, {5, 3}}, {2, {6, -6}}, {2, {-3, -9}}, {1, {-4}}}};
constexpr std::array<Fila, 4> A5{{{3, {5, 28, 24}}, {2, {6, 8}}, {2, {-3, 4}}, {2, {-4, 24}}}};
constexpr std::array<Fila, 4> A6{
    {{3, {61, 90, 45}}, {3, {107, -162, -45}}, {3, {43, -318, 135}}, {3, {97, 18, 225}}}};
constexpr std::array<Fila, 6> A7{{{4, {61, 662, 1320, 720}},
                                  {3, {107, 440, 336}},
                                  {3, {43, -234, -192}},
                                  {3, {97, -772, 408}},
                                  {3, {188, -2392, 1536}},
                                  {3, {88, -1632, 1920}}}};
// eta-free row: the series coefficients 1385, 3633, 4095, 1575
constexpr std::array<Fila, 8> A8{{{4, {1385, 3633, 4095, 1575}},
                                  {4, {3116, -5748, 4704, -525}},
                                  {4, {1158, -17826, 37734, -9450}},
                                  {4, {-3500, 1164, 14006, -20790}},
                                  {4, {-11735, 29001, 13389, -45}},
                                  {3, {-20280, 64272, -15864}},
                                  {3, {-16144, 75408, -31872}},
                                  {3, {-4672, 30528, -23040}}}};
constexpr std::array<Fila, 8> A9{{{5, {1385, 24568, 83664, 100800, 40320}},
                                  {4, {3116, 26736, 47808, 24192}},
                                  {4, {1158, -4884, -20736, -13824}},
                                  {4, {-3500, 27104, 576, 12192}},
                                  {4, {-11735, 47788, -195984, 9788}},
                                  {4, {-20280, 459312, -817344, 178556}},
                                  {4, {-16144, 483712, -1239552, 437760}},
                                  {4, {-4672, 175680, -603648, 322560}}}};

// Direct series: the eta-free rows are grouped by hand below, so row 0 is not used here.
constexpr std::array<Fila, 2> P3{{{0, {}}, {1, {1}}}};
constexpr std::array<Fila, 4> P5{{{0, {}}, {2, {14, -58}}, {2, {13, -64}}, {2, {4, -24}}}};
constexpr std::array<Fila, 6> P7{{{0, {}},
                                  {3, {331, -3298, 177}},
                                  {3, {715, -8655, 6080}},
                                  {3, {769, -10964, 9480}},
                                  {3, {412, -5176, 6912}},
                                  {3, {88, -1632, 1920}}}};
constexpr std::array<Fila, 8> P9{{{0, {}},
                                  {5, {12284, -173088, 201468, -54979, -21}},
                                  {5, {45318, -883449, 1499197, -390607, -14}},
                                  {4, {90804, -2195193, 4594800, -1394064}},
                                  {4, {104073, -2875680, 7041648, -2644992}},
                                  {4, {68568, -2115840, 5968512, -2741760}},
                                  {4, {25552, -880192, 2811456, -1474560}},
                                  {4, {4672, -175680, 603648, -322560}}}};
constexpr std::array<Fila, 3> P4{{{0, {}}, {1, {9}}, {1, {4}}}};
constexpr std::array<Fila, 5> P6{
    {{0, {}}, {2, {270, -330}}, {2, {445, -680}}, {2, {324, -600}}, {2, {88, -192}}}};
constexpr std::array<Fila, 7> P8{{{0, {}},
                                  {4, {10889, -18634, 10787, 7}},
                                  {3, {34419, -120582, 49644}},
                                  {3, {56385, -252084, 121800}},
                                  {3, {47688, -242496, 151872}},
                                  {3, {20880, -121920, 94080}},
                                  {3, {4672, -30528, 23040}}}};

} // namespace

bool HusoValido(int huso) { return huso >= 1 && huso <= 60; }

double MeridianoCentral(int huso) {
    if (!HusoValido(huso)) throw std::invalid_argument("huso UTM 1 a 60");
    return (static_cast<double>(6 * huso - 183) / 180) * PiSistema;
}

double ArcoMeridiano(double phi, double a, double e2) {
    return ((1 - e2) * a) * SumaTerminos(phi, PotenciasE(e2), true);
}

namespace {

// Footpoint latitude: the latitude whose meridian arc is yr (reduced northing, metres), by
// fixed-point iteration until an update changes it by no more than the tolerance.
double PieDePerpendicular(double yr, double a, const PotenciasE& pe) {
    const double g = yr / ((1 - pe.e2) * a);
    double phi = g;
    double anterior;
    int actualizaciones = 0;
    do {
        if (actualizaciones == MaximoActualizaciones)
            throw FalloAritmetico("la latitud del pie de la perpendicular no converge");
        anterior = phi;
        phi = g - SumaTerminos(anterior, pe, false);
        ++actualizaciones;
    } while (std::fabs(phi - anterior) > Tolerancia);
    CompruebaFinito(phi, "desbordamiento en la latitud del pie de la perpendicular");
    return phi;
}

// The inverse series at the footpoint latitude phi for the reduced easting xr: the longitude
// difference from the central meridian and the latitude difference from phi, in radians.
struct Diferencias {
    double lambda, phi;
};

Diferencias SerieInversa(double xr, double phi, double a, const Excentricidades& ex) {
    const double cosPhi = std::cos(phi);
    const double N = a / std::sqrt(1 - ex.e2 * std::pow(std::sin(phi), 2));
    const double eta2 = ex.ep2 * std::pow(cosPhi, 2);
    const double t = std::tan(phi);
    const Potencias p(t, eta2);
    const double x2 = std::pow(xr, 2), x3 = std::pow(xr, 3), x4 = std::pow(xr, 4),
                 x5 = std::pow(xr, 5), x6 = std::pow(xr, 6), x7 = std::pow(xr, 7),
                 x8 = std::pow(xr, 8), x9 = std::pow(xr, 9);
    const double n2 = std::pow(N, 2), n3 = std::pow(N, 3), n4 = std::pow(N, 4),
                 n5 = std::pow(N, 5), n6 = std::pow(N, 6), n7 = std::pow(N, 7),
                 n8 = std::pow(N, 8), n9 = std::pow(N, 9);

    const double l1 = xr / (N * cosPhi);
    const double l3 = -x3 / ((6 * n3) * cosPhi) * (((p.t[1] + p.t[1]) + 1) + eta2);
    const double l5 = x5 / ((120 * n5) * cosPhi) * Polinomio(A5, p);
    const double l7 = -x7 / ((5040 * n7) * cosPhi) * Polinomio(A7, p);
    const double l9 = x9 / ((362880 * n9) * cosPhi) * Polinomio(A9, p);

    const double b2 = -x2 / (2 * n2) * t * (1 + eta2);
    const double b4 = x4 / (24 * n4) * t * Polinomio(A4, p);
    const double b6 = -x6 / (720 * n6) * t * Polinomio(A6, p);
    const double b8 = x8 / (40320 * n8) * t * Polinomio(A8, p);
    return {(((l1 + l3) + l5) + l7) + l9, ((b2 + b4) + b6) + b8};
}

} // namespace

Columnas3 UtmAGeodesicas(const Columna& x, const Columna& y, const Columna& alturas, int huso,
                         Elipsoide elipsoide) {
    const std::size_t n = x.size();
    const double lambda0 = MeridianoCentral(huso);
    const double a = elipsoide.a;
    const Excentricidades ex = ExcentricidadesDe(elipsoide);
    const PotenciasE pe(ex.e2);

    Columna latitudes(n), longitudes(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double xr = (x[i] - FalsoEste) / K0;
        const double yr = y[i] / K0;
        const double phi = PieDePerpendicular(yr, a, pe);
        const Diferencias d = SerieInversa(xr, phi, a, ex);
        longitudes[i] = lambda0 + d.lambda;
        latitudes[i] = phi + d.phi;
        // beyond a latitude of 90 degrees or half a turn of longitude the series have
        // diverged (near the pole, or far from the central meridian): no point, a fault
        if (!(std::fabs(latitudes[i]) <= PiSistema / 2) || !(std::fabs(longitudes[i]) <= PiSistema))
            throw FalloAritmetico("la serie no converge: punto demasiado cerca del polo o "
                                  "demasiado lejos del meridiano central");
    }

    ColumnasAngulo pseudo = RadianesAPseudo(latitudes, longitudes);
    for (std::size_t i = 0; i < n; ++i) {
        CompruebaFinito(pseudo.latitudes[i], "desbordamiento al calcular la latitud");
        CompruebaFinito(pseudo.longitudes[i], "desbordamiento al calcular la longitud");
    }
    return {std::move(pseudo.latitudes), std::move(pseudo.longitudes), alturas};
}

namespace {

// Everything of the direct series that depends on the latitude alone: shared by both zones.
struct TerminosLatitud {
    double N, t, cosPhi, m;
    double c2, c3, c4, c5, c6, c7, c8, c9; // powers of cos(phi)
    double p3, p5, p7, p9, p4, p6, p8;     // the brackets
};

TerminosLatitud EnLatitud(double phi, double a, const Excentricidades& ex, const PotenciasE& pe) {
    TerminosLatitud r{};
    r.cosPhi = std::cos(phi);
    r.N = a / std::sqrt(1 - ex.e2 * std::pow(std::sin(phi), 2));
    const double eta2 = std::pow(r.cosPhi, 2) * ex.ep2;
    r.t = std::tan(phi);
    const Potencias p(r.t, eta2);
    const double t2 = p.t[1], t4 = p.t[2], t6 = p.t[3], t8 = p.t[4];
    r.c2 = std::pow(r.cosPhi, 2);
    r.c3 = std::pow(r.cosPhi, 3);
    r.c4 = std::pow(r.cosPhi, 4);
    r.c5 = std::pow(r.cosPhi, 5);
    r.c6 = std::pow(r.cosPhi, 6);
    r.c7 = std::pow(r.cosPhi, 7);
    r.c8 = std::pow(r.cosPhi, 8);
    r.c9 = std::pow(r.cosPhi, 9);
    // brackets: the eta-free row grouped as the series is written, then the eta rows
    r.p3 = SumaFilas(1 - t2, P3, 1, p);
    r.p5 = SumaFilas(t4 + (5 - 18 * t2), P5, 1, p);
    r.p7 = SumaFilas((179 * t4 + (61 - 479 * t2)) - t6, P7, 1, p);
    r.p9 = SumaFilas(t8 + (((1385 - 20480 * t2) + 20690 * t4) - 1636 * t6), P9, 1, p);
    r.p4 = SumaFilas(5 - t2, P4, 1, p);
    r.p6 = SumaFilas(t4 + (61 - 58 * t2), P6, 1, p);
    r.p8 = SumaFilas(((1385 - 3595 * t2) + 543 * t4) - t6, P8, 1, p);
    r.m = ((1 - ex.e2) * a) * SumaTerminos(phi, pe, true);
    return r;
}

// Easting and northing for a longitude difference dl from the central meridian.
void Proyecta(const TerminosLatitud& l, double dl, double& x, double& y) {
    const double d2 = std::pow(dl, 2), d3 = std::pow(dl, 3), d4 = std::pow(dl, 4),
                 d5 = std::pow(dl, 5), d6 = std::pow(dl, 6), d7 = std::pow(dl, 7),
                 d8 = std::pow(dl, 8), d9 = std::pow(dl, 9);
    const double N = l.N, t = l.t;
    const double u1 = dl * N * l.cosPhi;
    const double u3 = (d3 / 6) * N * l.c3 * l.p3;
    const double u5 = (d5 / 120) * N * l.c5 * l.p5;
    const double u7 = (d7 / 5040) * N * l.c7 * l.p7;
    const double u9 = (d9 / 362880) * N * l.c9 * l.p9;
    x = FalsoEste + K0 * ((((u1 + u3) + u5) + u7) + u9);

    const double v2 = (d2 / 2) * N * t * l.c2;
    const double v4 = (d4 / 24) * N * t * l.c4 * l.p4;
    const double v6 = (d6 / 720) * N * t * l.c6 * l.p6;
    const double v8 = (d8 / 40320) * N * t * l.c8 * l.p8;
    y = K0 * ((((l.m + v2) + v4) + v6) + v8);

    CompruebaFinito(x, "desbordamiento al calcular la coordenada X");
    CompruebaFinito(y, "desbordamiento al calcular la coordenada Y");
}

} // namespace

Columnas3 GeodesicasAUtm(const Columna& latitudes, const Columna& longitudes,
                         const Columna& alturas, int huso, Elipsoide elipsoide) {
    const std::size_t n = latitudes.size();
    const double lambda0 = MeridianoCentral(huso);
    const ColumnasAngulo rad = PseudoARadianes(latitudes, longitudes);
    const Excentricidades ex = ExcentricidadesDe(elipsoide);
    const PotenciasE pe(ex.e2);
    Columnas3 r{Columna(n), Columna(n), alturas};
    for (std::size_t i = 0; i < n; ++i) {
        const TerminosLatitud l = EnLatitud(rad.latitudes[i], elipsoide.a, ex, pe);
        Proyecta(l, rad.longitudes[i] - lambda0, r.c1[i], r.c2[i]);
    }
    return r;
}

std::pair<Columnas3, Columnas3> GeodesicasADosHusos(const Columna& latitudes, const Columna& longitudes,
                                                    const Columna& alturas, int huso1, int huso2,
                                                    Elipsoide elipsoide) {
    const std::size_t n = latitudes.size();
    const double lambda1 = MeridianoCentral(huso1);
    const double lambda2 = MeridianoCentral(huso2);
    const ColumnasAngulo rad = PseudoARadianes(latitudes, longitudes);
    const Excentricidades ex = ExcentricidadesDe(elipsoide);
    const PotenciasE pe(ex.e2);
    std::pair<Columnas3, Columnas3> r{{Columna(n), Columna(n), alturas}, {Columna(n), Columna(n), alturas}};
    for (std::size_t i = 0; i < n; ++i) {
        const TerminosLatitud l = EnLatitud(rad.latitudes[i], elipsoide.a, ex, pe);
        Proyecta(l, rad.longitudes[i] - lambda1, r.first.c1[i], r.first.c2[i]);
        Proyecta(l, rad.longitudes[i] - lambda2, r.second.c1[i], r.second.c2[i]);
    }
    return r;
}
