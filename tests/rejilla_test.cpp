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
        double x, y, z; // Cartesian ETRS89 on GRS80 of those three, m
    } casos[] = {
        {"Madrid", 40.250048, -3.421368, 40.415618706, -3.705109140, 151.112, 4852865.7970, -314255.3023, 4113328.3849},
        {"C\xc3\xa1" "diz", 36.31372, -6.171896, 36.525722618, -6.289956036, 144.921, 5100718.6355, -562219.5419, 3775314.9512},
        {"Palma", 39.341056, 2.390072, 39.568424734, 2.649096652, 149.035, 4918223.4818, 227558.4941, 4041257.5254},
    };
    for (const Caso& c : casos) {
        const ConjuntoDatos d = TransformaOficial(3, Columnas3{{c.latitud}, {c.longitud}, {100}}, *rejilla);
        EXPECT_NEAR(Grados(d.Columnas[12][0]), c.latitudEtrs89, 2e-9) << c.nombre;
        EXPECT_NEAR(Grados(d.Columnas[13][0]), c.longitudEtrs89, 2e-9) << c.nombre;
        EXPECT_NEAR(d.Columnas[14][0], c.altura, 6e-4) << c.nombre;
        EXPECT_NEAR(d.Columnas[15][0], c.x, 1e-3) << c.nombre;
        EXPECT_NEAR(d.Columnas[16][0], c.y, 1e-3) << c.nombre;
        EXPECT_NEAR(d.Columnas[17][0], c.z, 1e-3) << c.nombre;
        // the ED50 formats are those of the seven-parameter pipeline
        const ConjuntoDatos siete = Transforma(3, Columnas3{{c.latitud}, {c.longitud}, {100}});
        for (std::size_t k = 0; k < 12; ++k) EXPECT_EQ(d.Columnas[k], siete.Columnas[k]) << c.nombre << " " << k;
        // entered as Cartesian ED50, the same point
        const ConjuntoDatos cuatro = TransformaOficial(4, Columnas3{siete.Columnas[9], siete.Columnas[10], siete.Columnas[11]}, *rejilla);
        EXPECT_NEAR(Grados(cuatro.Columnas[12][0]), c.latitudEtrs89, 2e-9) << c.nombre;
    }
}

// ED50 -> ETRS89 -> ED50 within a millimetre, through each ETRS89 entry format.
TEST_F(Oficial, IdaYVuelta) {
    const Columnas3 ed50{{40.250048, 36.31372, 39.341056, 43.2200}, {-3.421368, -6.171896, 2.390072, -8.2400},
                         {100, 0, 2500.5, -10}};
    const ConjuntoDatos ida = TransformaOficial(3, ed50, *rejilla);
    for (int formato : {5, 6}) {
        const std::size_t k = formato == 5 ? 12 : 15;
        const ConjuntoDatos vuelta =
            TransformaOficial(formato, Columnas3{ida.Columnas[k], ida.Columnas[k + 1], ida.Columnas[k + 2]}, *rejilla);
        for (std::size_t i = 0; i < 4; ++i) {
            for (std::size_t c : {9, 10, 11}) // Cartesian ED50: metres
                EXPECT_NEAR(vuelta.Columnas[c][i], ida.Columnas[c][i], 1e-3) << formato << " " << i << " " << c;
            EXPECT_NEAR(vuelta.Columnas[8][i], ed50.c3[i], 1e-3) << formato << " " << i;
        }
    }
}

TEST_F(Oficial, FueraDeLaRejillaNadaSeConvierteEnSilencio) {
    struct Caso {
        const char* nombre;
        int formato;
        Columnas3 puntos;
        std::size_t punto;
    } casos[] = {
        {"Canarias, el segundo y el tercero", 3, {{40.25, 28.06, 28.1}, {-3.42, -15.25, -15.4}, {0, 0, 0}}, 2},
        {"Par\xc3\xads", 3, {{48.51}, {2.21}, {0}}, 1},
        {"en ETRS89, mar abierto", 5, {{40, 38}, {-3, -15}, {0, 0}}, 2},
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
