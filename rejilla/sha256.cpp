#include "sha256.h"

namespace {

constexpr std::array<std::uint32_t, 64> K = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::uint32_t Rota(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

} // namespace

Sha256::Sha256()
    : h_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19} {}

void Sha256::Bloque(const unsigned char* b) {
    std::array<std::uint32_t, 64> w;
    for (std::size_t i = 0; i < 16; ++i)
        w[i] = static_cast<std::uint32_t>(b[4 * i]) << 24 | static_cast<std::uint32_t>(b[4 * i + 1]) << 16 |
               static_cast<std::uint32_t>(b[4 * i + 2]) << 8 | b[4 * i + 3];
    for (std::size_t i = 16; i < 64; ++i) {
        const std::uint32_t s0 = Rota(w[i - 15], 7) ^ Rota(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const std::uint32_t s1 = Rota(w[i - 2], 17) ^ Rota(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::array<std::uint32_t, 8> v = h_; // a b c d e f g h
    for (std::size_t i = 0; i < 64; ++i) {
        const std::uint32_t s1 = Rota(v[4], 6) ^ Rota(v[4], 11) ^ Rota(v[4], 25);
        const std::uint32_t ch = (v[4] & v[5]) ^ (~v[4] & v[6]);
        const std::uint32_t t1 = v[7] + s1 + ch + K[i] + w[i];
        const std::uint32_t s0 = Rota(v[0], 2) ^ Rota(v[0], 13) ^ Rota(v[0], 22);
        const std::uint32_t maj = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
        for (std::size_t j = 7; j > 0; --j) v[j] = v[j - 1];
        v[4] += t1;
        v[0] = t1 + s0 + maj;
    }
    for (std::size_t j = 0; j < 8; ++j) h_[j] += v[j];
}

void Sha256::Anade(std::string_view bytes) {
    total_ += bytes.size();
    for (const char c : bytes) {
        pendiente_[enPendiente_++] = static_cast<unsigned char>(c);
        if (enPendiente_ == 64) {
            Bloque(pendiente_.data());
            enPendiente_ = 0;
        }
    }
}

std::string Sha256::Hex() {
    const std::uint64_t bits = total_ * 8;
    // a 1 bit, zeros up to 56 bytes of the last block, then the length in bits, big-endian
    Anade(std::string_view("\x80", 1));
    while (enPendiente_ != 56) Anade(std::string_view("\0", 1));
    std::string largo(8, '\0');
    for (int i = 0; i < 8; ++i) largo[static_cast<std::size_t>(i)] = static_cast<char>(bits >> (56 - 8 * i));
    Anade(largo);
    static constexpr char Cifras[] = "0123456789abcdef";
    std::string hex;
    for (const std::uint32_t x : h_)
        for (int i = 28; i >= 0; i -= 4) hex += Cifras[(x >> i) & 0xf];
    return hex;
}
