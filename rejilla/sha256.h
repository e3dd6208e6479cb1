#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// SHA-256 (FIPS 180-4), fed in pieces of any size.
class Sha256 {
public:
    Sha256();
    void Anade(std::string_view bytes);
    // The digest in lowercase hexadecimal, 64 characters; the object is spent after it.
    std::string Hex();

private:
    void Bloque(const unsigned char* b);
    std::array<std::uint32_t, 8> h_;
    std::array<unsigned char, 64> pendiente_{};
    std::size_t enPendiente_ = 0;
    std::uint64_t total_ = 0; // bytes
};
