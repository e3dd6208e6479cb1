#pragma once

#include <fstream>
#include <sstream>
#include <string>

// Reference files kept beside the tests.
inline std::string RutaDatos(const std::string& nombre) { return std::string(ORVALO_DATOS_PRUEBA) + "/" + nombre; }

inline std::string LeeFichero(const std::string& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

inline void EscribeFichero(const std::string& ruta, const std::string& contenido) {
    std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
    f << contenido;
}

#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

// A scratch folder of each test's own, open to every user, removed after it.
class ConCarpeta : public ::testing::Test {
protected:
    void SetUp() override {
        carpeta_ = std::filesystem::temp_directory_path() /
                   ("orvalo-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(carpeta_);
        std::filesystem::create_directories(carpeta_);
        std::filesystem::permissions(carpeta_, std::filesystem::perms::all);
    }
    void TearDown() override { std::filesystem::remove_all(carpeta_); }
    std::string Ruta(const std::string& nombre) const { return (carpeta_ / nombre).string(); }
    std::size_t Entradas() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(carpeta_),
                                                      std::filesystem::directory_iterator()));
    }
    std::filesystem::path carpeta_;
};
