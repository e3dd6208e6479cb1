// The UTM series against PROJ's transverse Mercator (an independent algorithm, exact to
// nanometres inside a zone), on every ellipsoid and zone the system uses, over Spain.
#include "geodesia/angulos.h"
#include "geodesia/utm.h"
#include "transformacion/tuberias.h"

#include <gtest/gtest.h>
#include <proj.h>

#include <cmath>
#include <memory>
#include <string>

namespace {

struct Proj {
    explicit Proj(const std::string& definicion) : contexto(proj_context_create()) {
        proj_context_set_enable_network(contexto, 0);
        pj = proj_create(contexto, definicion.c_str());
    }
    ~Proj() {
        if (pj) proj_destroy(pj);
        proj_context_destroy(contexto);
    }
    PJ_CONTEXT* contexto;
    PJ* pj = nullptr;
};

constexpr double Tolerancia = 0.6e-3; // m

// Every ellipsoid and zone the system uses; points every half degree over Spain's latitudes,
// up to 3.5 degrees either side of the central meridian, minutes whole so that g.mm is exact
// in both notations.
TEST(UtmContraProj, DirectaEInversaDentroDelHuso) {
    const struct {
        const char* nombre;
        const char* proj;
        Elipsoide e;
    } elipsoides[] = {{"ETRS89", "GRS80", ElipsoideGrs80()}, {"WGS84", "WGS84", ElipsoideWgs84()},
                      {"ED50", "intl", ElipsoideEd50()}};
    auto pseudo = [](double g) { return std::trunc(g) + (g - std::trunc(g)) * 0.6; };
    for (const auto& e : elipsoides)
        for (int huso : {29, 30, 31}) {
            const Proj proj("+proj=utm +zone=" + std::to_string(huso) + " +ellps=" + e.proj);
            ASSERT_NE(proj.pj, nullptr) << e.nombre;
            for (int lat2 = 2 * 36; lat2 <= 2 * 44; ++lat2)
                for (int lon2 = 2 * (6 * huso - 183) - 7; lon2 <= 2 * (6 * huso - 183) + 7; ++lon2) {
                    const double latitud = lat2 / 2.0, longitud = lon2 / 2.0; // degrees
                    const std::string donde = std::string(e.nombre) + " " + std::to_string(huso) + " " +
                                              std::to_string(latitud) + " " + std::to_string(longitud);
                    const PJ_COORD esperado =
                        proj_trans(proj.pj, PJ_FWD, proj_coord(longitud * M_PI / 180, latitud * M_PI / 180, 0, 0));
                    const Columnas3 r = GeodesicasAUtm({pseudo(latitud)}, {pseudo(longitud)}, {5}, huso, e.e);
                    EXPECT_NEAR(r.c1[0], esperado.enu.e, Tolerancia) << donde;
                    EXPECT_NEAR(r.c2[0], esperado.enu.n, Tolerancia) << donde;
                    // back: the geodetic position of PROJ's grid point, projected again by PROJ
                    const Columnas3 g = UtmAGeodesicas({esperado.enu.e}, {esperado.enu.n}, {5}, huso, e.e);
                    const PJ_COORD otra = proj_trans(proj.pj, PJ_FWD, proj_coord(PseudoAGrados(g.c2[0]) * M_PI / 180,
                                                                                 PseudoAGrados(g.c1[0]) * M_PI / 180, 0, 0));
                    EXPECT_NEAR(otra.enu.e, esperado.enu.e, Tolerancia) << donde;
                    EXPECT_NEAR(otra.enu.n, esperado.enu.n, Tolerancia) << donde;
                    EXPECT_EQ(g.c3[0], 5);
                }
        }
}

// The pipelines' UTM columns are PROJ's projection of their geodetic columns, in the zones
// chosen; entering format 7 gives back the geodetic WGS84 position it was made from.
TEST(UtmContraProj, FormatosDeLasTuberias) {
    // A Coruña, Madrid, Barcelona, Palma (geodetic ED50)
    const Columnas3 ed50{{43.2215, 40.25, 41.23, 39.34}, {-8.2435, -3.42, 2.10, 2.39}, {100, 650, 10, 20}};
    for (int huso : {29, 30, 31}) {
        const Husos husos{huso == 30 ? 31 : 29, huso};
        const ConjuntoDatos d = Transforma(3, ed50, husos);
        const std::size_t k = ColumnaUtmWgs84;
        const ConjuntoDatos v = Transforma(7, Columnas3{d.Columnas[k], d.Columnas[k + 1], d.Columnas[k + 2]}, husos);
        const struct {
            std::size_t geo, utm;
            int huso;
            const char* elipsoide;
        } grupos[] = {{ColumnaGeoEd50, ColumnaUtmEd50, husos.ed50, "intl"}, {ColumnaGeoWgs84, k, huso, "WGS84"}};
        for (const auto& g : grupos) {
            const Proj proj("+proj=utm +zone=" + std::to_string(g.huso) + " +ellps=" + g.elipsoide);
            for (std::size_t i = 0; i < 4; ++i) {
                const Columna &lat = d.Columnas[g.geo], &lon = d.Columnas[g.geo + 1];
                if (std::fabs(PseudoAGrados(lon[i]) - (6 * g.huso - 183)) > 3.5) continue; // outside the zone
                const PJ_COORD a = proj_trans(proj.pj, PJ_FWD, proj_coord(PseudoAGrados(lon[i]) * M_PI / 180,
                                                                          PseudoAGrados(lat[i]) * M_PI / 180, 0, 0));
                EXPECT_NEAR(d.Columnas[g.utm][i], a.enu.e, Tolerancia) << huso << " " << g.elipsoide << " " << i;
                EXPECT_NEAR(d.Columnas[g.utm + 1][i], a.enu.n, Tolerancia) << huso << " " << g.elipsoide << " " << i;
                EXPECT_EQ(d.Columnas[g.utm + 2][i], d.Columnas[g.geo + 2][i]) << "la h del grupo";
                if (g.utm != k) continue;
                for (std::size_t c = g.geo; c < g.geo + 3; ++c)
                    EXPECT_NEAR(v.Columnas[c][i], d.Columnas[c][i], 1e-9) << huso << " " << c << " " << i;
            }
        }
    }
}

TEST(UtmContraProj, HusosFueraDeLaRejillaUtm) {
    for (int huso : {0, 61, -30}) EXPECT_THROW(MeridianoCentral(huso), std::invalid_argument) << huso;
    EXPECT_THROW(GeodesicasAUtm({40}, {-3}, {0}, 0), std::invalid_argument);
    for (Husos h : {Husos{30, 30}, Husos{31, 28}, Husos{29, 32}})
        EXPECT_THROW(Transforma(3, Columnas3{{40}, {-3}, {0}}, h), std::invalid_argument) << h.ed50 << " " << h.utm;
    EXPECT_THROW(Transforma(8, Columnas3{{40}, {-3}, {0}}), std::invalid_argument);
}

} // namespace
