#pragma once

#include <stdexcept>
#include <string>

// An arithmetic fault of a conversion: overflow, a division by zero the formulas would make,
// or a result that is not a finite number. Carries a short Spanish description for the user.
class FalloAritmetico : public std::runtime_error {
public:
    explicit FalloAritmetico(const std::string& descripcion) : std::runtime_error(descripcion) {}
};

// Throws FalloAritmetico with the description when v is infinite or NaN.
inline void CompruebaFinito(double v, const char* descripcion) {
    if (!(v - v == 0.0)) throw FalloAritmetico(descripcion);
}
