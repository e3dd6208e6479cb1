#include "mapas.h"

#include "geodesia/angulos.h"
#include "geodesia/formato.h"
#include "texto/codificacion.h"

#include <string_view>

namespace {

// Text for XML: the characters XML forbids (control characters, U+FFFE, U+FFFF), which only a
// file's name can bring here, become blanks and "?".
std::string Xml(const std::string& t) {
    const std::string u = BytesAUtf8(t);
    std::string r;
    for (std::size_t i = 0; i < u.size(); ++i) {
        const char c = u[i];
        if (u.compare(i, 2, "\xef\xbf") == 0 && i + 2 < u.size() && (u[i + 2] == '\xbe' || u[i + 2] == '\xbf')) {
            r += '?'; // U+FFFE, U+FFFF
            i += 2;
            continue;
        }
        std::string_view entidad;
        switch (c) {
        case '&': entidad = "&amp;"; break;
        case '<': entidad = "&lt;"; break;
        case '>': entidad = "&gt;"; break;
        case '"': entidad = "&quot;"; break;
        default: r += static_cast<unsigned char>(c) < 0x20 ? ' ' : c; continue;
        }
        r.append(entidad.data(), entidad.size()); // appended by size: g++ 12 warns wrongly on literals here
    }
    return r;
}

std::string Json(const std::string& t) {
    std::string r = "\"";
    for (char c : BytesAUtf8(t)) {
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

// Longitude, latitude and height of point i as the boxes show them.
struct Posicion {
    std::string lon, lat, h;
};
Posicion PosicionDe(const ConjuntoDatos& d, std::size_t i) {
    auto mostrado = [&](std::size_t k) { return ValorMostrado(d.Columnas[k][i], static_cast<int>(k)); };
    return {Fijo(PseudoAGrados(mostrado(ColumnaGeoWgs84 + 1)), 9), Fijo(PseudoAGrados(mostrado(ColumnaGeoWgs84)), 9),
            Fijo(mostrado(ColumnaGeoWgs84 + 2), 3)};
}

} // namespace

std::string NombreDelPunto(const std::vector<std::string>& nombres, std::size_t i, std::int64_t primerPunto) {
    if (i < nombres.size() && !nombres[i].empty()) return nombres[i];
    return std::to_string(primerPunto + static_cast<std::int64_t>(i) + 1);
}

std::string CabeceraKml(const std::string& titulo, const std::string& sistema) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n<name>" +
           Xml(titulo) + "</name>\n<description>" + Xml(sistema) + "</description>\n";
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
        r += "{\"type\":\"Feature\",\"properties\":{\"name\":" + Json(NombreDelPunto(nombres, i, primerPunto)) +
             "},\"geometry\":{\"type\":\"Point\",\"coordinates\":[" + p.lon + "," + p.lat + "," + p.h + "]}}";
    }
    return r;
}

std::string PieGeoJson() { return "\n]}\n"; }
