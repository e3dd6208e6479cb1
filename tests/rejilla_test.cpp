#include "geodesia/angulos.h"
#include "rejilla/rejilla.h"
#include "transformacion/tuberias.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double Grados(double pseudo) { return PseudoARadianes(pseudo) * (180.0 / PiSistema); }

class Oficial : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        rejilla = Rejilla::Abre(BuscaRejillas(), error);
        ASSERT_NE(rejilla, nullptr) << error;
    }
    std::unique_ptr<Rejilla> rejilla;
};

// PROJ 9.1.1 with the IGN's two files; ED50 in g.mmssffff, altitude H = 100 m.
TEST_F(Oficial, ValoresConocidos) {
    struct Caso {
        const char* nombre;
        double latitud, longitud; // ED50, pseudo-sexagesimal
        double latitudEtrs89, longitudEtrs89, altura; // degrees, m
    } casos[] = {
        {"Madrid", 40.250048, -3.421368, 40.415618706, -3.705109140, 151.112},
        {"C\xc3\xa1" "diz", 36.31372, -6.171896, 36.525722618, -6.289956036, 144.921},
        {"Palma", 39.341056, 2.390072, 39.568424734, 2.649096652, 149.035},
    };
    for (const Caso& c : casos) {
        const ConjuntoDatos d = TransformaOficial(3, Columnas3{{c.latitud}, {c.longitud}, {100}}, *rejilla);
        EXPECT_NEAR(Grados(d.Columnas[12][0]), c.latitudEtrs89, 2e-9) << c.nombre;
        EXPECT_NEAR(Grados(d.Columnas[13][0]), c.longitudEtrs89, 2e-9) << c.nombre;
        EXPECT_NEAR(d.Columnas[14][0], c.altura, 6e-4) << c.nombre;
        // the ED50 formats are those of the seven-parameter pipeline
        const ConjuntoDatos siete = Transforma(3, Columnas3{{c.latitud}, {c.longitud}, {100}});
        for (std::size_t k = 0; k < 12; ++k) EXPECT_EQ(d.Columnas[k], siete.Columnas[k]) << c.nombre << " " << k;
    }
}

// ED50 -> ETRS89 -> ED50 within a millimetre, through each ETRS89 entry format.
TEST_F(Oficial, IdaYVuelta) {
    const Columnas3 ed50{{40.250048, 36.31372, 39.341056, 43.2200}, {-3.421368, -6.171896, 2.390072, -8.2400},
                         {100, 0, 2500.5, -10}};
    const ConjuntoDatos ida = TransformaOficial(3, ed50, *rejilla);
    for (int formato : {5, 6, 7}) {
        const std::size_t k = PrimeraColumna(formato);
        const ConjuntoDatos vuelta =
            TransformaOficial(formato, Columnas3{ida.Columnas[k], ida.Columnas[k + 1], ida.Columnas[k + 2]}, *rejilla);
        for (std::size_t i = 0; i < 4; ++i) {
            for (std::size_t c : {9, 10, 11}) // Cartesian ED50: metres
                EXPECT_NEAR(vuelta.Columnas[c][i], ida.Columnas[c][i], 1e-3) << formato << " " << i << " " << c;
            EXPECT_NEAR(vuelta.Columnas[8][i], ed50.c3[i], 1e-3) << formato << " " << i;
        }
    }
}

// ED50 UTM 29 -> ETRS89 UTM 29 -> ED50 UTM 29 within a millimetre, in Galicia; format 2 and
// format 7 both in zone 29, altitudes H of 100 m.
TEST_F(Oficial, Galicia29IdaYVuelta) {
    const Husos huso29{29, 29};
    const Columnas3 ed50{{547824, 522691, 537206}, {4802253, 4676266, 4747583}, {100, 100, 100}}; // A Coruña, Vigo, Santiago
    const ConjuntoDatos ida = TransformaOficial(2, ed50, *rejilla, huso29);
    const std::size_t k = ColumnaUtmWgs84;
    const ConjuntoDatos vuelta =
        TransformaOficial(7, Columnas3{ida.Columnas[k], ida.Columnas[k + 1], ida.Columnas[k + 2]}, *rejilla, huso29);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(vuelta.Columnas[ColumnaUtmEd50][i], ed50.c1[i], 1e-3) << i;
        EXPECT_NEAR(vuelta.Columnas[ColumnaUtmEd50 + 1][i], ed50.c2[i], 1e-3) << i;
        EXPECT_NEAR(vuelta.Columnas[ColumnaUtmEd50 + 2][i], 100, 1e-3) << i;
        // the official shift in Galicia: about 126 m west and 214 m south, h = H + N with N about 55 m
        EXPECT_NEAR(ida.Columnas[k][i] - ed50.c1[i], -125, 5) << i;
        EXPECT_NEAR(ida.Columnas[k + 1][i] - ed50.c2[i], -212, 5) << i;
        EXPECT_NEAR(ida.Columnas[k + 2][i], 155, 2) << i;
    }
    EXPECT_EQ(vuelta.husos.ed50, 29);
}

TEST_F(Oficial, FueraDeLaRejillaNadaSeConvierteEnSilencio) {
    struct Caso {
        const char* nombre;
        int formato;
        Columnas3 puntos;
        std::size_t punto;
    } casos[] = {
        {"Canarias, el segundo", 3, {{40.25, 28.06}, {-3.42, -15.25}, {0, 0}}, 2},
        {"Par\xc3\xads", 3, {{48.51}, {2.21}, {0}}, 1},
        {"en ETRS89, mar abierto", 5, {{40, 38}, {-3, -15}, {0, 0}}, 2},
        {"en UTM ETRS89 huso 30, Canarias", 7, {{440000, 200000}, {4475000, 3100000}, {0, 0}}, 2},
    };
    for (const Caso& c : casos) {
        try {
            TransformaOficial(c.formato, c.puntos, *rejilla);
            ADD_FAILURE() << c.nombre;
        } catch (const FueraDeRejilla& e) {
            EXPECT_EQ(e.punto, c.punto) << c.nombre;
        }
    }
}

TEST_F(Oficial, DiferenciaConLosSieteParametros) {
    // Madrid, Cádiz and Paris (outside): the seven parameters lie metres away, not more
    const ConjuntoDatos d = Transforma(3, Columnas3{{40.250048, 36.31372, 48.51}, {-3.421368, -6.171896, 2.21}, {100, 100, 0}});
    const auto dif = DiferenciaConRejilla(d, *rejilla);
    ASSERT_TRUE(dif);
    EXPECT_EQ(dif->punto, 2u);
    EXPECT_GT(dif->metros, 1.0);
    EXPECT_LT(dif->metros, 6.0);
    EXPECT_FALSE(DiferenciaConRejilla(Transforma(3, Columnas3{{48.51}, {2.21}, {0}}), *rejilla));
}

TEST(Rejillas, FicheroQueNoSeLee) {
    std::string error;
    Rejillas ilegible{"/no/existe/" + FicheroRejillaHorizontal, "/no/existe/" + FicheroGeoide, ""};
    EXPECT_EQ(Rejilla::Abre(ilegible, error), nullptr);
    EXPECT_FALSE(error.empty());
}

} // namespace
