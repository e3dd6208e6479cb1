#include "mapas.h"

#include "geodesia/angulos.h"
#include "geodesia/formato.h"

#include <charconv>

namespace {

// Valid UTF-8 as it stands; any other byte taken as Latin-1.
std::string Utf8(const std::string& t) {
    std::string r;
    std::size_t i = 0;
    while (i < t.size()) {
        const auto c = static_cast<unsigned char>(t[i]);
        const std::size_t largo = c < 0x80 ? 1 : c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        bool valida = largo > 0 && i + largo <= t.size();
        for (std::size_t k = 1; valida && k < largo; ++k) valida = (static_cast<unsigned char>(t[i + k]) & 0xC0) == 0x80;
        if (valida) {
            r.append(t, i, largo);
            i += largo;
        } else {
            r += static_cast<char>(0xC0 | (c >> 6));
            r += static_cast<char>(0x80 | (c & 0x3F));
            ++i;
        }
    }
    return r;
}

std::string Xml(const std::string& t) {
    std::string r;
    for (char c : Utf8(t)) {
        switch (c) {
        case '&': r += "&amp;"; break;
        case '<': r += "&lt;"; break;
        case '>': r += "&gt;"; break;
        case '"': r += "&quot;"; break;
        default: r += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
    }
    return r;
}

std::string Json(const std::string& t) {
    std::string r = "\"";
    for (char c : Utf8(t)) {
        if (c == '"' || c == '\\') {
            r += '\\';
            r += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            static const char hex[] = "0123456789abcdef";
            r += "\\u00";
            r += hex[(c >> 4) & 0xF];
            r += hex[c & 0xF];
        } else {
            r += c;
        }
    }
    return r + "\"";
}

std::string Fijo(double v, int decimales) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimales);
    return std::string(buf, r.ptr);
}

// Longitude, latitude and height of point i as the boxes show them.
struct Posicion {
    std::string lon, lat, h;
};
Posicion PosicionDe(const ConjuntoDatos& d, std::size_t i) {
    auto grados = [&](int k) {
        return PseudoARadianes(ValorMostrado(d.Columnas[static_cast<std::size_t>(k)][i], k)) * (180.0 / PiSistema);
    };
    return {Fijo(grados(13), 9), Fijo(grados(12), 9), Fijo(ValorMostrado(d.Columnas[14][i], 14), 3)};
}

} // namespace

std::string NombreDelPunto(const std::vector<std::string>& nombres, std::size_t i, std::int64_t primerPunto) {
    if (i < nombres.size() && !nombres[i].empty()) return nombres[i];
    return std::to_string(primerPunto + static_cast<std::int64_t>(i) + 1);
}

std::string CabeceraKml(const std::string& titulo, const std::string& sistema) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n<name>" +
           Xml(titulo + " (" + sistema + ")") + "</name>\n";
}

std::string PuntosKml(const ConjuntoDatos& d, const std::vector<std::string>& nombres, std::int64_t primerPunto) {
    std::string r;
    for (std::size_t i = 0; i < static_cast<std::size_t>(d.NumPuntos); ++i) {
        const Posicion p = PosicionDe(d, i);
        r += "<Placemark><name>" + Xml(NombreDelPunto(nombres, i, primerPunto)) + "</name><Point><coordinates>" + p.lon +
             "," + p.lat + "," + p.h + "</coordinates></Point></Placemark>\n";
    }
    return r;
}

std::string PieKml() { return "</Document>\n</kml>\n"; }

std::string CabeceraGeoJson() { return "{\"type\":\"FeatureCollection\",\"features\":[\n"; }

std::string PuntosGeoJson(const ConjuntoDatos& d, const std::vector<std::string>& nombres, std::int64_t primerPunto) {
    std::string r;
    for (std::size_t i = 0; i < static_cast<std::size_t>(d.NumPuntos); ++i) {
        const Posicion p = PosicionDe(d, i);
        if (primerPunto > 0 || i > 0) r += ",\n";
        r += "{\"type\":\"Feature\",\"properties\":{\"nombre\":" + Json(NombreDelPunto(nombres, i, primerPunto)) +
             "},\"geometry\":{\"type\":\"Point\",\"coordinates\":[" + p.lon + "," + p.lat + "," + p.h + "]}}";
    }
    return r;
}

std::string PieGeoJson() { return "\n]}\n"; }
