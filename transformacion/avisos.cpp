#include "avisos.h"

namespace {

const std::array<std::array<std::string, 3>, NumeroFormatos> Letras{{{"X", "Y", "h"},
                                                        {"X", "Y", "h"},
                                                        {"\u03c6", "\u03bb", "h"},
                                                        {"X", "Y", "Z"},
                                                        {"\u03c6", "\u03bb", "h"},
                                                        {"X", "Y", "Z"},
                                                        {"X", "Y", "h"}}};

// 2340 as "2 340".
std::string Miles(long long n) {
    const std::string cifras = std::to_string(n);
    std::string t;
    for (std::size_t i = 0; i < cifras.size(); ++i) {
        if (i > 0 && (cifras.size() - i) % 3 == 0) t += ' ';
        t += cifras[i];
    }
    return t;
}

std::string Puntos(int n) { return Miles(n) + (n == 1 ? " punto" : " puntos"); }

} // namespace

std::string NombreMostrado(int formato, const Rotulos& r) {
    std::string nombre = NombreFormato(formato, r.husos, r.etrs89);
    if (r.etrs89 && (formato == 5 || formato == 6)) nombre.replace(nombre.rfind("WGS84"), 5, "ETRS89");
    return nombre;
}

const std::array<std::string, 3>& LetrasFormato(int formato) { return Letras[static_cast<std::size_t>(formato - 1)]; }

std::string NombreColumna(int k, const Rotulos& r) {
    const int formato = k / 3 + 1;
    std::string letra = LetrasFormato(formato)[static_cast<std::size_t>(k % 3)];
    if (letra == "\u03c6") letra = "latitud";
    if (letra == "\u03bb") letra = "longitud";
    return NombreMostrado(formato, r) + " " + letra;
}

std::string MensajeLectura(const FalloLectura& f, int formato) {
    const auto& letras = LetrasFormato(formato);
    if (f.linea > 0)
        return f.mensaje + "\r\n L\u00ednea " + std::to_string(f.linea) + " de la columna " +
               letras[static_cast<std::size_t>(f.caja)] + ".";
    if (f.lineas[0] == 0) return f.mensaje;
    return f.mensaje + "\r\n " + letras[0] + ": " + Miles(static_cast<long long>(f.lineas[0])) + " l\u00edneas, " + letras[1] +
           ": " + Miles(static_cast<long long>(f.lineas[1])) + ", " + letras[2] + ": " +
           Miles(static_cast<long long>(f.lineas[2])) + ".";
}

std::string MensajeFicheroEntrada(const FalloEntrada& f) {
    if (!f.rechazo) return f.mensaje;
    return f.mensaje + "\r\n L\u00ednea " + std::to_string(f.rechazo->linea) + ", " + DescribeRechazo(*f.rechazo) + ".";
}

std::string EstadoTransformado(int puntos, const std::string& formato) { return Puntos(puntos) + " desde " + formato; }

std::string EstadoLeido(int puntos, const std::string& formato) {
    return Puntos(puntos) + " desde " + formato + (puntos == 1 ? ", le\u00eddo" : ", le\u00eddos") +
           " del fichero: pulse su \u00ab< TRANSFORMAR >\u00bb";
}

const std::string EstadoBorrado = "Cajas vaciadas: \u00abSalida por fichero\u00bb sigue escribiendo los resultados de la "
                                  "\u00faltima transformaci\u00f3n";

const std::string PreguntaDescartarEscrito =
    " Las cajas tienen puntos escritos que no se han transformado. \r\n \u00bfDesea descartarlos y leer el fichero? ";

std::string EstadoEleccionPendiente(const std::string& hecho, const std::string& elegido) {
    return "Los resultados mostrados se hicieron con \u00ab" + hecho + "\u00bb; \u00ab< TRANSFORMAR >\u00bb aplica \u00ab" +
           elegido + "\u00bb";
}
