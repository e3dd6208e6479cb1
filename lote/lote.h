#pragma once

#include <iosfwd>
#include <streambuf>
#include <string>
#include <vector>

// The batch converter: `orvalo-lote ENTRADA [SALIDA]` turns an input coordinate file into the
// output file the window writes for it ("-" is standard input or output). Returns the exit
// status: 0 done, 1 bad file or arithmetic fault (nothing written), 2 wrong usage.
int EjecutaLote(const std::vector<std::string>& argumentos, std::istream& entrada,
                std::ostream& salida, std::ostream& errores);

// Lines longer than this are refused instead of held in memory.
inline constexpr std::size_t MaximoLineaLote = std::size_t(1) << 20;
// Refused lines reported one by one; the rest are counted.
inline constexpr std::size_t MaximoDiagnosticos = 20;

// Reads a file descriptor for an istream; a read error sets the stream's badbit (a plain
// end of file does not).
class FlujoDescriptor : public std::streambuf {
public:
    explicit FlujoDescriptor(int fd) : fd_(fd) {}

protected:
    int_type underflow() override;

private:
    int fd_;
    char bufer_[1 << 16];
};

// Ends the process the way `senal` would, after removing the temporary files.
void InstalaManejadoresDeSenales();

// False when descriptor 0, 1 or 2 is closed.
bool DescriptoresEstandarAbiertos();

inline const std::string UsoLote =
    "Uso: orvalo-lote [--rejilla] [--nombres] [--huso-ed50 31|29] [--huso 29|30|31] [--formatos LISTA]\n"
    "                 [--kml FICHERO] [--geojson FICHERO] ENTRADA [SALIDA]\n"
    "     orvalo-lote --version | --help\n"
    "Transforma un fichero de coordenadas (primera l\u00ednea: formato 1 a 7, con su huso si es UTM:\n"
    "2;29, 7;30; despu\u00e9s un punto por l\u00ednea,\n"
    "X,Y,h o latitud,longitud,h o X,Y,Z) a los seis formatos, como \"Salida por fichero\".\n"
    "  ENTRADA  fichero de entrada, o - para la entrada est\u00e1ndar\n"
    "  SALIDA   fichero de salida (se escribe de forma at\u00f3mica), o - para la salida "
    "est\u00e1ndar;\n"
    "           sin SALIDA se escribe en la salida est\u00e1ndar\n"
    "  --rejilla  ETRS89 por la rejilla oficial del IGN (SPED2ETV2 y el geoide EGM08-REDNAP)\n"
    "             en lugar de WGS84 por los siete par\u00e1metros; la altura ED50 es una altitud\n"
    "  --nombres  cada l\u00ednea puede empezar por un nombre (sin comas, hasta 64 caracteres);\n"
    "             la l\u00ednea de salida empieza por el nombre, o el n\u00famero del punto, y \";\"\n"
    "  --huso-ed50 HUSO  huso del segundo formato UTM ED50: 31 (por omisi\u00f3n) o 29\n"
    "  --huso HUSO       huso del formato 7, UTM WGS84 (ETRS89 con --rejilla): 29, 30 (por\n"
    "                    omisi\u00f3n) o 31\n"
    "  --formatos LISTA  formatos que se escriben y en qu\u00e9 orden, n\u00fameros de 1 a 7 separados\n"
    "                    por comas (por omisi\u00f3n 1,2,3,4,5,6)\n"
    "  --kml FICHERO, --geojson FICHERO\n"
    "             escribe tambi\u00e9n los puntos en WGS84 (ETRS89 con --rejilla) para un visor\n"
    "             de mapas, de forma at\u00f3mica\n"
    "  --version  muestra la versi\u00f3n\n"
    "  --help     muestra este uso\n"
    "Cada l\u00ednea rechazada se indica como ENTRADA:L\u00cdNEA: motivo.\n"
    "Estado de salida: 0 correcto, 1 fichero err\u00f3neo o fallo aritm\u00e9tico (no se escribe "
    "nada), 2 uso incorrecto.\n";
