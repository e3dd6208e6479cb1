#pragma once

#include "geodesia/columna.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

// Input coordinate file: line 1 the format identifier 1 to 6, then one point a line, three
// values separated by commas, or by semicolons with commas as decimal separators (a Spanish
// spreadsheet's CSV). Lines end with CR LF, LF or a lone CR.

// The first line alone is the message of a file that cannot be read at all.
inline const std::string MensajeErrorAbrirFichero = " \u00a1Se ha producido un error al abrir el archivo! ";
inline const std::string MensajeErrorAbrir =
    MensajeErrorAbrirFichero + "\r\n Es posible, entre otros, que el fichero contenga alg\u00fan dato no num\u00e9rico";
inline const std::string MensajeDemasiadoGrande = " \u00a1El fichero es demasiado grande! ";

// Largest number of points the window reads: the line counter is a 16-bit integer.
inline constexpr std::int64_t MaximoPuntosFichero = 32766;

// A place where the reading refused the file.
struct Rechazo {
    enum Motivo {
        NoNumerico,
        Vacio,
        LineaLarga,
        LineaEnBlanco,
        DemasiadasLineas,
        Campos,         // `texto`: how many fields the line has
        ComasDecimales, // as Campos, but the fields read as three numbers with decimal commas
        NombreLargo,
        NombreNoValido,
        FueraDeRango, // a number too large for the column its box shows it in
    } motivo;
    std::int64_t linea = 0; // of the file, counted from 1 (line 1 is the identifier)
    int campo = 0;          // of that line, counted from 1; 0 for the whole line
    std::string texto;      // the refused text, at most 40 characters
    bool conNombre = false; // Campos, ComasDecimales: a name was allowed before the values
};

// "campo 2: «1,5x» no es un número", "línea en blanco": the place without the line.
std::string DescribeRechazo(const Rechazo& r);

struct FalloEntrada {
    enum Tipo { IdentificadorNoReconocido, General, DemasiadoGrande } tipo;
    std::string mensaje;
    std::optional<Rechazo> rechazo; // where, when the file itself was at fault
};

// " El indicador de tipo de datos <line 1 as read> no es reconocido ".
std::string MensajeIdentificador(std::string_view linea1);

// Line 1: its number rounded half to even to a 16-bit integer, and checked to be 1 to 6.
std::variant<int, FalloEntrada> LeeIdentificador(std::string_view linea1);

// Line 1 with zones: "N" or "N;HUSO", N 1 to 7 read as LeeIdentificador reads it, HUSO the
// zone the points are in, one the format has (1: 30; 2: 31 or 29; 7: 29, 30 or 31). Any other
// text after ";", or a zone for a format without one, is an identifier not recognised.
struct PrimeraLinea {
    int formato = 0;
    std::optional<int> huso; // nothing when the line names none
};
std::variant<PrimeraLinea, FalloEntrada> LeePrimeraLinea(std::string_view linea1);

// Reads an input file as its bytes arrive, in pieces of any size, and hands out the points
// once their lines are complete. Every line after line 1 is one point: exactly three values
// (with names, optionally a name before them); a line with any other number of fields, a blank
// line or a field that is not a number is refused, naming the line. A line holding a ";" is
// split at ";" and reads "," as its decimal separator; a "." in it is refused, since a Spanish
// spreadsheet writes it only to group thousands.
class LectorEntrada {
public:
    // `maximoLinea`: a longer line is refused; `maximoPuntos`: more lines are refused.
    explicit LectorEntrada(std::size_t maximoLinea = std::numeric_limits<std::size_t>::max(),
                           std::int64_t maximoPuntos = std::numeric_limits<std::int64_t>::max());

    // Point names: a line may start with a name before its three values (at most MaximoNombre
    // characters, blanks around it dropped; no control character or character XML forbids).
    void ConNombres() { nombres_ = true; }
    // Line 1 as LeePrimeraLinea reads it (format 7, zones); without it, as LeeIdentificador.
    void ConHusos() { husos_ = true; }
    // After line 1: the zone it names, if any.
    std::optional<int> HusoDelFichero() const { return huso_; }
    static constexpr std::size_t MaximoNombre = 64;

    void Lee(std::string_view trozo);
    void Termina(); // the end of the file

    // After line 1 (or the end): the format, or why line 1 was refused.
    std::optional<std::variant<int, FalloEntrada>> Identificador() const { return identificador_; }
    // Reading stopped for good: the identifier, a line too long or too many lines.
    bool Detenido() const { return detenido_; }

    // Points of the lines complete so far, taken out: three values each (NaN for a refused
    // one), and the file line of each point.
    struct Puntos {
        Columnas3 valores;
        std::vector<std::int64_t> lineas;
        std::vector<std::string> nombres; // with names: each point's, empty for none
    };
    Puntos TomaPuntos() { return std::exchange(listos_, {}); }

    // The first refusals (up to `maximoGuardados`) and how many there were in all.
    const std::vector<Rechazo>& Rechazos() const { return rechazos_; }
    std::int64_t TotalRechazos() const { return totalRechazos_; }
    static constexpr std::size_t MaximoGuardados = 20;

private:
    bool TomaLinea1(std::string_view t, std::size_t& i);
    void LeeLinea1();
    void LeeLineas(std::string_view t);
    std::size_t TrasFinLinea(std::string_view t, std::size_t fin);
    void LineaCompleta(std::string_view linea);
    void LeePunto(std::string_view linea, std::int64_t numero);
    std::string Nombre(std::string_view campo, std::int64_t linea);
    void Valor(std::string_view campo, std::size_t k, int numero, std::int64_t linea, bool comaDecimal);
    void Rechaza(Rechazo r);

    std::size_t maximoLinea_;
    std::int64_t maximoPuntos_;
    std::optional<std::variant<int, FalloEntrada>> identificador_;
    std::string linea1_;
    std::string linea_;        // the start of a line cut by the end of a piece
    bool crPendiente_ = false; // a CR ended the last piece: an LF first in the next is its pair
    bool detenido_ = false;
    std::int64_t lineasPuntos_ = 0; // lines after line 1 read
    bool nombres_ = false;
    bool husos_ = false;
    std::optional<int> huso_;
    std::vector<std::string_view> campos_; // of the line being read
    Puntos listos_;
    std::vector<Rechazo> rechazos_;
    std::int64_t totalRechazos_ = 0;
};

struct FicheroEntrada {
    int formato = 0;
    Columnas3 puntos; // first, second and third value of every point
    std::optional<int> huso; // named by line 1 (with zones only)
};

// The whole file held in memory, at most MaximoPuntosFichero points (the window's limit).
// `conHusos`: line 1 read by LeePrimeraLinea (format 7 and zones), else by LeeIdentificador.
std::variant<FicheroEntrada, FalloEntrada> LeeFicheroEntrada(std::string_view contenido, bool conHusos = false);
