#include "codificacion.h"

#include <algorithm>

namespace {

// UTF-8 into UTF-16; false at the first byte that starts no valid sequence.
bool DeUtf8(std::string_view b, std::u16string& t) {
    t.clear();
    t.reserve(b.size());
    for (std::size_t i = 0; i < b.size();) {
        const std::size_t n = LargoUtf8(b, i);
        if (n == 0) return false;
        char32_t cp = CodigoUtf8(b, i, n);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            t += static_cast<char16_t>(0xD800 + (cp >> 10));
            t += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            t += static_cast<char16_t>(cp);
        }
        i += n;
    }
    return true;
}

std::u16string DeLatin1(std::string_view b) {
    std::u16string t;
    t.reserve(b.size());
    for (char c : b) t += static_cast<char16_t>(static_cast<unsigned char>(c));
    return t;
}

void AUtf8(const std::u16string& t, std::string& b) {
    for (std::size_t i = 0; i < t.size(); ++i) {
        char32_t cp = t[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < t.size() && t[i + 1] >= 0xDC00 && t[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (t[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD; // a lone surrogate has no UTF-8 form
        }
        if (cp < 0x80) {
            b += static_cast<char>(cp);
        } else if (cp < 0x800) {
            b += static_cast<char>(0xC0 | (cp >> 6));
            b += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            b += static_cast<char>(0xE0 | (cp >> 12));
            b += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            b += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            b += static_cast<char>(0xF0 | (cp >> 18));
            b += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            b += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            b += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
}

} // namespace

std::size_t LargoUtf8(std::string_view b, std::size_t i) {
    const auto c = static_cast<unsigned char>(b[i]);
    if (c < 0x80) return 1;
    // the second byte's range rules out overlong forms, surrogates and code points past U+10FFFF
    std::size_t n;
    unsigned char menor = 0x80, mayor = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) menor = 0xA0;
        if (c == 0xED) mayor = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) menor = 0x90;
        if (c == 0xF4) mayor = 0x8F;
    } else {
        return 0;
    }
    if (b.size() - i < n) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const auto s = static_cast<unsigned char>(b[i + k]);
        if (s < (k == 1 ? menor : 0x80) || s > (k == 1 ? mayor : 0xBF)) return 0;
    }
    return n;
}

char32_t CodigoUtf8(std::string_view b, std::size_t i, std::size_t largo) {
    const auto c = static_cast<unsigned char>(b[i]);
    if (largo <= 1) return c;
    char32_t cp = largo == 2 ? c & 0x1F : largo == 3 ? c & 0x0F : c & 0x07;
    for (std::size_t k = 1; k < largo; ++k) cp = (cp << 6) | (static_cast<unsigned char>(b[i + k]) & 0x3F);
    return cp;
}

bool CabeEnLatin1(std::u16string_view texto) {
    return std::all_of(texto.begin(), texto.end(), [](char16_t c) { return c <= 0xFF; });
}

std::string BytesAUtf8(std::string_view bytes) {
    std::string r;
    r.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = LargoUtf8(bytes, i);
        if (n > 0) {
            r.append(bytes, i, n);
            i += n;
        } else {
            const auto c = static_cast<unsigned char>(bytes[i++]);
            r += static_cast<char>(0xC0 | (c >> 6));
            r += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return r;
}

TextoDeFichero DecodificaFichero(std::string_view bytes) {
    TextoDeFichero r;
    std::u16string crudo;
    r.codificacion.utf8 = DeUtf8(bytes, crudo);
    if (!r.codificacion.utf8) crudo = DeLatin1(bytes);
    r.codificacion.crlf = bytes.find("\r\n") != std::string_view::npos || bytes.find('\n') == std::string_view::npos;
    r.texto.reserve(crudo.size());
    for (std::size_t i = 0; i < crudo.size(); ++i) {
        if (crudo[i] == u'\r') {
            r.texto += u'\n';
            if (i + 1 < crudo.size() && crudo[i + 1] == u'\n') ++i;
        } else {
            r.texto += crudo[i];
        }
    }
    return r;
}

std::string BytesAGuardar(std::string_view original, const std::u16string& leido,
                          const std::u16string& actual, const Codificacion& codificacion) {
    std::string bytes;
    if (actual == leido) {
        bytes = original;
    } else {
        std::u16string t;
        for (char16_t c : actual) {
            if (c == u'\n' && codificacion.crlf) t += u'\r';
            t += c;
        }
        if (codificacion.utf8 || !CabeEnLatin1(t)) {
            AUtf8(t, bytes);
        } else {
            for (char16_t c : t) bytes += static_cast<char>(c);
        }
    }
    if (bytes.empty() || (bytes.back() != '\n' && bytes.back() != '\r')) bytes += codificacion.crlf ? "\r\n" : "\n";
    return bytes;
}
