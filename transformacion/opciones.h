#pragma once

#include "datos.h"
#include "salida.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The choices of a file conversion beyond the method: the zones of formats 2 and 7 as the user
// stated them (orvalo-lote's --huso-ed50 and --huso) and the formats written (--formatos).
struct OpcionesFormatos {
    std::optional<int> husoEd50; // 31 or 29; nothing: not stated (31)
    std::optional<int> husoUtm;  // 29, 30 or 31; nothing: not stated (30)
    std::vector<int> formatos = FormatosClasicos;
};

// Each takes an option's value, or returns why it refuses it ("--huso admite ...").
std::optional<std::string> PonHusoEd50(OpcionesFormatos& o, std::string_view valor);
std::optional<std::string> PonHusoUtm(OpcionesFormatos& o, std::string_view valor);
// A comma-separated list of formats 1 to 7, each once, in the order they are written.
std::optional<std::string> PonFormatos(OpcionesFormatos& o, std::string_view lista);

// The zones a file is read and written in, given its format and the zone its first line names:
// the file's zone for its own format; otherwise the user's, else 31 for format 2 (what the
// identifier 2 has always meant) and 30 for format 7 when the file is not in format 7. A file
// in format 7 without a zone, unstated by the user too, is refused: a UTM file is never read in
// a zone nobody stated. So is a file zone other than the one the user stated.
std::variant<Husos, std::string> HusosDeFichero(const OpcionesFormatos& o, int formato, std::optional<int> husoFichero);
