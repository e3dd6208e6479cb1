#include "rejilla.h"

#include "geodesia/angulos.h"
#include "geodesia/cartesianas.h"
#include "geodesia/fallo.h"
#include "geodesia/formato.h"
#include "ficheros/ficheros.h"
#include "geodesia/utm.h"
#include "rejilla/sha256.h"
#include "texto/codificacion.h"
#include "transformacion/tuberias.h"

#include <proj.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <mutex>

#include <unistd.h>

#ifndef ORVALO_REJILLAS_FUENTE
#define ORVALO_REJILLAS_FUENTE ""
#define ORVALO_CARPETA_COMPILACION ""
#endif
#ifndef ORVALO_SHA256_REJILLA
#define ORVALO_SHA256_REJILLA ""
#define ORVALO_SHA256_GEOIDE ""
#endif

namespace {

// What the grid can hold for Spain, a second guard behind the digests: its shifts are -3.6"
// to -5.7" in latitude and longitude, its geoid heights N 38.7 m to 58.1 m.
constexpr double MaximoDesplazamiento = 10.0 / 3600.0 * M_PI / 180.0; // radians
constexpr double MinimoN = 30.0, MaximoN = 70.0;                      // metres

// A grid file as published: a regular file (a FIFO or device is refused at once, never
// waited on) whose SHA-256 is the one given in its LEEME.md. The refusal's words; empty when
// it is.
std::string CompruebaRejilla(const std::string& ruta, const std::string& publicada) {
    std::string bytes;
    if (const ErrorFichero e = LeeFicheroRegular(ruta, std::int64_t{1} << 30, bytes)) return DescribeFallo(ruta, e);
    Sha256 suma;
    suma.Anade(bytes);
    const std::string leida = suma.Hex();
    if (leida == publicada) return {};
    return BytesAUtf8(ruta) + ": " + DescripcionRejillaDanada + " (SHA-256 " + leida + "; publicada " + publicada + ")";
}

// A path as a PROJ parameter value: quoted, its quotes doubled, so that any folder works.
std::string Entrecomillada(const std::string& ruta) {
    std::string r = "\"";
    for (const char c : ruta) r += c == '"' ? std::string("\"\"") : std::string(1, c);
    return r + "\"";
}

// PROJ's own log lines (and libtiff's through it) are not the user's business.
void SinRegistro(void*, int, const char*) {}

// Without opening it: opening a FIFO to read would wait for a writer.
bool Existe(const std::string& ruta) { return ::access(ruta.c_str(), R_OK) == 0; }

// The folder of the running program.
std::string CarpetaDelPrograma() {
    char ruta[4096];
    const ssize_t n = ::readlink("/proc/self/exe", ruta, sizeof ruta - 1);
    if (n <= 0) return {};
    std::string r(ruta, static_cast<std::size_t>(n));
    return r.substr(0, r.rfind('/'));
}

// Pseudo-sexagesimal to the radians PROJ takes, and back; the angle notation uses its own pi.
double ARadianes(double pseudo) { return PseudoAGrados(pseudo) * (M_PI / 180.0); }
double APseudo(double radianes) { return RadianesAPseudo(radianes * (180.0 / M_PI) * (PiSistema / 180.0)); }

} // namespace

Rejillas BuscaRejillas() {
    std::vector<std::string> carpetas;
    if (const char* e = std::getenv("ORVALO_REJILLAS"); e && *e) {
        carpetas.emplace_back(e); // chosen by the user: that folder alone
    } else {
        const std::string programa = CarpetaDelPrograma();
        if (!programa.empty()) carpetas.push_back(programa + "/../share/orvalo/rejillas");
        // a program still in its build folder uses the source tree's; an installed one never
        const std::string compilacion = ORVALO_CARPETA_COMPILACION;
        if (*ORVALO_REJILLAS_FUENTE && !compilacion.empty() && programa.rfind(compilacion + "/", 0) == 0)
            carpetas.emplace_back(ORVALO_REJILLAS_FUENTE);
    }
    Rejillas r;
    for (const std::string& c : carpetas) {
        if (Existe(c + "/" + FicheroRejillaHorizontal) && Existe(c + "/" + FicheroGeoide)) {
            r.horizontal = c + "/" + FicheroRejillaHorizontal;
            r.geoide = c + "/" + FicheroGeoide;
            return r;
        }
    }
    // name the first file no folder has
    bool horizontal = false;
    for (const std::string& c : carpetas) horizontal = horizontal || Existe(c + "/" + FicheroRejillaHorizontal);
    r.falta = horizontal ? FicheroGeoide : FicheroRejillaHorizontal;
    return r;
}

