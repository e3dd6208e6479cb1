#include "formato.h"

#include "fallo.h"

#include <charconv>
#include <cmath>
#include <limits>

double Redondea(double x, int n) {
    const double s = std::pow(10.0, n);
    double y = x * s;
    if (y > 0) {
        y = std::trunc(y + 0.5) != std::trunc(y) ? std::trunc(y) + 1 : std::trunc(y);
    } else {
        y = std::trunc(y - 0.5) != std::trunc(y) ? std::trunc(y) - 1 : std::trunc(y);
    }
    return y / s;
}

namespace {

bool EsDigito(char c) { return c >= '0' && c <= '9'; }
bool EsIgnorado(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool EsExponente(char c) { return c == 'E' || c == 'e' || c == 'D' || c == 'd'; }

// Parts of a decimal number, blanks removed.
struct Decimal {
    bool negativo = false;
    std::string entero;
    std::string fraccion;
    long exponente = 0;
};

double ValorDe(const Decimal& d) {
    std::string t;
    t.reserve(d.entero.size() + d.fraccion.size() + 16);
    if (d.negativo) t += '-';
    t += d.entero.empty() ? "0" : d.entero;
    if (!d.fraccion.empty()) {
        t += '.';
        t += d.fraccion;
    }
    t += 'e';
    t += std::to_string(d.exponente);
    double v = 0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        // overflow or underflow: decide by the decimal position of the first significant digit
        const auto primero = d.entero.find_first_not_of('0');
        long posicion;
        if (primero != std::string::npos) {
            posicion = static_cast<long>(d.entero.size() - primero) - 1;
        } else {
            const auto f = d.fraccion.find_first_not_of('0');
            posicion = -static_cast<long>(f) - 1;
        }
        const double magnitud =
            posicion + d.exponente > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        return d.negativo ? -magnitud : magnitud;
    }
    return v;
}

} // namespace

double TextoANumero(std::string_view texto) {
    std::size_t i = 0;
    const std::size_t n = texto.size();
    auto salta = [&] {
        while (i < n && EsIgnorado(texto[i])) ++i;
    };
    Decimal d;
    salta();
    if (i < n && (texto[i] == '+' || texto[i] == '-')) {
        d.negativo = texto[i] == '-';
        ++i;
    }
    for (salta(); i < n && EsDigito(texto[i]); salta()) d.entero += texto[i++];
    salta();
    if (i < n && texto[i] == '.') {
        ++i;
        for (salta(); i < n && EsDigito(texto[i]); salta()) d.fraccion += texto[i++];
    }
    if (d.entero.empty() && d.fraccion.empty()) return 0;
    salta();
    if (i < n && EsExponente(texto[i])) {
        ++i;
        salta();
        bool negativo = false;
        if (i < n && (texto[i] == '+' || texto[i] == '-')) {
            negativo = texto[i] == '-';
            ++i;
        }
        long e = 0;
        for (salta(); i < n && EsDigito(texto[i]); salta()) {
            if (e < 100000) e = e * 10 + (texto[i] - '0'); // saturates far beyond the range
            ++i;
        }
        d.exponente = negativo ? -e : e;
    }
    return ValorDe(d);
}

bool EsNumerico(std::string_view texto) {
    auto blanco = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t i = 0, n = texto.size();
    while (i < n && blanco(texto[i])) ++i;
    while (n > i && blanco(texto[n - 1])) --n;
    if (i < n && (texto[i] == '+' || texto[i] == '-')) ++i;
    int digitos = 0;
    while (i < n && EsDigito(texto[i])) ++i, ++digitos;
    if (i < n && texto[i] == '.') {
        ++i;
        while (i < n && EsDigito(texto[i])) ++i, ++digitos;
    }
    if (digitos == 0) return false;
    if (i < n && EsExponente(texto[i])) {
        ++i;
        if (i < n && (texto[i] == '+' || texto[i] == '-')) ++i;
        int exponente = 0;
        while (i < n && EsDigito(texto[i])) ++i, ++exponente;
        if (exponente == 0) return false;
    }
    if (i != n) return false;
    return std::isfinite(TextoANumero(texto));
}

