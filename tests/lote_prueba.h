#pragma once

#include "lote/lote.h"
#include "vectores.h"

#include <sstream>

// orvalo-lote run in this process, with its standard output and errors kept.
class Lote : public ConCarpeta {
protected:
    int Ejecuta(std::vector<std::string> args, const std::string& entrada = "") {
        std::istringstream in(entrada);
        salida_.str("");
        errores_.str("");
        return EjecutaLote(args, in, salida_, errores_);
    }

    std::ostringstream salida_, errores_;
};
