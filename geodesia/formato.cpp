#include "formato.h"

#include "fallo.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

// x * 10^n rounded half away from zero (y), and the scale s = 10^n it was taken with.
struct Escalado {
    double y;
    double s;
};

// 10^n as the power function gives it, taken once for the decimals the columns use.
double PotenciaDeDiez(int n) {
    static const auto tabla = [] {
        std::array<double, 13> t{};
        for (int i = 0; i < 13; ++i) t[static_cast<std::size_t>(i)] = std::pow(10.0, i);
        return t;
    }();
    return n >= 0 && n < 13 ? tabla[static_cast<std::size_t>(n)] : std::pow(10.0, n);
}

Escalado RedondeaEscalado(double x, int n) {
    const double s = PotenciaDeDiez(n);
    double y = x * s;
    if (y > 0) {
        y = std::trunc(y + 0.5) != std::trunc(y) ? std::trunc(y) + 1 : std::trunc(y);
    } else {
        y = std::trunc(y - 0.5) != std::trunc(y) ? std::trunc(y) - 1 : std::trunc(y);
    }
    return {y, s};
}

} // namespace

double Redondea(double x, int n) {
    const Escalado e = RedondeaEscalado(x, n);
    return e.y / e.s;
}

std::string NumeroATexto(double x) {
    if (!std::isfinite(x)) throw FalloAritmetico("número fuera del rango representable");
    std::string s(1, std::signbit(x) && x != 0 ? '-' : ' ');
    if (x == 0) return s + '0';
    char buf[40];
    const auto r =
        std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
    // buf: d.dddddddddddddde[+-]xx
    const std::string_view t(buf, static_cast<std::size_t>(r.ptr - buf));
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

namespace {

// A short number text cut at its point: the sign position and integer digits, and the fraction.
struct Partes {
    std::string I, F;
};

// The point moved k places to the right (to the left for k < 0), zeros filled in as needed;
// a point moved past the first digit leaves the sign position and "0" before it.
void DesplazaPunto(Partes& x, int k) {
    if (k >= 1) {
        const auto uk = static_cast<std::size_t>(k);
        if (uk < x.F.size()) {
            x.I += x.F.substr(0, uk);
            x.F.erase(0, uk);
        } else {
            x.I += x.F;
            x.I.append(uk - x.F.size(), '0');
            x.F.clear();
        }
    } else if (k <= -1) {
        const auto m = static_cast<std::size_t>(-k);
        if (m < x.I.size()) {
            x.F = x.I.substr(x.I.size() - m) + x.F;
            x.I.erase(x.I.size() - m);
        } else {
            const std::string signo = x.I.substr(0, 1);
            const std::string resto = x.I.substr(1);
            x.F = std::string(m - resto.size(), '0') + resto + x.F;
            x.I = signo + "0";
        }
    }
}

// The parts of NumeroATexto's text, in positional form whatever form it came in.
Partes PartesDe(const std::string& t) {
    const std::size_t p = t.rfind('.');
    const std::size_t e = t.rfind('E'); // NumeroATexto writes no D exponent
    Partes x;
    if (e == std::string::npos) {
        if (p != std::string::npos) {
            x.I = t.substr(0, p);
            x.F = t.substr(p + 1);
        } else {
            x.I = t;
        }
        return x;
    }
    if (p != std::string::npos && p < e) {
        x.I = t.substr(0, p);
        x.F = t.substr(p + 1, e - p - 1);
    } else {
        x.I = t.substr(0, e);
    }
    DesplazaPunto(x, static_cast<int>(std::nearbyint(TextoANumero(std::string_view(t).substr(e + 1)))));
    return x;
}

} // namespace

std::string FormatoNumero(std::string_view texto, int ancho, int decimales) {
    const double v = TextoANumero(texto);
    CompruebaFinito(v, "número fuera del rango representable");
    const double r = Redondea(v, decimales);
    CompruebaFinito(r, "desbordamiento al redondear");
    Partes x = PartesDe(NumeroATexto(r));
    if (x.I.size() == 1) x.I += '0';
    const auto d = static_cast<std::size_t>(decimales < 0 ? 0 : decimales);
    if (x.F.size() < d) {
        x.F.append(d - x.F.size(), '0');
    } else {
        x.F.resize(d);
    }
    const long espacios = std::labs(static_cast<long>(ancho) - static_cast<long>(x.I.size()));
    std::string salida(static_cast<std::size_t>(espacios), ' ');
    salida += x.I;
    salida += '.';
    salida += x.F;
    return salida;
}

namespace {

__extension__ typedef unsigned __int128 U128;

// 15 significant digits of v rounded half to even, exactly, by integer arithmetic: v is
// m 2^q, so D = round(m 10^p / 2^-q) with 10^14 <= D < 10^15. For 1e-5 <= |v| < 1e15 (p from
// 0 to 19); false outside that range.
bool QuinceCifrasExactas(double v, unsigned long long& D, int& p) {
    const double a = std::fabs(v);
    if (!(a >= 1e-5 && a < 1e15)) return false;
    int e2;
    const double f = std::frexp(a, &e2); // a = f 2^e2, 0.5 <= f < 1
    const auto m = static_cast<unsigned long long>(std::ldexp(f, 53));
    const int desplazamiento = 53 - e2; // a = m / 2^desplazamiento, 53 - 49 .. 53 + 17
    static constexpr unsigned long long Potencias10[] = {
        1ULL, 10ULL, 100ULL, 1000ULL, 10000ULL, 100000ULL, 1000000ULL, 10000000ULL, 100000000ULL,
        1000000000ULL, 10000000000ULL, 100000000000ULL, 1000000000000ULL, 10000000000000ULL,
        100000000000000ULL, 1000000000000000ULL, 10000000000000000ULL, 100000000000000000ULL,
        1000000000000000000ULL, 10000000000000000000ULL};
    // decimal exponent estimate from the binary one: the true one is this or the next
    int e10 = static_cast<int>(std::floor((e2 - 1) * 0.30102999566398120));
    for (int intento = 0; intento < 2; ++intento) {
        p = 14 - e10;
        if (p < 0 || p > 19) return false;
        const U128 producto = static_cast<U128>(m) * Potencias10[p];
        const U128 entero = producto >> desplazamiento;
        if (entero >= Potencias10[15]) {
            ++e10;
            continue;
        }
        if (entero < Potencias10[14]) {
            --e10;
            continue;
        }
        const U128 resto = producto - (entero << desplazamiento);
        const U128 mitad = static_cast<U128>(1) << (desplazamiento - 1);
        D = static_cast<unsigned long long>(entero);
        if (resto > mitad || (resto == mitad && (D & 1))) ++D;
        if (D == Potencias10[15]) { // the rounding carried into a 16th digit
            D = Potencias10[14];
            --p;
        }
        return p >= 0;
    }
    return false;
}

// The double the 15-significant-digit text of v reads back as: what TextoANumero gives for
// NumeroATexto(v), without building either text.
double A15Cifras(double v) {
    if (!std::isfinite(v)) throw FalloAritmetico("n\u00famero fuera del rango representable");
    unsigned long long D;
    int p;
    if (QuinceCifrasExactas(v, D, p)) {
        // D and 10^p are exact doubles: the quotient is correctly rounded, as a reading is
        static constexpr double Escalas[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,
                                             1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13,
                                             1e14, 1e15, 1e16, 1e17, 1e18, 1e19};
        const double r = static_cast<double>(D) / Escalas[p];
        return v < 0 ? -r : r;
    }
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    double leido = 0;
    if (std::from_chars(buf, r.ptr, leido).ec != std::errc())
        throw FalloAritmetico("n\u00famero fuera del rango representable");
    return leido;
}

// Every decimal of at most 15 significant digits survives a trip through a double: when the
// rounded integer has at most 15 digits, its digits are the text the second trip would give.
bool CabeEnQuinceCifras(const Escalado& e) { return std::fabs(e.y) < 1e15; }

// The laid-out text of a rounded value y 10^-d of at most 15 digits, written from the right.
void Maqueta(const Escalado& e, FormatoColumna f, std::string& destino) {
    static constexpr char Pares[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                                    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                                    "8081828384858687888990919293949596979899";
    auto y = static_cast<unsigned long long>(std::fabs(e.y));
    char texto[64];
    char* const fin = texto + sizeof texto;
    char* c = fin;
    for (int i = 0; i < f.decimales; ++i) {
        *--c = static_cast<char>('0' + y % 10);
        y /= 10;
    }
    *--c = '.';
    char* const punto = c;
    while (y >= 10) {
        const auto par = static_cast<std::size_t>(y % 100) * 2;
        y /= 100;
        *--c = Pares[par + 1];
        *--c = Pares[par];
    }
    if (y > 0 || c == punto) *--c = static_cast<char>('0' + y); // at least one integer digit
    *--c = e.y < 0 ? '-' : ' ';
    const long largoI = punto - c; // the sign position and the integer digits
    destino.append(static_cast<std::size_t>(std::labs(f.ancho - largoI)), ' ');
    destino.append(c, static_cast<std::size_t>(fin - c));
}

} // namespace

void AnadeFormateado(double v, FormatoColumna f, std::string& destino) {
    const Escalado e = RedondeaEscalado(A15Cifras(v), f.decimales);
    if (CabeEnQuinceCifras(e) && f.decimales >= 0 && f.decimales <= 20) {
        Maqueta(e, f, destino);
    } else {
        destino += FormatoNumero(NumeroATexto(v), f.ancho, f.decimales);
    }
}

double ValorFormateado(double v, FormatoColumna f) {
    const Escalado e = RedondeaEscalado(A15Cifras(v), f.decimales);
    // y / 10^d is correctly rounded, as reading the text back would be
    if (CabeEnQuinceCifras(e)) return e.y / e.s;
    return TextoANumero(FormatoNumero(NumeroATexto(v), f.ancho, f.decimales));
}

std::string Fijo(double v, int decimales, char coma) {
    char cifras[64];
    const auto fin = std::to_chars(cifras, cifras + sizeof cifras, v, std::chars_format::fixed, decimales).ptr;
    std::string t(cifras, fin);
    if (const auto punto = t.find('.'); punto != std::string::npos) t[punto] = coma;
    return t;
}
