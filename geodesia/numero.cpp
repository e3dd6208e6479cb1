#include "formato.h"

#include <charconv>
#include <cmath>
#include <limits>

// The number grammar: one scan for both readers of a number text.

namespace {

bool EsDigito(char c) { return c >= '0' && c <= '9'; }
bool EsExponente(char c) { return c == 'E' || c == 'e' || c == 'D' || c == 'd'; }

// A decimal number as the grammar found it in a text.
struct Explorado {
    bool hayDigitos = false;  // at least one digit before or after the point
    bool completo = false;    // nothing but blanks after it
    bool negativo = false;
    bool limpio = true;       // the span is what from_chars reads: no "+", no D, no blank inside
    long posicion = 0;        // decimal position of the first significant digit, for out-of-range
    long exponente = 0;       // saturated far beyond the double range
    std::string_view numero;  // the span of the text the number takes
};

// The one number grammar: blanks, an optional sign, digits with at most one ".", an optional
// exponent (E or D, either case, an optional sign, digits). `blancosDentro`: blanks are also
// skipped between the characters of the number, and reading stops at the first character that
// cannot continue it; otherwise blanks stand only around it.
class Explorador {
public:
    Explorador(std::string_view t, bool blancosDentro) : t_(t), n_(t.size()), blancosDentro_(blancosDentro) {}

    Explorado Explora() {
        while (i_ < n_ && EsBlanco(t_[i_])) ++i_;
        const std::size_t inicio = i_;
        fin_ = i_;
        Signo();
        Mantisa();
        if (r_.hayDigitos && i_ < n_ && EsExponente(t_[i_])) Exponente();
        // blanks skipped after the last character do not count against the span
        r_.numero = t_.substr(inicio, fin_ - inicio);
        while (i_ < n_ && EsBlanco(t_[i_])) ++i_;
        r_.completo = i_ == n_;
        return r_;
    }

private:
    void Salta(std::size_t& j) {
        if (!blancosDentro_) return;
        const std::size_t antes = j;
        while (j < n_ && EsBlanco(t_[j])) ++j;
        if (j != antes && j < n_) r_.limpio = false;
    }

    void Signo() {
        if (i_ < n_ && (t_[i_] == '+' || t_[i_] == '-')) {
            r_.negativo = t_[i_] == '-';
            r_.limpio = r_.limpio && r_.negativo;
            ++i_;
            Salta(i_);
        }
    }

    // Integer digits, then "." and the fraction's; the decimal position of the first
    // significant digit.
    void Mantisa() {
        long enteros = 0;       // integer digits after the leading zeros
        long cerosFraccion = 0; // fraction zeros before the first significant digit
        bool significativo = false;
        for (; i_ < n_ && EsDigito(t_[i_]); Salta(i_)) {
            significativo = significativo || t_[i_] != '0';
            if (significativo) ++enteros;
            r_.hayDigitos = true;
            fin_ = ++i_;
        }
        if (i_ < n_ && t_[i_] == '.') {
            fin_ = ++i_;
            Salta(i_);
            for (; i_ < n_ && EsDigito(t_[i_]); Salta(i_)) {
                if (!significativo && t_[i_] == '0') ++cerosFraccion;
                significativo = significativo || t_[i_] != '0';
                r_.hayDigitos = true;
                fin_ = ++i_;
            }
        }
        r_.posicion = enteros > 0 ? enteros - 1 : -cerosFraccion - 1;
    }

    // At the exponent letter: an exponent without digits is not part of the number ("5e" reads
    // as 5).
    void Exponente() {
        std::size_t j = i_ + 1;
        const bool letraD = t_[i_] == 'D' || t_[i_] == 'd';
        const bool limpioAntes = r_.limpio;
        Salta(j);
        bool negativo = false;
        if (j < n_ && (t_[j] == '+' || t_[j] == '-')) {
            negativo = t_[j] == '-';
            ++j;
            Salta(j);
        }
        if (j < n_ && EsDigito(t_[j])) {
            long e = 0;
            for (; j < n_ && EsDigito(t_[j]); Salta(j)) {
                if (e < 100000) e = e * 10 + (t_[j] - '0');
                fin_ = ++j;
            }
            r_.exponente = negativo ? -e : e;
            r_.limpio = r_.limpio && !letraD;
            i_ = j;
        } else {
            r_.limpio = limpioAntes;
        }
    }

    std::string_view t_;
    std::size_t n_;
    bool blancosDentro_;
    std::size_t i_ = 0;
    std::size_t fin_ = 0;
    Explorado r_;
};

Explorado Explora(std::string_view t, bool blancosDentro) { return Explorador(t, blancosDentro).Explora(); }

// The value of a number the grammar found; beyond the double range an infinity of its sign,
// below it a zero of its sign.
double Valor(const Explorado& x) {
    if (!x.hayDigitos) return 0;
    std::string copia;
    std::string_view texto = x.numero;
    if (!x.limpio) {
        // the number alone as from_chars reads it: no leading "+", no blanks, "e" for D
        bool primero = true;
        for (char c : x.numero) {
            if (EsBlanco(c)) continue;
            if (primero && c == '+') {
                primero = false;
                continue;
            }
            primero = false;
            copia += c == 'D' || c == 'd' ? 'e' : c;
        }
        texto = copia;
    }
    double v = 0;
    const auto r = std::from_chars(texto.data(), texto.data() + texto.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        const double magnitud =
            x.posicion + x.exponente > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        return x.negativo ? -magnitud : magnitud;
    }
    return v;
}

} // namespace

bool EsBlanco(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

double TextoANumero(std::string_view texto) { return Valor(Explora(texto, true)); }

std::optional<double> NumeroValido(std::string_view texto) {
    const Explorado x = Explora(texto, false);
    if (!x.hayDigitos || !x.completo) return std::nullopt;
    const double v = Valor(x);
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}
