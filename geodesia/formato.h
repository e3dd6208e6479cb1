#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

// x rounded to n decimals, halves away from zero (12.5 -> 13, -12.5 -> -13).
double Redondea(double x, int n);

// Blanks around a number: space, tab, CR and LF.
bool EsBlanco(char c);

// The number a text begins with, "." as decimal point whatever the locale. Blanks are ignored
// anywhere; E or D (either case) marks the exponent; reading stops at the first character that
// cannot continue the number; no number gives 0. A magnitude beyond the double range gives an
// infinity of its sign, one below it a zero.
double TextoANumero(std::string_view texto);

// The strict numeric test of an entered value, by the same grammar: blanks only around it, an
// optional sign, digits with at most one "." (at least one digit), an optional exponent E or D
// with an optional sign and at least one digit. No comma, nothing else, and no magnitude that
// overflows a double. The value of a text that passes; nothing for one that does not.
std::optional<double> NumeroValido(std::string_view texto);

// Short text of x: " " or "-", then the magnitude to 15 significant digits without trailing
// zeros (".5" below 1), in exponent form below 1e-4 and from 1e15 on (" 1.5E-05").
// Throws FalloAritmetico for infinities and NaN.
std::string NumeroATexto(double x);

// v with `decimales` decimals and `coma` as the decimal mark, whatever the locale ("2,87").
std::string Fijo(double v, int decimales, char coma = '.');

// Fixed-point layout: the value of the text rounded to `decimales` decimals, the sign
// position and integer digits right-aligned in `ancho` characters, ".", the decimals.
// An integer part wider than the field is preceded by (its length - ancho) spaces.
std::string FormatoNumero(std::string_view texto, int ancho, int decimales);

// The layout of a column: field width of the sign and integer digits, and decimals.
struct FormatoColumna {
    int ancho;
    int decimales;
};

// FormatoNumero(NumeroATexto(v), ancho, decimales) appended to `destino`, without building
// either text where the rounded value has at most 15 digits.
void AnadeFormateado(double v, FormatoColumna f, std::string& destino);

// The value that layout reads back as: TextoANumero(FormatoNumero(NumeroATexto(v), ...)).
double ValorFormateado(double v, FormatoColumna f);
