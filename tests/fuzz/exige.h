#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// A property of the fuzzed code that must hold for every input.
#define EXIGE(condicion)                                                                  \
    do {                                                                                  \
        if (!(condicion)) {                                                               \
            std::fprintf(stderr, "%s:%d: no se cumple: %s\n", __FILE__, __LINE__, #condicion); \
            std::abort();                                                                 \
        }                                                                                 \
    } while (0)

inline std::string_view Texto(const std::uint8_t* datos, std::size_t n) {
    return {reinterpret_cast<const char*>(datos), n};
}
