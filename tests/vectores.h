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
