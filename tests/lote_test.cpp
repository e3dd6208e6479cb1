#include "transformacion/entrada.h"
#include "lote/lote.h"
#include "vectores.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class Lote : public ::testing::Test {
protected:
    void SetUp() override {
        carpeta_ = fs::temp_directory_path() / ("orvalo-lote-" + std::to_string(::getpid()) + "-" +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(carpeta_);
        fs::create_directories(carpeta_);
    }
    void TearDown() override { fs::remove_all(carpeta_); }

    std::string Ruta(const std::string& nombre) const { return (carpeta_ / nombre).string(); }

    int Ejecuta(std::vector<std::string> args, const std::string& entrada = "") {
        std::istringstream in(entrada);
        salida_.str("");
        errores_.str("");
        return EjecutaLote(args, in, salida_, errores_);
    }

    fs::path carpeta_;
    std::ostringstream salida_, errores_;
};

TEST_F(Lote, CadaFormatoComoLaVentana) {
    for (const char* n : {"1", "2", "3", "4", "5", "6", "3-lf"}) {
        const std::string destino = Ruta(std::string("s") + n);
        ASSERT_EQ(Ejecuta({RutaDatos(std::string("entrada-") + n + ".txt"), destino}), 0) << errores_.str();
        EXPECT_EQ(LeeFichero(destino), LeeFichero(RutaDatos(std::string("salida-") + n + ".txt"))) << n;
    }
    for (int f = 1; f <= 6; ++f) {
        const std::string destino = Ruta(std::string("r") + std::to_string(f));
        ASSERT_EQ(Ejecuta({RutaDatos("regresion/entrada-" + std::to_string(f) + ".txt"), destino}), 0);
        EXPECT_EQ(LeeFichero(destino), LeeFichero(RutaDatos("regresion/salida-" + std::to_string(f) + ".txt"))) << f;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(carpeta_), fs::directory_iterator()), 13);
}

TEST_F(Lote, EntradaYSalidaEstandar) {
    const std::string entrada = LeeFichero(RutaDatos("entrada-5.txt"));
    const std::string esperado = LeeFichero(RutaDatos("salida-5.txt"));
    ASSERT_EQ(Ejecuta({"-"}, entrada), 0);
    EXPECT_EQ(salida_.str(), esperado);
    ASSERT_EQ(Ejecuta({"-", "-"}, entrada), 0);
    EXPECT_EQ(salida_.str(), esperado);
    ASSERT_EQ(Ejecuta({"-", Ruta("s")}, entrada), 0);
    EXPECT_EQ(LeeFichero(Ruta("s")), esperado);
}

TEST_F(Lote, EstadosDeSalidaYFicheroAnteriorIntacto) {
    EscribeFichero(Ruta("previo"), "contenido anterior");
    EscribeFichero(Ruta("malo"), "3\r\n40,-3,0\r\n40,-3\r\n");
    EscribeFichero(Ruta("polo"), "4\r\n0,0,6356911");
    EscribeFichero(Ruta("id"), "9\r\n1,2,3");
    struct Caso {
        const char* nombre;
        std::vector<std::string> args;
        int estado;
        std::string mensaje;
    } casos[] = {
        {"sin argumentos", {}, 2, "Uso:"},
        {"tres argumentos", {"a", "b", "c"}, 2, "Uso:"},
        {"opción desconocida", {"--rapido", "x"}, 2, "Uso:"},
        {"no existe", {Ruta("nada"), Ruta("previo")}, 1, "error al abrir"},
        {"es una carpeta", {carpeta_.string(), Ruta("previo")}, 1, "error al abrir"},
        {"faltan valores", {Ruta("malo"), Ruta("previo")}, 1, "error al abrir"},
        {"identificador", {Ruta("id"), Ruta("previo")}, 1, "El indicador de tipo de datos 9 no es reconocido"},
        {"eje polar", {Ruta("polo"), Ruta("previo")}, 1, "Error aritm"},
        {"carpeta de salida inexistente", {RutaDatos("entrada-1.txt"), Ruta("no/hay/previo")}, 1, "error al guardar"},
        {"la salida es una carpeta", {RutaDatos("entrada-1.txt"), carpeta_.string()}, 1, "error al guardar"},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(Ejecuta(c.args), c.estado) << c.nombre;
        EXPECT_NE(errores_.str().find(c.mensaje), std::string::npos) << c.nombre << ": " << errores_.str();
        EXPECT_EQ(salida_.str(), "") << c.nombre;
        EXPECT_EQ(LeeFichero(Ruta("previo")), "contenido anterior") << c.nombre;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(carpeta_), fs::directory_iterator()), 4);
    EXPECT_EQ(Ejecuta({"--help"}), 0);
    EXPECT_EQ(salida_.str(), UsoLote);
}

TEST_F(Lote, SinLimiteDe16Bits) {
    std::string entrada = "3";
    for (int i = 0; i < 40000; ++i) entrada += "\r\n40.3,-3.3,100";
    ASSERT_EQ(Ejecuta({"-"}, entrada), 0) << errores_.str();
    const std::string s = salida_.str();
    EXPECT_EQ(s.size(), 40000u * 227 - 2);
    EXPECT_EQ(s.substr(0, 225), s.substr(s.size() - 225));
}

} // namespace