std::string EstadoDiferencia(const Diferencia& d) {
    return ". Diferencia con la rejilla oficial del IGN: hasta " + Fijo(d.metros, 2, ',') + " m (punto " +
           std::to_string(d.punto) + ")";
}

std::string DescribeFueraDeRejilla() { return "fuera de la rejilla oficial del IGN (" + RectanguloRejilla + ")"; }

std::string MensajeFueraDeRejilla(std::size_t punto, const std::string& formato) {
    return " \u00a1Punto fuera de la rejilla oficial del IGN! \r\n Punto " + std::to_string(punto) + " (entrado en " +
           formato + "): la rejilla cubre " + RectanguloRejilla + ".\r\n " + AvisoCobertura +
           ".\r\n No se ha modificado ning\u00fan dato.";
}

FueraDeRejilla::FueraDeRejilla(std::size_t p)
    : std::runtime_error("punto " + std::to_string(p) + ": " + DescribeFueraDeRejilla()), punto(p) {}

struct Rejilla::Proj {
    PJ_CONTEXT* contexto = nullptr;
    PJ* tuberia = nullptr;
    std::mutex uso; // one conversion at a time: a PROJ object is not shared between threads
    ~Proj() {
        if (tuberia) proj_destroy(tuberia);
        if (contexto) proj_context_destroy(contexto);
    }
};

std::unique_ptr<Rejilla> Rejilla::Abre(const Rejillas& ficheros, std::string& error) {
    if (!ficheros.falta.empty()) {
        error = "no se encuentra " + ficheros.falta;
        return nullptr;
    }
    // one copy of the grids for the process, checked once, however many threads convert
    static std::mutex cierre;
    static std::map<std::string, std::weak_ptr<Proj>> abiertas;
    const std::lock_guard<std::mutex> bloqueo(cierre);
    std::weak_ptr<Proj>& abierta = abiertas[ficheros.horizontal + '\n' + ficheros.geoide];
    std::unique_ptr<Rejilla> r(new Rejilla);
    r->proj_ = abierta.lock();
    if (r->proj_) return r;
    for (const auto& [ruta, publicada] : {std::pair{ficheros.horizontal, std::string(ORVALO_SHA256_REJILLA)},
                                          std::pair{ficheros.geoide, std::string(ORVALO_SHA256_GEOIDE)}}) {
        error = CompruebaRejilla(ruta, publicada);
        if (!error.empty()) return nullptr;
    }
    r->proj_ = std::make_shared<Proj>();
    proj_log_func(nullptr, nullptr, SinRegistro); // the default context, which libtiff's errors reach
    r->proj_->contexto = proj_context_create();
    proj_log_func(r->proj_->contexto, nullptr, SinRegistro);
    proj_context_set_enable_network(r->proj_->contexto, 0);
    // latitude and longitude by the grid, then h = H + N at the ETRS89 position
    const std::string definicion = "+proj=pipeline +step +proj=hgridshift +grids=" + Entrecomillada(ficheros.horizontal) +
                                   " +step +proj=vgridshift +grids=" + Entrecomillada(ficheros.geoide) + " +multiplier=1";
    r->proj_->tuberia = proj_create(r->proj_->contexto, definicion.c_str());
    if (!r->proj_->tuberia) {
        error = BytesAUtf8(ficheros.horizontal) + ", " + BytesAUtf8(ficheros.geoide) + ": " + DescripcionRejillaDanada;
        return nullptr;
    }
    abierta = r->proj_;
    return r;
}

Rejilla::~Rejilla() = default;

std::optional<std::size_t> Rejilla::AEtrs89(Columna& latitudes, Columna& longitudes, Columna& alturas) {
    return Aplica(latitudes, longitudes, alturas, true);
}

std::optional<std::size_t> Rejilla::AEd50(Columna& latitudes, Columna& longitudes, Columna& alturas) {
    return Aplica(latitudes, longitudes, alturas, false);
}

