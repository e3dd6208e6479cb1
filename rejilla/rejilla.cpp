#include "rejilla.h"

#include "geodesia/angulos.h"
#include "geodesia/cartesianas.h"
#include "geodesia/fallo.h"
#include "geodesia/utm.h"
#include "transformacion/tuberias.h"

#include <proj.h>

#include <cmath>
#include <cstdlib>
#include <fstream>

#include <unistd.h>

#ifndef ORVALO_REJILLAS_FUENTE
#define ORVALO_REJILLAS_FUENTE ""
#define ORVALO_CARPETA_COMPILACION ""
#endif

namespace {

bool Existe(const std::string& ruta) { return std::ifstream(ruta).good(); }

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

FueraDeRejilla::FueraDeRejilla(std::size_t p)
    : std::runtime_error("punto " + std::to_string(p) + " fuera de la rejilla oficial del IGN"), punto(p) {}

struct Rejilla::Proj {
    PJ_CONTEXT* contexto = nullptr;
    PJ* tuberia = nullptr;
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
    std::unique_ptr<Rejilla> r(new Rejilla);
    r->proj_ = std::make_unique<Proj>();
    r->proj_->contexto = proj_context_create();
    proj_context_set_enable_network(r->proj_->contexto, 0);
    proj_log_level(r->proj_->contexto, PJ_LOG_NONE);
    // latitude and longitude by the grid, then h = H + N at the ETRS89 position
    const std::string definicion = "+proj=pipeline +step +proj=hgridshift +grids=" + ficheros.horizontal +
                                   " +step +proj=vgridshift +grids=" + ficheros.geoide + " +multiplier=1";
    r->proj_->tuberia = proj_create(r->proj_->contexto, definicion.c_str());
    if (!r->proj_->tuberia) {
        error = "no se pueden leer " + FicheroRejillaHorizontal + " y " + FicheroGeoide + ": " +
                proj_context_errno_string(r->proj_->contexto, proj_context_errno(r->proj_->contexto));
        return nullptr;
    }
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
    Columna lat(n), lon(n);
    for (std::size_t i = 0; i < n; ++i) {
        lat[i] = ARadianes(latitudes[i]);
        lon[i] = ARadianes(longitudes[i]);
    }
    proj_trans_generic(proj_->tuberia, directa ? PJ_FWD : PJ_INV, lon.data(), sizeof(double), n, lat.data(),
                       sizeof(double), n, alturas.data(), sizeof(double), n, nullptr, 0, 0);
    std::optional<std::size_t> fuera;
    for (std::size_t i = 0; i < n; ++i) {
        // PROJ marks a point outside a grid with HUGE_VAL
        if (!std::isfinite(lat[i]) || !std::isfinite(lon[i]) || !std::isfinite(alturas[i]) ||
            std::fabs(lat[i]) > M_PI) {
            if (!fuera) fuera = i;
            latitudes[i] = longitudes[i] = alturas[i] = std::nan("");
            continue;
        }
        latitudes[i] = APseudo(lat[i]);
        longitudes[i] = APseudo(lon[i]);
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
        d = Transforma(formato, entrada, husos);
        Columnas3 g{d.Columnas[ColumnaGeoEd50], d.Columnas[ColumnaGeoEd50 + 1], d.Columnas[ColumnaGeoEd50 + 2]};
        if (const auto i = rejilla.AEtrs89(g.c1, g.c2, g.c3)) throw FueraDeRejilla(*i + 1);
        PonColumnas(d, ColumnaCartWgs84, GeodesicasACartesianas(g.c1, g.c2, g.c3, ElipsoideGrs80()));
        PonColumnas(d, ColumnaUtmWgs84, UtmEtrs89(g, husos.utm));
        PonColumnas(d, ColumnaGeoWgs84, std::move(g));
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
    d = Transforma(3, ed50, husos);
    PonColumnas(d, ColumnaCartWgs84,
                formato == 6 ? entrada : GeodesicasACartesianas(etrs89.c1, etrs89.c2, etrs89.c3, ElipsoideGrs80()));
    PonColumnas(d, ColumnaUtmWgs84, formato == 7 ? entrada : UtmEtrs89(etrs89, husos.utm));
    PonColumnas(d, ColumnaGeoWgs84, etrs89);
    return d;
}

ConjuntoDatos TransformaPorMetodo(int formato, const Columnas3& entrada, Rejilla* rejilla, Husos husos) {
    return rejilla ? TransformaOficial(formato, entrada, *rejilla, husos) : Transforma(formato, entrada, husos);
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
    rejilla.AEtrs89(oficial.c1, oficial.c2, oficial.c3);
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
