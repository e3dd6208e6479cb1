#include "geodesia/angulos.h"
#include "geodesia/fallo.h"
#include "rejilla/rejilla.h"
#include "rejilla/sha256.h"
#include "transformacion/tuberias.h"
#include "vectores.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>

#include <sys/stat.h>

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

// ED50 -> ETRS89 -> ED50 within a millimetre, through each ETRS89 entry format. Lisbon and
// Ceuta lie inside the grid's rectangle but outside Spain: the official method still computes
// them (its result then not official, as the window says).
TEST_F(Oficial, IdaYVuelta) {
    const Columnas3 ed50{{40.250048, 36.31372, 39.341056, 43.2200, 38.4312, 35.5324},
                         {-3.421368, -6.171896, 2.390072, -8.2400, -9.0824, -5.1912}, {100, 0, 2500.5, -10, 100, 100}};
    const ConjuntoDatos ida = TransformaOficial(3, ed50, *rejilla);
    for (int formato : {5, 6, 7}) {
        const std::size_t k = PrimeraColumna(formato);
        const ConjuntoDatos vuelta =
            TransformaOficial(formato, Columnas3{ida.Columnas[k], ida.Columnas[k + 1], ida.Columnas[k + 2]}, *rejilla);
        for (std::size_t i = 0; i < ed50.c3.size(); ++i) {
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
    for (const ConjuntoDatos* d : {&ida, &vuelta}) {
        EXPECT_EQ(d->husos.ed50, 29);
        EXPECT_EQ(d->husos.utm, 29);
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
        {"Melilla, al sur del rect\u00e1ngulo", 3, {{35.1733}, {-2.5619}, {0}}, 1},
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

// Many points on two threads: the same doubles as on one, and the fault one thread meets
// first (the seven parameters' arithmetic runs before the grid).
TEST_F(Oficial, EnDosHilosLoMismoQueEnUno) {
    Columnas3 puntos;
    for (int i = 0; i < 5001; ++i) {
        puntos.c1.push_back(37.0 + (i % 600) * 0.01);
        puntos.c2.push_back(-7.0 + (i % 900) * 0.01);
        puntos.c3.push_back(100 + i);
    }
    for (Rejilla* metodo : {static_cast<Rejilla*>(nullptr), rejilla.get()}) {
        const ConjuntoDatos uno = TransformaPorMetodo(3, puntos, metodo);
        const ConjuntoDatos dos = TransformaPorMetodoEnHilos(3, puntos, metodo);
        EXPECT_EQ(dos.NumPuntos, 5001);
        for (std::size_t k = 0; k < NumeroColumnas; ++k) EXPECT_EQ(dos.Columnas[k], uno.Columnas[k]) << k;
    }
    struct Caso {
        const char* nombre;
        std::size_t fuera, malo; // outside the grid, latitude beyond 90 degrees (none: past the end)
        std::size_t punto;       // the point outside named, or 0 for the arithmetic fault
    } casos[] = {
        {"fuera en la segunda mitad", 4000, 9999, 4001},
        {"fuera en la primera, fallo aritm\u00e9tico en la segunda", 10, 4000, 0},
    };
    for (const Caso& c : casos) {
        Columnas3 p = puntos;
        p.c1[c.fuera] = 48.51, p.c2[c.fuera] = 2.21; // Paris
        if (c.malo < p.c1.size()) p.c1[c.malo] = 91;
        try {
            TransformaPorMetodoEnHilos(3, p, rejilla.get());
            ADD_FAILURE() << c.nombre;
        } catch (const FueraDeRejilla& e) {
            EXPECT_EQ(e.punto, c.punto) << c.nombre;
        } catch (const FalloAritmetico& e) {
            EXPECT_EQ(c.punto, 0u) << c.nombre << ": " << e.what();
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

// FIPS 180-4's examples around the padding boundary (55, 56, 64 bytes) and a million bytes,
// whole and fed in pieces.
TEST(Sha256, VectoresConocidos) {
    struct Caso {
        const char* nombre;
        std::string texto;
        const char* suma;
    } casos[] = {
        {"vac\u00edo", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"55 a", std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {"56 a", std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        {"64 a", std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        {"un mill\u00f3n de a", std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const Caso& c : casos) {
        Sha256 entera;
        entera.Anade(c.texto);
        EXPECT_EQ(entera.Hex(), c.suma) << c.nombre;
        Sha256 trozos;
        for (std::size_t i = 0; i < c.texto.size(); i += 37) trozos.Anade(std::string_view(c.texto).substr(i, 37));
        EXPECT_EQ(trozos.Hex(), c.suma) << c.nombre;
    }
}

// The grids are checked against their published SHA-256 when opened; copies in a folder of the
// test's own. A damaged grid is refused naming the file and both digests, a FIFO at once.
TEST_F(ConCarpeta, RejillasComprobadas) {
    namespace fs = std::filesystem;
    const Rejillas publicadas = BuscaRejillas();
    ASSERT_TRUE(publicadas.falta.empty());
    // the digest sha256sum gives: of the damaged copy, and of the published file
    auto Suma = [](const std::string& ruta) {
        std::string r(64, '\0');
        FILE* f = ::popen(("sha256sum '" + ruta + "'").c_str(), "r");
        r.resize(std::fread(r.data(), 1, 64, f));
        ::pclose(f);
        return r;
    };
    const auto CambiaBit = [](const std::string& ruta) {
        std::string b = LeeFichero(ruta);
        b[b.size() / 2] = static_cast<char>(b[b.size() / 2] ^ 0x10);
        EscribeFichero(ruta, b);
    };
    struct Caso {
        const char* nombre;
        const char* carpeta;
        std::function<void(const std::string& horizontal, const std::string& geoide)> estropea;
        const std::string* fichero; // the file named in the refusal; none when the grids open
        const char* motivo;
    } casos[] = {
        {"carpeta con espacio y e\u00f1e", "mis rejillas \u00f1", [](auto&, auto&) {}, nullptr, ""},
        {"un bit cambiado", "bit", [&](auto& h, auto&) { CambiaBit(h); }, &FicheroRejillaHorizontal,
         "rejilla da\u00f1ada o distinta de la publicada"},
        {"truncada", "corta", [](auto&, auto& g) { fs::resize_file(g, fs::file_size(g) / 2); }, &FicheroGeoide,
         "rejilla da\u00f1ada o distinta de la publicada"},
        {"una FIFO", "fifo", [](auto& h, auto&) { fs::remove(h); ::mkfifo(h.c_str(), 0600); },
         &FicheroRejillaHorizontal, "no es un fichero regular"},
    };
    for (const Caso& c : casos) {
        const fs::path carpeta = carpeta_ / c.carpeta;
        fs::create_directory(carpeta);
        const std::string h = (carpeta / FicheroRejillaHorizontal).string(), g = (carpeta / FicheroGeoide).string();
        fs::copy_file(publicadas.horizontal, h);
        fs::copy_file(publicadas.geoide, g);
        c.estropea(h, g);
        // found as the user's folder is: neither the search nor the opening waits on a FIFO
        ::setenv("ORVALO_REJILLAS", carpeta.c_str(), 1);
        const Rejillas r = BuscaRejillas();
        ::unsetenv("ORVALO_REJILLAS");
        EXPECT_EQ(r.horizontal, h) << c.nombre;
        std::string error;
        const auto rejilla = Rejilla::Abre(r, error);
        EXPECT_EQ(rejilla != nullptr, c.fichero == nullptr) << c.nombre << ": " << error;
        if (rejilla) continue; // its digests are the published ones: the same numbers
        const std::string ruta = (carpeta / *c.fichero).string();
        EXPECT_NE(error.find(ruta + ": " + c.motivo), std::string::npos) << c.nombre << ": " << error;
        if (std::string(c.motivo).find("publicada") != std::string::npos) {
            EXPECT_NE(error.find(Suma(ruta)), std::string::npos) << c.nombre << ": " << error;
            const std::string& publicada = *c.fichero == FicheroGeoide ? publicadas.geoide : publicadas.horizontal;
            EXPECT_NE(error.find(Suma(publicada)), std::string::npos) << c.nombre << ": " << error;
        }
    }
}

} // namespace