std::optional<std::size_t> Rejilla::Aplica(Columna& latitudes, Columna& longitudes, Columna& alturas, bool directa) {
    const std::size_t n = latitudes.size();
    Columna lat(n), lon(n), h = alturas;
    for (std::size_t i = 0; i < n; ++i) {
        lat[i] = ARadianes(latitudes[i]);
        lon[i] = ARadianes(longitudes[i]);
    }
    int numero = 0;
    {
        const std::lock_guard<std::mutex> bloqueo(proj_->uso);
        proj_errno_reset(proj_->tuberia);
        proj_trans_generic(proj_->tuberia, directa ? PJ_FWD : PJ_INV, lon.data(), sizeof(double), n, lat.data(),
                           sizeof(double), n, h.data(), sizeof(double), n, nullptr, 0, 0);
        numero = proj_errno(proj_->tuberia);
    }
    // a grid PROJ could not read is damaged, never a point outside it
    const bool fueraONada = numero == 0 || numero == PROJ_ERR_COORD_TRANSFM_OUTSIDE_GRID ||
                            numero == PROJ_ERR_COORD_TRANSFM_GRID_AT_NODATA || numero == PROJ_ERR_COORD_TRANSFM_INVALID_COORD;
    std::optional<std::size_t> fuera;
    for (std::size_t i = 0; i < n; ++i) {
        // PROJ marks a point outside a grid with HUGE_VAL
        if (!std::isfinite(lat[i]) || !std::isfinite(lon[i]) || !std::isfinite(h[i]) || std::fabs(lat[i]) > M_PI) {
            if (!fueraONada) throw FalloAritmetico(DescripcionRejillaDanada);
            if (!fuera) fuera = i;
            latitudes[i] = longitudes[i] = alturas[i] = std::nan("");
            continue;
        }
        const double ondulacion = directa ? h[i] - alturas[i] : alturas[i] - h[i];
        if (!(std::fabs(lat[i] - ARadianes(latitudes[i])) <= MaximoDesplazamiento &&
              std::fabs(lon[i] - ARadianes(longitudes[i])) <= MaximoDesplazamiento && ondulacion >= MinimoN &&
              ondulacion <= MaximoN))
            throw FalloAritmetico(DescripcionRejillaDanada + ": desplazamiento imposible en Espa\u00f1a");
        latitudes[i] = APseudo(lat[i]);
        longitudes[i] = APseudo(lon[i]);
        alturas[i] = h[i];
    }
    return fuera;
}

namespace {

// Geodetic ETRS89 to UTM on GRS80 in the zone of format 7.
Columnas3 UtmEtrs89(const Columnas3& g, int huso) { return GeodesicasAUtm(g.c1, g.c2, g.c3, huso, ElipsoideGrs80()); }

} // namespace

ConjuntoDatos TransformaOficial(int formato, const Columnas3& entrada, Rejilla& rejilla, Husos husos) {
    ConjuntoDatos d;
    if (formato <= 4) {
        // the ED50 formats exactly as the seven-parameter pipeline computes them
        d = Transforma(formato, entrada, Husos{husos.ed50, HusoNoCalculado});
        Columnas3 g{d.Columnas[ColumnaGeoEd50], d.Columnas[ColumnaGeoEd50 + 1], d.Columnas[ColumnaGeoEd50 + 2]};
        if (const auto i = rejilla.AEtrs89(g.c1, g.c2, g.c3)) throw FueraDeRejilla(*i + 1);
        PonColumnas(d, ColumnaCartWgs84, GeodesicasACartesianas(g.c1, g.c2, g.c3, ElipsoideGrs80()));
        if (husos.utm != HusoNoCalculado) PonColumnas(d, ColumnaUtmWgs84, UtmEtrs89(g, husos.utm));
        PonColumnas(d, ColumnaGeoWgs84, std::move(g));
        d.husos = husos;
        return d;
    }
    Columnas3 etrs89;
    if (formato == 5) {
        etrs89 = entrada;
    } else if (formato == 6) {
        etrs89 = CartesianasAGeodesicas(entrada.c1, entrada.c2, entrada.c3, ElipsoideGrs80());
    } else {
        etrs89 = UtmAGeodesicas(entrada.c1, entrada.c2, entrada.c3, husos.utm, ElipsoideGrs80());
    }
    Columnas3 ed50 = etrs89;
    if (const auto i = rejilla.AEd50(ed50.c1, ed50.c2, ed50.c3)) throw FueraDeRejilla(*i + 1);
    d = Transforma(3, ed50, Husos{husos.ed50, HusoNoCalculado});
    PonColumnas(d, ColumnaCartWgs84,
                formato == 6 ? entrada : GeodesicasACartesianas(etrs89.c1, etrs89.c2, etrs89.c3, ElipsoideGrs80()));
    if (formato == 7) {
        PonColumnas(d, ColumnaUtmWgs84, entrada);
    } else if (husos.utm != HusoNoCalculado) {
        PonColumnas(d, ColumnaUtmWgs84, UtmEtrs89(etrs89, husos.utm));
    }
    PonColumnas(d, ColumnaGeoWgs84, etrs89);
    d.husos = husos;
    return d;
}

