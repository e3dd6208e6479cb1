#include "entrada.h"

#include "geodesia/formato.h"
#include "texto/codificacion.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

bool Continuacion(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// At most `maximo` characters of a text, for a message in UTF-8: a valid UTF-8 sequence is one
// character, any other byte one too, read as Latin-1; control characters shown as "?"; a cut
// marked with "...".
std::string Cita(std::string_view t, std::size_t maximo) {
    std::string r;
    std::size_t caracteres = 0, i = 0;
    while (i < t.size() && caracteres < maximo) {
        const std::size_t largo = std::max<std::size_t>(1, LargoUtf8(t, i));
        const auto c = static_cast<unsigned char>(t[i]);
        r += c < 0x20 || c == 0x7F ? std::string("?") : BytesAUtf8(t.substr(i, largo));
        i += largo;
        ++caracteres;
    }
    if (i < t.size()) r += "...";
    return r;
}

bool EnBlanco(std::string_view t) { return std::all_of(t.begin(), t.end(), EsBlanco); }

} // namespace

std::string DescribeRechazo(const Rechazo& r) {
    switch (r.motivo) {
    case Rechazo::NoNumerico:
        return "campo " + std::to_string(r.campo) + ": \u00ab" + r.texto + "\u00bb no es un n\u00famero";
    case Rechazo::Vacio:
        return "campo " + std::to_string(r.campo) + " vac\u00edo";
    case Rechazo::LineaLarga:
        return "l\u00ednea de m\u00e1s de " + r.texto + " bytes";
    case Rechazo::FaltanValores:
        return "faltan valores: " + r.texto;
    case Rechazo::DemasiadasLineas:
        return "demasiadas l\u00edneas: " + r.texto;
    case Rechazo::Campos:
        return "se esperaban tres valores, con un nombre delante o sin \u00e9l, y hay " + r.texto + " campos";
    case Rechazo::NombreLargo:
        return "el nombre \u00ab" + r.texto + "\u00bb tiene m\u00e1s de " + std::to_string(LectorEntrada::MaximoNombre) +
               " caracteres";
    }
    return {};
}

std::string MensajeIdentificador(std::string_view linea1) {
    // a line of megabytes would not fit any message box: quote its start
    constexpr std::size_t Maximo = 200;
    std::string citada(linea1.substr(0, Maximo));
    if (linea1.size() > Maximo) {
        while (!citada.empty() && Continuacion(citada.back())) citada.pop_back();
        if (!citada.empty() && (static_cast<unsigned char>(citada.back()) & 0x80)) citada.pop_back();
        citada += "...";
    }
    return " El indicador de tipo de datos " + BytesAUtf8(citada) + " no es reconocido ";
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
    if (!identificador_) {
        const std::size_t fin = t.find_first_of("\r\n", i);
        linea1_.append(t.substr(i, fin == std::string_view::npos ? std::string_view::npos : fin - i));
        if (linea1_.size() > maximoLinea_) {
            Rechaza({Rechazo::LineaLarga, 1, 0, std::to_string(maximoLinea_)}, -1);
            identificador_ = FalloEntrada{FalloEntrada::General, MensajeErrorAbrir, rechazos_.front()};
            detenido_ = true;
            return;
        }
        if (fin == std::string_view::npos) return;
        LeeLinea1();
        if (std::holds_alternative<FalloEntrada>(*identificador_)) {
            detenido_ = true;
            return;
        }
        i = fin + 1;
        if (t[fin] == '\r') {
            if (i == t.size()) crPendiente_ = true;
            else if (t[i] == '\n') ++i;
        }
    }
    std::size_t inicio = i;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (c != ',' && c != '\r' && c != '\n') continue;
        if (!lineaEmpezada_) EmpiezaLinea(), lineaEmpezada_ = true; // a new line starts
        if (detenido_) return;
        largoLinea_ += i - inicio + 1;
        if (campo_.empty()) {
            FinCampo(t.substr(inicio, i - inicio));
        } else {
            campo_.append(t.substr(inicio, i - inicio));
            FinCampo(campo_);
            campo_.clear();
        }
        inicio = i + 1;
        if (c == ',') continue;
        // the line ends: CR LF, LF or a lone CR
        FinDeLinea();
        lineaEmpezada_ = false;
        campoEnLinea_ = 0;
        largoLinea_ = 0;
        if (c == '\r') {
            if (i + 1 == t.size()) crPendiente_ = true;
            else if (t[i + 1] == '\n') inicio = ++i + 1;
        }
    }
    if (inicio < t.size()) {
        if (!lineaEmpezada_) EmpiezaLinea(), lineaEmpezada_ = true;
        if (detenido_) return;
        largoLinea_ += t.size() - inicio;
        campo_.append(t.substr(inicio));
    }
    if (largoLinea_ > maximoLinea_) {
        Rechaza({Rechazo::LineaLarga, lineasPuntos_ + 1, 0, std::to_string(maximoLinea_)}, -1);
        detenido_ = true;
    }
}

// Counts the line that starts now; the refusals its values make certain become certain.
void LectorEntrada::EmpiezaLinea() {
    if (lineasPuntos_ == maximoPuntos_) {
        Rechaza({Rechazo::DemasiadasLineas, lineasPuntos_ + 2, 0,
                 "m\u00e1s de " + std::to_string(maximoPuntos_) + " puntos"}, -1);
        detenido_ = true;
        return;
    }
    ++lineasPuntos_;
    Confirma();
}

