#include "lote.h"

#include <clocale>
#include <iostream>

#include <unistd.h>

int main(int argc, char** argv) {
    // a closed standard stream would be taken by the first file opened: refuse to start
    if (!DescriptoresEstandarAbiertos()) {
        static const char aviso[] = "orvalo-lote: la entrada, la salida o los errores est\u00e1ndar est\u00e1n cerrados\n";
        [[maybe_unused]] const auto n = ::write(2, aviso, sizeof aviso - 1);
        return 2;
    }
    InstalaManejadoresDeSenales();
    // system errors outside the program's own words (strerror) in the user's language; numbers
    // are read and written locale-free anyway
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    std::ios::sync_with_stdio(false);
    FlujoDescriptor entradaEstandar(0);
    std::istream entrada(&entradaEstandar);
    return EjecutaLote(std::vector<std::string>(argv + 1, argv + argc), entrada, std::cout, std::cerr);
}