ConjuntoDatos TransformaPorMetodo(int formato, const Columnas3& entrada, Rejilla* rejilla, Husos husos) {
    return rejilla ? TransformaOficial(formato, entrada, *rejilla, husos) : Transforma(formato, entrada, husos);
}

ConjuntoDatos TransformaPorMetodoEnHilos(int formato, const Columnas3& entrada, Rejilla* rejilla, Husos husos) {
    const std::size_t n = entrada.c1.size();
    std::array<std::optional<ConjuntoDatos>, 2> mitades;
    const std::size_t partes = EnPartes(static_cast<int>(n), [&](std::size_t k, std::size_t de) {
        if (de == 1) {
            mitades[0] = TransformaPorMetodo(formato, entrada, rejilla, husos);
            return;
        }
        const auto desde = static_cast<std::ptrdiff_t>(k * n / 2), hasta = static_cast<std::ptrdiff_t>((k + 1) * n / 2);
        auto trozo = [&](const Columna& c) { return Columna(c.begin() + desde, c.begin() + hasta); };
        try {
            mitades[k] = TransformaPorMetodo(formato, Columnas3{trozo(entrada.c1), trozo(entrada.c2), trozo(entrada.c3)},
                                             rejilla, husos);
        } catch (...) {
            // the whole set runs again below
        }
    });
    if (partes == 1) return std::move(*mitades[0]);
    if (!mitades[0] || !mitades[1]) return TransformaPorMetodo(formato, entrada, rejilla, husos);
    ConjuntoDatos d = std::move(*mitades[0]);
    for (std::size_t k = 0; k < NumeroColumnas; ++k) {
        const Columna& resto = mitades[1]->Columnas[k];
        d.Columnas[k].insert(d.Columnas[k].end(), resto.begin(), resto.end());
    }
    d.NumPuntos = static_cast<int>(n);
    return d;
}

std::optional<FalloPunto> FalloDelPunto(int formato, const Columnas3& entrada, std::size_t i, Rejilla* rejilla,
                                        Husos husos) {
    try {
        MuestraResultados(
            TransformaPorMetodo(formato, Columnas3{{entrada.c1[i]}, {entrada.c2[i]}, {entrada.c3[i]}}, rejilla, husos));
        return std::nullopt;
    } catch (const FalloAritmetico& e) {
        return FalloPunto{false, e.what()};
    } catch (const FueraDeRejilla&) {
        return FalloPunto{true, {}};
    }
}

void RecorreFallos(int formato, const Columnas3& entrada, Rejilla* rejilla, Husos husos,
                   const std::function<bool(std::size_t, const FalloPunto&)>& cada) {
    for (std::size_t i = 0; i < entrada.c1.size(); ++i) {
        if (std::isnan(entrada.c1[i]) || std::isnan(entrada.c2[i]) || std::isnan(entrada.c3[i])) continue;
        const auto fallo = FalloDelPunto(formato, entrada, i, rejilla, husos);
        if (fallo && !cada(i, *fallo)) return;
    }
}

std::optional<Diferencia> DiferenciaConRejilla(const ConjuntoDatos& datos, Rejilla& rejilla) {
    Columnas3 oficial{datos.Columnas[6], datos.Columnas[7], datos.Columnas[8]};
    try {
        rejilla.AEtrs89(oficial.c1, oficial.c2, oficial.c3);
    } catch (const FalloAritmetico&) {
        return std::nullopt; // a damaged grid gives no distance; the official method reports it
    }
    const std::size_t n = oficial.c1.size();
    // both positions on the ellipsoid's surface: the chord is the horizontal distance
    const Columna ceros(n, 0.0);
    Columna lat(n), lon(n);
    for (std::size_t i = 0; i < n; ++i) {
        const bool dentro = std::isfinite(oficial.c1[i]);
        lat[i] = dentro ? oficial.c1[i] : 0;
        lon[i] = dentro ? oficial.c2[i] : 0;
    }
    const Columnas3 a = GeodesicasACartesianas(lat, lon, ceros, ElipsoideGrs80());
    const Columnas3 b = GeodesicasACartesianas(datos.Columnas[12], datos.Columnas[13], ceros, ElipsoideGrs80());
    std::optional<Diferencia> mayor;
    for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(oficial.c1[i])) continue;
        const double dx = a.c1[i] - b.c1[i], dy = a.c2[i] - b.c2[i], dz = a.c3[i] - b.c3[i];
        const double m = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (!mayor || m > mayor->metros) mayor = Diferencia{m, i + 1};
    }
    return mayor;
}
