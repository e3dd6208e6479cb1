#include "entrada.h"

#include "geodesia/fallo.h"
#include "geodesia/formato.h"
#include "transformacion/columnas.h"
#include "texto/codificacion.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

bool Continuacion(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

bool Control(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

// At most `maximo` characters of a text, for a message in UTF-8: a valid UTF-8 sequence is one
// character, any other byte one too, read as Latin-1; control characters shown as "?"; a cut
// marked with "...".
std::string Cita(std::string_view t, std::size_t maximo) {
    std::string r;
    std::size_t caracteres = 0, i = 0;
    while (i < t.size() && caracteres < maximo) {
        const std::size_t largo = std::max<std::size_t>(1, LargoUtf8(t, i));
        r += Control(CodigoUtf8(t, i, LargoUtf8(t, i))) ? std::string("?") : BytesAUtf8(t.substr(i, largo));
        i += largo;
        ++caracteres;
    }
    if (i < t.size()) r += "...";
    return r;
}

bool EnBlanco(std::string_view t) { return std::all_of(t.begin(), t.end(), EsBlanco); }

std::string_view SinBlancos(std::string_view t) {
    while (!t.empty() && EsBlanco(t.front())) t.remove_prefix(1);
    while (!t.empty() && EsBlanco(t.back())) t.remove_suffix(1);
    return t;
}

// A name a KML and a GeoJSON can carry: no control character and nothing XML forbids (U+FFFE,
// U+FFFF). A ";" never reaches a name: it makes the line one of semicolons.
bool NombreAdmitido(std::string_view t) {
    for (std::size_t i = 0; i < t.size();) {
        const std::size_t largo = LargoUtf8(t, i);
        const char32_t c = CodigoUtf8(t, i, largo);
        if (Control(c) || c == 0xFFFE || c == 0xFFFF) return false;
        i += std::max<std::size_t>(1, largo);
    }
    return true;
}

// Whether the fields from `desde` on read as `grupos` numbers when a field may be the integer
// part and the next its decimals: "440263", "927" read as 440263.927.
bool ConComasDecimales(const std::vector<std::string_view>& c, std::size_t desde, int grupos) {
    if (desde == c.size()) return grupos == 0;
    if (grupos == 0) return false;
    if (NumeroValido(c[desde]) && ConComasDecimales(c, desde + 1, grupos - 1)) return true;
    if (desde + 1 == c.size()) return false;
    const std::string_view entero = SinBlancos(c[desde]), decimales = SinBlancos(c[desde + 1]);
    const bool cifras = !decimales.empty() && std::all_of(decimales.begin(), decimales.end(),
                                                          [](char ch) { return ch >= '0' && ch <= '9'; });
    return cifras && entero.find('.') == std::string_view::npos &&
           NumeroValido(std::string(entero) + "." + std::string(decimales)) &&
           ConComasDecimales(c, desde + 2, grupos - 1);
}

// The first value too large for the column its box shows it in: the file cannot be shown.
std::optional<Rechazo> FueraDeRango(int formato, const LectorEntrada::Puntos& p) {
    const Columna* columnas[] = {&p.valores.c1, &p.valores.c2, &p.valores.c3};
    for (std::size_t i = 0; i < p.lineas.size(); ++i) {
        for (int m = 0; m < 3; ++m) {
            try {
                ValorMostrado((*columnas[m])[i], 3 * (formato - 1) + m);
            } catch (const FalloAritmetico&) {
                return Rechazo{Rechazo::FueraDeRango, p.lineas[i], m + 1, {}, false};
            }
        }
    }
    return std::nullopt;
}

} // namespace

std::string DescribeRechazo(const Rechazo& r) {
    switch (r.motivo) {
    case Rechazo::NoNumerico:
        return "campo " + std::to_string(r.campo) + ": \u00ab" + r.texto + "\u00bb no es un n\u00famero";
    case Rechazo::Vacio:
        return "campo " + std::to_string(r.campo) + " vac\u00edo";
    case Rechazo::LineaLarga:
        return "l\u00ednea de m\u00e1s de " + r.texto + " bytes";
    case Rechazo::LineaEnBlanco:
        return "l\u00ednea en blanco";
    case Rechazo::DemasiadasLineas:
        return "demasiadas l\u00edneas: " + r.texto;
    case Rechazo::Campos:
    case Rechazo::ComasDecimales:
        return std::string("se esperaban tres valores") + (r.conNombre ? ", con un nombre delante o sin \u00e9l," : "") +
               " y hay " + r.texto + " campos" +
               (r.motivo == Rechazo::ComasDecimales ? "; \u00bfcomas decimales? Separe los valores con \u00ab;\u00bb" : "");
    case Rechazo::NombreLargo:
        return "el nombre \u00ab" + r.texto + "\u00bb tiene m\u00e1s de " + std::to_string(LectorEntrada::MaximoNombre) +
               " caracteres";
    case Rechazo::NombreNoValido:
        return "el nombre \u00ab" + r.texto + "\u00bb lleva un car\u00e1cter de control o uno que XML no admite";
    case Rechazo::FueraDeRango:
        return "campo " + std::to_string(r.campo) + ": valor fuera de rango";
    }
    return {};
}

std::string MensajeIdentificador(std::string_view linea1) {
    // a line of megabytes would not fit any message box: quote its start
    return " El indicador de tipo de datos " + Cita(linea1, 200) + " no es reconocido ";
}

std::variant<int, FalloEntrada> LeeIdentificador(std::string_view linea1) {
    const double v = std::nearbyint(TextoANumero(linea1)); // halves to even
    if (!(v >= -32768 && v <= 32767)) return FalloEntrada{FalloEntrada::General, MensajeErrorAbrir, {}};
    if (v < 1 || v > 6)
        return FalloEntrada{FalloEntrada::IdentificadorNoReconocido, MensajeIdentificador(linea1), {}};
    return static_cast<int>(v);
}

std::variant<PrimeraLinea, FalloEntrada> LeePrimeraLinea(std::string_view linea1) {
    const std::size_t separador = linea1.find(';');
    const auto identificador = LeeIdentificador(linea1.substr(0, separador));
    int formato = 0;
    if (const int* f = std::get_if<int>(&identificador)) {
        formato = *f;
    } else if (std::get<FalloEntrada>(identificador).tipo == FalloEntrada::General) {
        return std::get<FalloEntrada>(identificador);
    } else if (!(std::nearbyint(TextoANumero(linea1.substr(0, separador))) == 7)) {
        return FalloEntrada{FalloEntrada::IdentificadorNoReconocido, MensajeIdentificador(linea1), {}};
    } else {
        formato = 7;
    }
    if (separador == std::string_view::npos) return PrimeraLinea{formato, std::nullopt};
    const std::optional<double> huso = NumeroValido(linea1.substr(separador + 1));
    const bool valido = huso && ((formato == 1 && *huso == 30) || (formato == 2 && (*huso == 31 || *huso == 29)) ||
                                 (formato == 7 && (*huso == 29 || *huso == 30 || *huso == 31)));
    if (!valido) return FalloEntrada{FalloEntrada::IdentificadorNoReconocido, MensajeIdentificador(linea1), {}};
    return PrimeraLinea{formato, static_cast<int>(*huso)};
}

void LectorEntrada::LeeLinea1() {
    if (!husos_) {
        // a zone after ";" would otherwise be ignored: never read a file in a zone it did not mean
        identificador_ = linea1_.find(';') == std::string::npos
                             ? LeeIdentificador(linea1_)
                             : FalloEntrada{FalloEntrada::IdentificadorNoReconocido, MensajeIdentificador(linea1_), {}};
        return;
    }
    const auto p = LeePrimeraLinea(linea1_);
    if (const auto* f = std::get_if<FalloEntrada>(&p)) {
        identificador_ = *f;
        return;
    }
    identificador_ = std::get<PrimeraLinea>(p).formato;
    huso_ = std::get<PrimeraLinea>(p).huso;
}

LectorEntrada::LectorEntrada(std::size_t maximoLinea, std::int64_t maximoPuntos)
    : maximoLinea_(maximoLinea), maximoPuntos_(maximoPuntos) {}

void LectorEntrada::Lee(std::string_view t) {
    if (detenido_ || t.empty()) return;
    std::size_t i = 0;
    if (crPendiente_) {
        crPendiente_ = false;
        if (t[0] == '\n') i = 1;
    }
    if (!identificador_ && !TomaLinea1(t, i)) return;
    LeeLineas(t.substr(i));
}

// Gathers line 1 up to its line end and reads the format; true when points follow from t[i].
bool LectorEntrada::TomaLinea1(std::string_view t, std::size_t& i) {
    const std::size_t fin = t.find_first_of("\r\n", i);
    linea1_.append(t.substr(i, fin == std::string_view::npos ? std::string_view::npos : fin - i));
    if (linea1_.size() > maximoLinea_) {
        Rechaza({Rechazo::LineaLarga, 1, 0, std::to_string(maximoLinea_)});
        identificador_ = FalloEntrada{FalloEntrada::General, MensajeErrorAbrir, rechazos_.front()};
        detenido_ = true;
        return false;
    }
    if (fin == std::string_view::npos) return false;
    LeeLinea1();
    if (std::holds_alternative<FalloEntrada>(*identificador_)) {
        detenido_ = true;
        return false;
    }
    i = TrasFinLinea(t, fin);
    return true;
}

// Reads the point lines of a piece; a line the piece cuts waits for the next.
void LectorEntrada::LeeLineas(std::string_view t) {
    std::size_t inicio = 0;
    while (inicio < t.size() && !detenido_) {
        const std::size_t fin = t.find_first_of("\r\n", inicio);
        const std::string_view trozo = t.substr(inicio, fin == std::string_view::npos ? std::string_view::npos : fin - inicio);
        if (linea_.size() + trozo.size() > maximoLinea_) {
            Rechaza({Rechazo::LineaLarga, lineasPuntos_ + 2, 0, std::to_string(maximoLinea_)});
            detenido_ = true;
            return;
        }
        if (fin == std::string_view::npos) {
            linea_.append(trozo);
            return;
        }
        if (linea_.empty()) {
            LineaCompleta(trozo);
        } else {
            linea_.append(trozo);
            LineaCompleta(linea_);
            linea_.clear();
        }
        inicio = TrasFinLinea(t, fin);
    }
}

// Where the text after the line end at t[fin] starts: a line ends with CR LF, LF or a lone CR.
std::size_t LectorEntrada::TrasFinLinea(std::string_view t, std::size_t fin) {
    std::size_t i = fin + 1;
    if (t[fin] == '\r') {
        if (i == t.size()) crPendiente_ = true; // its LF, if any, starts the next piece
        else if (t[i] == '\n') ++i;
    }
    return i;
}

void LectorEntrada::LineaCompleta(std::string_view linea) {
    if (lineasPuntos_ == maximoPuntos_) {
        Rechaza({Rechazo::DemasiadasLineas, lineasPuntos_ + 2, 0, "m\u00e1s de " + std::to_string(maximoPuntos_) + " puntos"});
        detenido_ = true;
        return;
    }
    ++lineasPuntos_;
    LeePunto(linea, lineasPuntos_ + 1); // line 1 is the identifier
}

// One line, one point: three values, or with names a name and three values. A refused line
// keeps its place with its values NaN.
void LectorEntrada::LeePunto(std::string_view linea, std::int64_t numero) {
    const bool comaDecimal = linea.find(';') != std::string_view::npos;
    const char separador = comaDecimal ? ';' : ',';
    campos_.clear();
    for (std::size_t desde = 0;;) {
        const std::size_t fin = linea.find(separador, desde);
        campos_.push_back(linea.substr(desde, fin == std::string_view::npos ? std::string_view::npos : fin - desde));
        if (fin == std::string_view::npos) break;
        desde = fin + 1;
    }
    const std::size_t n = campos_.size();
    const bool conNombre = nombres_ && n == 4;
    if (nombres_) listos_.nombres.push_back(conNombre ? Nombre(campos_[0], numero) : std::string());
    listos_.lineas.push_back(numero);
    if (n == 3 || conNombre) {
        for (std::size_t k = 0; k < 3; ++k)
            Valor(campos_[n - 3 + k], k, static_cast<int>(n - 2 + k), numero, comaDecimal);
        return;
    }
    for (Columna* c : {&listos_.valores.c1, &listos_.valores.c2, &listos_.valores.c3}) c->push_back(std::nan(""));
    if (n == 1 && EnBlanco(linea)) {
        Rechaza({Rechazo::LineaEnBlanco, numero, 0, {}});
        return;
    }
    const bool comas = !comaDecimal && (ConComasDecimales(campos_, 0, 3) ||
                                        (nombres_ && ConComasDecimales(campos_, 1, 3)));
    Rechaza({comas ? Rechazo::ComasDecimales : Rechazo::Campos, numero, 0, std::to_string(n), nombres_});
}

// A point's name, blanks around it dropped; a refused one is reported.
std::string LectorEntrada::Nombre(std::string_view campo, std::int64_t linea) {
    const std::string_view nombre = SinBlancos(campo);
    const auto caracteres = std::count_if(nombre.begin(), nombre.end(), [](char ch) { return !Continuacion(ch); });
    if (static_cast<std::size_t>(caracteres) > MaximoNombre)
        Rechaza({Rechazo::NombreLargo, linea, 1, Cita(nombre, 40)});
    else if (!NombreAdmitido(nombre))
        Rechaza({Rechazo::NombreNoValido, linea, 1, Cita(nombre, 40)});
    return std::string(nombre);
}

// Value `k` (0 to 2) of the point, field `numero` of its line.
void LectorEntrada::Valor(std::string_view campo, std::size_t k, int numero, std::int64_t linea, bool comaDecimal) {
    std::optional<double> v;
    if (!comaDecimal) {
        v = NumeroValido(campo);
    } else if (campo.find('.') == std::string_view::npos) {
        std::string punto(campo);
        std::replace(punto.begin(), punto.end(), ',', '.');
        v = NumeroValido(punto);
    }
    Columna* columnas[] = {&listos_.valores.c1, &listos_.valores.c2, &listos_.valores.c3};
    columnas[k]->push_back(v ? *v : std::nan(""));
    if (!v) Rechaza({EnBlanco(campo) ? Rechazo::Vacio : Rechazo::NoNumerico, linea, numero, Cita(campo, 40)});
}

void LectorEntrada::Rechaza(Rechazo r) {
    ++totalRechazos_;
    if (rechazos_.size() < MaximoGuardados) rechazos_.push_back(std::move(r));
}

void LectorEntrada::Termina() {
    if (detenido_) return;
    if (!identificador_) {
        if (linea1_.empty() && !crPendiente_) { // an empty file
            identificador_ = FalloEntrada{FalloEntrada::General, MensajeErrorAbrir, {}};
        } else {
            LeeLinea1();
        }
        detenido_ = true;
        return;
    }
    if (!linea_.empty()) LineaCompleta(linea_); // the last line has no line end
    linea_.clear();
    detenido_ = true;
}

std::variant<FicheroEntrada, FalloEntrada> LeeFicheroEntrada(std::string_view contenido, bool conHusos) {
    try {
        LectorEntrada lector(std::numeric_limits<std::size_t>::max(), MaximoPuntosFichero);
        if (conHusos) lector.ConHusos();
        lector.Lee(contenido);
        lector.Termina();
        const auto identificador = *lector.Identificador();
        if (const auto* f = std::get_if<FalloEntrada>(&identificador)) return *f;
        if (lector.TotalRechazos() > 0)
            return FalloEntrada{FalloEntrada::General, MensajeErrorAbrir, lector.Rechazos().front()};
        FicheroEntrada r;
        r.formato = std::get<int>(identificador);
        LectorEntrada::Puntos puntos = lector.TomaPuntos();
        if (auto fuera = FueraDeRango(r.formato, puntos))
            return FalloEntrada{FalloEntrada::General, MensajeErrorAbrir, std::move(fuera)};
        r.puntos = std::move(puntos.valores);
        r.huso = lector.HusoDelFichero();
        return r;
    } catch (const std::bad_alloc&) {
        return FalloEntrada{FalloEntrada::DemasiadoGrande, MensajeDemasiadoGrande, {}};
    }
}
