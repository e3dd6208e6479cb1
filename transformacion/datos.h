#pragma once

#include "columnas.h"

#include "geodesia/columna.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <variant>

// Format 7 not computed when it is not the entry format: its columns stay zeros (a run that
// does not write it saves a projection a point).
inline constexpr int HusoNoCalculado = 0;

// The zones of the two UTM formats whose zone is a choice.
struct Husos {
    int ed50 = 31; // format 2, UTM on ED50: 31 or 29
    int utm = 30;  // format 7, UTM on WGS84 or ETRS89: 29, 30 or 31, or HusoNoCalculado
};
bool HusoEd50Valido(int huso);
bool HusoUtmValido(int huso);

// The shared data set: the point count, the coordinate columns, three per format in format
// order (positions in Columna0), and the zones the UTM formats are in. Every column holds
// NumPuntos values.
struct ConjuntoDatos {
    int NumPuntos = 0;
    std::array<Columna, NumeroColumnas> Columnas;
    Husos husos;
};

// Work on `puntos` points in parts: `parte(0, 1)` alone on this thread where a second thread
// would cost more than it saves, else `parte(0, 2)` here and `parte(1, 2)` on a second thread.
// Returns the number of parts. What runs on the second thread must not throw.
std::size_t EnPartes(int puntos, const std::function<void(std::size_t parte, std::size_t partes)>& parte);

// Puts three columns in place, from column k on.
void PonColumnas(ConjuntoDatos& d, std::size_t k, Columnas3 c);

// The data set of the points entered in `formato` (1 to 7): their three columns, every other
// column zeros.
ConjuntoDatos DatosDeEntrada(int formato, Columnas3 puntos, Husos husos = {});

// Line ends in boxes and files are CR LF.
inline constexpr std::string_view FinLinea = "\r\n";

// The most points a transformation of the window takes: as many as it reads from a file.
inline constexpr std::size_t MaximoPuntosCaja = 32766;

inline const std::string MensajeDistintoNumero =
    "  \u00a1Existe distinto n\u00famero de datos en cada columna\r\n"
    " o se han introducido retornos de carro innecesarios!";
inline const std::string MensajeNoNumerico = "\u00a1Hay alg\u00fan valor no num\u00e9rico!";
inline const std::string MensajeDemasiadosPuntos =
    "\u00a1Una columna tiene m\u00e1s de 32766 puntos!\r\n"
    " Divida los puntos en varias transformaciones, o convierta el fichero con orvalo-lote, que no tiene l\u00edmite.";

// The six formats' names, in format order.
inline const std::array<std::string, 6> NombresFormatos{
    "UTM huso 30", "UTM huso 31", "Geod\u00e9sicas ED50", "Cartesianas geoc\u00e9ntricas ED50",
    "Geod\u00e9sicas WGS84", "Cartesianas geoc\u00e9ntricas WGS84"};

// The name of format 1 to 7 in the zones given: "UTM huso 29" for format 2 in zone 29,
// "UTM WGS84 huso 30" or, with the official method (`etrs89`), "UTM ETRS89 huso 30" for
// format 7; the others as NombresFormatos.
std::string NombreFormato(int formato, Husos husos = {}, bool etrs89 = false);

// Why the reading stage refused the boxes, with the message to show; for a value that is not
// a number, where it stands.
struct FalloLectura {
    std::string mensaje;
    int caja = -1;  // 0 to 2 within the format
    int linea = 0;  // counted from 1
    std::array<std::size_t, 3> lineas{}; // of each box, when their counts differ
};

// Reading stage of a transformation: the three box texts of one format (UTF-8, lines ended
// by CR LF) split into lines, each line checked with the numeric test and read. On success,
// the three parsed columns; on failure the message, and nothing else has changed.
std::variant<Columnas3, FalloLectura> LeeCajas(std::string_view caja1, std::string_view caja2,
                                               std::string_view caja3);

// The text a box shows for column k: every value laid out, lines joined by CR LF, none after
// the last.
std::string TextoCaja(const Columna& columna, int k);

// The eighteen box texts of a data set, each column laid out by TextoCaja. Throws
// FalloAritmetico for a value too large for its column's layout.
std::array<std::string, NumeroColumnas> MuestraResultados(const ConjuntoDatos& datos);

// The report of an arithmetic fault of a conversion.
std::string MensajeFalloAritmetico(const std::string& descripcion);
// The same naming the point (counted from 1) and the format it was entered in.
std::string MensajeFalloAritmetico(const std::string& descripcion, std::size_t punto, int formato,
                                   Husos husos = {}, bool etrs89 = false);