std::string NumeroATexto(double x) {
    if (!std::isfinite(x)) throw FalloAritmetico("número fuera del rango representable");
    std::string s(1, std::signbit(x) && x != 0 ? '-' : ' ');
    if (x == 0) return s + '0';
    char buf[40];
    const auto r =
        std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
    // buf: d.dddddddddddddde[+-]xx
    const std::string_view t(buf, r.ptr - buf);
    const std::size_t e = t.find('e');
    std::string digitos;
    digitos += t[0];
    digitos.append(t.substr(2, e - 2));
    while (digitos.size() > 1 && digitos.back() == '0') digitos.pop_back();
    int exponente = 0;
    std::from_chars(t.data() + e + (t[e + 1] == '+' ? 2 : 1), t.data() + t.size(), exponente);

    if (exponente >= 15 || exponente < -4) {
        s += digitos[0];
        if (digitos.size() > 1) {
            s += '.';
            s.append(digitos, 1);
        }
        s += 'E';
        s += exponente < 0 ? '-' : '+';
        const int m = std::abs(exponente);
        if (m < 10) s += '0';
        s += std::to_string(m);
    } else if (exponente >= 0) {
        const std::size_t enteros = static_cast<std::size_t>(exponente) + 1;
        if (digitos.size() <= enteros) {
            s += digitos;
            s.append(enteros - digitos.size(), '0');
        } else {
            s.append(digitos, 0, enteros);
            s += '.';
            s.append(digitos, enteros);
        }
    } else {
        s += '.';
        s.append(static_cast<std::size_t>(-exponente - 1), '0');
        s += digitos;
    }
    return s;
}

std::string FormatoNumero(std::string_view texto, int ancho, int decimales) {
    const double v = TextoANumero(texto);
    CompruebaFinito(v, "número fuera del rango representable");
    const double r = Redondea(v, decimales);
    CompruebaFinito(r, "desbordamiento al redondear");
    const std::string t = NumeroATexto(r);

    const std::size_t p = t.rfind('.');
    std::size_t e = t.rfind('E');
    if (e == std::string::npos) e = t.rfind('D');
    std::string I, F;
    if (e == std::string::npos) {
        if (p != std::string::npos) {
            I = t.substr(0, p);
            F = t.substr(p + 1);
        } else {
            I = t;
        }
    } else {
        if (p != std::string::npos && p < e) {
            I = t.substr(0, p);
            F = t.substr(p + 1, e - p - 1);
        } else {
            I = t.substr(0, e);
        }
        const int k = static_cast<int>(std::nearbyint(TextoANumero(std::string_view(t).substr(e + 1))));
        if (k >= 1) {
            const auto uk = static_cast<std::size_t>(k);
            if (uk < F.size()) {
                I += F.substr(0, uk);
                F.erase(0, uk);
            } else {
                I += F;
                I.append(uk - F.size(), '0');
                F.clear();
            }
        } else if (k <= -1) {
            const auto m = static_cast<std::size_t>(-k);
            if (m < I.size()) {
                F = I.substr(I.size() - m) + F;
                I.erase(I.size() - m);
            } else {
                const std::string signo = I.substr(0, 1);
                const std::string resto = I.substr(1);
                F = std::string(m - resto.size(), '0') + resto + F;
                I = signo + "0";
            }
        }
    }
    if (I.size() == 1) I += '0';
    const auto d = static_cast<std::size_t>(decimales < 0 ? 0 : decimales);
    if (F.size() < d) {
        F.append(d - F.size(), '0');
    } else {
        F.resize(d);
    }
    const long espacios = std::labs(static_cast<long>(ancho) - static_cast<long>(I.size()));
    std::string salida(static_cast<std::size_t>(espacios), ' ');
    salida += I;
    salida += '.';
    salida += F;
    return salida;
}

std::string TextoDeColumna(double v, int k) {
    const FormatoColumna f = FormatosColumnas[static_cast<std::size_t>(k)];
    return FormatoNumero(NumeroATexto(v), f.ancho, f.decimales);
}
