#pragma once

#include "geodesia/columna.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Input coordinate file: line 1 the format identifier 1 to 6, then one point a line, three
// values separated by commas. Lines end with CR LF, LF or a lone CR.

inline const std::string MensajeErrorAbrir =
    " \u00a1Se ha producido un error al abrir el archivo! \r\n"
    " Es posible, entre otros, que el fichero contenga alg\u00fan dato no num\u00e9rico";
inline const std::string MensajeDemasiadoGrande = " \u00a1El fichero es demasiado grande! ";

// Largest number of points the window reads: the line counter is a 16-bit integer.
inline constexpr std::int64_t MaximoPuntosFichero = 32766;

// A place where the reading refused the file.
struct Rechazo {
    enum Motivo { NoNumerico, Vacio, LineaLarga, FaltanValores, DemasiadasLineas, Campos, NombreLargo } motivo;
    std::int64_t linea = 0; // of the file, counted from 1 (line 1 is the identifier)
    int campo = 0;          // of that line, counted from 1; 0 for the whole line
    std::string texto;      // the refused text, at most 40 characters
};

// "campo 2: «1,5x» no es un número", "faltan valores: ...": the place without the line.
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
// once they are sure to be points: the values are one stream of fields, each ended by a comma
// or a line end, and point i takes fields 3i - 2 to 3i; the number of points is the number of
// lines after line 1, blank ones included, so a line with fewer or more values shifts the
// following points. A field that is not a number is refused wherever it stands.
class LectorEntrada {
public:
    // `maximoLinea`: a longer line is refused; `maximoPuntos`: more lines are refused.
    explicit LectorEntrada(std::size_t maximoLinea = std::numeric_limits<std::size_t>::max(),
                           std::int64_t maximoPuntos = std::numeric_limits<std::int64_t>::max());

    // Point names: each line is one point, its three values optionally after a name (text
    // without a comma, at most MaximoNombre characters, blanks around it dropped). No shifting.
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
    // Reading stopped for good: the identifier or a line too long.
    bool Detenido() const { return detenido_; }

    // Points certain so far, taken out: three values each (NaN for a refused one), and the
    // file line of each point's first value.
    struct Puntos {
        Columnas3 valores;
        std::vector<std::int64_t> lineas;
        std::vector<std::string> nombres; // with names: each point's, empty for none
    };
    Puntos TomaPuntos();

    // The first refusals (up to `maximoGuardados`) and how many there were in all.
    const std::vector<Rechazo>& Rechazos() const { return rechazos_; }
    std::int64_t TotalRechazos() const { return totalRechazos_; }
    static constexpr std::size_t MaximoGuardados = 20;

private:
    void FinCampo(std::string_view campo);
    void FinDeLinea();
    void Valor(std::string_view campo, int numero, std::int64_t linea);
    void EmpiezaLinea();
    void Rechaza(Rechazo r, std::int64_t indice);
    void Confirma();
    void LeeLinea1();

    std::size_t maximoLinea_;
    std::int64_t maximoPuntos_;
    std::optional<std::variant<int, FalloEntrada>> identificador_;
    std::string linea1_;
    std::string campo_;   // the start of a field cut by the end of a piece
    bool crPendiente_ = false; // a CR ended the last piece: an LF first in the next is its pair
    bool detenido_ = false;
    bool lineaEmpezada_ = false;
    std::size_t largoLinea_ = 0;
    std::int64_t lineasPuntos_ = 0; // lines after line 1 seen, the current one included
    int campoEnLinea_ = 0;
    std::int64_t campos_ = 0;       // fields read after line 1
    std::int64_t entregados_ = 0;   // points handed out
    std::vector<double> pendientes_; // values of fields not yet handed out
    std::vector<std::int64_t> lineasPendientes_; // file line of each of those fields
    bool nombres_ = false;
    bool husos_ = false;
    std::optional<int> huso_;
    std::vector<std::string> camposLinea_;       // with names: the fields of the current line
    std::vector<std::string> nombresPendientes_; // with names: one a point not handed out
    std::vector<std::pair<std::int64_t, Rechazo>> rechazosInciertos_; // past 3 x lines so far
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