void LectorEntrada::Confirma() {
    std::size_t n = 0;
    while (n < rechazosInciertos_.size() && rechazosInciertos_[n].first < 3 * lineasPuntos_) ++n;
    for (std::size_t k = 0; k < n; ++k) Rechaza(std::move(rechazosInciertos_[k].second), -1);
    rechazosInciertos_.erase(rechazosInciertos_.begin(), rechazosInciertos_.begin() + static_cast<std::ptrdiff_t>(n));
}

void LectorEntrada::FinCampo(std::string_view campo) {
    ++campoEnLinea_;
    if (nombres_) {
        camposLinea_.emplace_back(campo);
        return;
    }
    Valor(campo, campoEnLinea_, lineasPuntos_ + 1); // line 1 is the identifier
}

void LectorEntrada::Valor(std::string_view campo, int numero, std::int64_t linea) {
    const std::int64_t indice = campos_++;
    const std::optional<double> v = NumeroValido(campo);
    pendientes_.push_back(v ? *v : std::nan(""));
    lineasPendientes_.push_back(linea);
    if (!v) Rechaza({EnBlanco(campo) ? Rechazo::Vacio : Rechazo::NoNumerico, linea, numero, Cita(campo, 40)}, indice);
}

// With names, a whole line is one point: a name and three values, or three values.
void LectorEntrada::FinDeLinea() {
    if (!nombres_) return;
    const std::int64_t linea = lineasPuntos_ + 1;
    std::vector<std::string> c = std::move(camposLinea_);
    camposLinea_.clear();
    std::string nombre;
    std::size_t primero = 0;
    if (c.size() == 4) {
        const auto a = std::find_if_not(c[0].begin(), c[0].end(), EsBlanco);
        const auto b = std::find_if_not(c[0].rbegin(), std::make_reverse_iterator(a), EsBlanco).base();
        nombre.assign(a, b);
        const auto caracteres = std::count_if(nombre.begin(), nombre.end(), [](char ch) { return !Continuacion(ch); });
        if (static_cast<std::size_t>(caracteres) > MaximoNombre)
            Rechaza({Rechazo::NombreLargo, linea, 1, Cita(nombre, 40)}, -1);
        primero = 1;
    } else if (c.size() != 3 && !(c.size() == 1 && EnBlanco(c[0]))) {
        Rechaza({Rechazo::Campos, linea, 0, std::to_string(c.size())}, -1);
        c.assign(3, "0"); // the point keeps its place; the file is refused anyway
    }
    if (c.size() == 1) c.resize(3); // a blank line: three empty values
    for (std::size_t k = 0; k < 3; ++k) Valor(c[primero + k], static_cast<int>(primero + k + 1), linea);
    nombresPendientes_.push_back(std::move(nombre));
}

// A refusal is certain once the point its field belongs to is (the file has that many lines);
// `indice` -1: certain now.
void LectorEntrada::Rechaza(Rechazo r, std::int64_t indice) {
    if (indice >= 3 * lineasPuntos_) {
        rechazosInciertos_.emplace_back(indice, std::move(r));
        return;
    }
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
        detenido_ = std::holds_alternative<FalloEntrada>(*identificador_);
        return;
    }
    if (lineaEmpezada_) { // the last line has no line end
        FinCampo(campo_);
        campo_.clear();
        FinDeLinea();
        lineaEmpezada_ = false;
    }
    const std::int64_t faltan = 3 * lineasPuntos_ - campos_;
    if (faltan > 0) {
        Rechaza({Rechazo::FaltanValores, lineasPuntos_ + 1, 0,
                 std::to_string(lineasPuntos_) + " puntos necesitan " + std::to_string(3 * lineasPuntos_) +
                     " valores y hay " + std::to_string(campos_)},
                -1);
    }
    Confirma(); // what lies past 3 x lines is never read
    rechazosInciertos_.clear();
    detenido_ = true;
}

LectorEntrada::Puntos LectorEntrada::TomaPuntos() {
    Puntos p;
    const std::int64_t seguros = std::min(campos_ / 3, lineasPuntos_);
    const auto n = static_cast<std::size_t>(std::max<std::int64_t>(0, seguros - entregados_));
    for (Columna* c : {&p.valores.c1, &p.valores.c2, &p.valores.c3}) c->resize(n);
    p.lineas.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        p.valores.c1[i] = pendientes_[3 * i];
        p.valores.c2[i] = pendientes_[3 * i + 1];
        p.valores.c3[i] = pendientes_[3 * i + 2];
        p.lineas[i] = lineasPendientes_[3 * i];
    }
    if (nombres_) {
        p.nombres.assign(std::make_move_iterator(nombresPendientes_.begin()),
                         std::make_move_iterator(nombresPendientes_.begin() + static_cast<std::ptrdiff_t>(n)));
        nombresPendientes_.erase(nombresPendientes_.begin(), nombresPendientes_.begin() + static_cast<std::ptrdiff_t>(n));
    }
    pendientes_.erase(pendientes_.begin(), pendientes_.begin() + static_cast<std::ptrdiff_t>(3 * n));
    lineasPendientes_.erase(lineasPendientes_.begin(), lineasPendientes_.begin() + static_cast<std::ptrdiff_t>(3 * n));
    entregados_ += static_cast<std::int64_t>(n);
    return p;
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
        r.puntos = lector.TomaPuntos().valores;
        r.huso = lector.HusoDelFichero();
        return r;
    } catch (const std::bad_alloc&) {
        return FalloEntrada{FalloEntrada::DemasiadoGrande, MensajeDemasiadoGrande, {}};
    }
}
