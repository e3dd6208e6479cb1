#pragma once

#include "transformacion/opciones.h"

#include <string>
#include <variant>
#include <vector>

// The command line of orvalo-lote, read as getopt_long reads it: options before, between or
// after the paths, `--opt=VALOR` or `--opt VALOR`, `--` ending the options.

struct Argumentos {
    enum Accion { Convertir, Ayuda, Version } accion = Convertir;
    std::string entrada;      // "-": standard input
    std::string salida = "-"; // "-": standard output
    std::string kml, geojson; // empty: not asked for; "-": standard output
    bool rejilla = false;     // the IGN's official grid instead of the seven parameters
    bool nombres = false;     // lines may start with a point name
    bool lf = false;          // output lines end with LF, the last one too
    OpcionesFormatos formatos; // --huso-ed50, --huso, --formatos
};

// The arguments after the program's name, or the usage error in one line (without the
// program's name): an unknown or repeated option, a missing value, an empty path, a wrong
// number of paths, two outputs on standard output.
std::variant<Argumentos, std::string> LeeArgumentos(const std::vector<std::string>& argumentos);

// After a usage error.
inline const std::string PruebeAyuda = "Pruebe \u00aborvalo-lote --help\u00bb";

inline const std::string UsoLote =
    "Uso: orvalo-lote [OPCI\u00d3N]... ENTRADA [SALIDA]\n"
    "     orvalo-lote --version | --help\n"
    "Transforma un fichero de coordenadas (primera l\u00ednea: formato 1 a 7, con su huso si es UTM:\n"
    "2;29, 7;30; despu\u00e9s un punto por l\u00ednea,\n"
    "X,Y,h o latitud,longitud,h o X,Y,Z) a los seis formatos, como \"Salida por fichero\".\n"
    "Una l\u00ednea con \";\" separa sus valores con \";\" y lee \",\" como separador decimal.\n"
    "  ENTRADA  fichero de entrada, o - para la entrada est\u00e1ndar\n"
    "  SALIDA   fichero de salida (se escribe de forma at\u00f3mica), o - para la salida "
    "est\u00e1ndar;\n"
    "           sin SALIDA se escribe en la salida est\u00e1ndar\n"
    "  --rejilla  ETRS89 por la rejilla oficial del IGN (SPED2ETV2 y el geoide EGM08-REDNAP)\n"
    "             en lugar de WGS84 por los siete par\u00e1metros; la altura ED50 es una altitud\n"
    "  --nombres  cada l\u00ednea puede empezar por un nombre (hasta 64 caracteres, sin caracteres\n"
    "             de control); la l\u00ednea de salida empieza por el nombre, o el n\u00famero del\n"
    "             punto, y \";\"\n"
    "  --huso-ed50=HUSO  huso del segundo formato UTM ED50: 31 (por omisi\u00f3n) o 29\n"
    "  --huso=HUSO       huso del formato 7, UTM WGS84 (ETRS89 con --rejilla): 29, 30 (por\n"
    "                    omisi\u00f3n) o 31\n"
    "  --formatos=LISTA  formatos que se escriben y en qu\u00e9 orden, n\u00fameros de 1 a 7 separados\n"
    "                    por comas (por omisi\u00f3n 1,2,3,4,5,6)\n"
    "  --kml=FICHERO, --geojson=FICHERO\n"
    "             escribe tambi\u00e9n los puntos en WGS84 (ETRS89 con --rejilla) para un visor\n"
    "             de mapas, de forma at\u00f3mica; - es la salida est\u00e1ndar\n"
    "  --lf       termina cada l\u00ednea de salida con LF, tambi\u00e9n la \u00faltima (sin ella, "
    "CR LF\n"
    "             entre l\u00edneas, como la ventana)\n"
    "  --version  muestra la versi\u00f3n\n"
    "  --help     muestra este uso\n"
    "  --         termina las opciones\n"
    "SALIDA, los mapas y ENTRADA han de ser ficheros distintos, y solo uno puede ser -.\n"
    "Se escriben todas las salidas o ninguna. Cada l\u00ednea rechazada se indica como\n"
    "orvalo-lote: ENTRADA:L\u00cdNEA: motivo.\n"
    "Estado de salida: 0 correcto, 1 fichero err\u00f3neo o fallo aritm\u00e9tico (no se escribe "
    "nada), 2 uso incorrecto.\n";
