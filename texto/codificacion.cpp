#include "codificacion.h"

namespace {

// Strict UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF) into UTF-16;
// false at the first invalid byte.
bool DeUtf8(std::string_view b, std::u16string& t) {
    t.clear();
    t.reserve(b.size());
    std::size_t i = 0;
    while (i < b.size()) {
        const auto c = static_cast<unsigned char>(b[i]);
        if (c < 0x80) {
            t += static_cast<char16_t>(c);
            ++i;
            continue;
        }
        int n;
        char32_t cp, minimo;
        if ((c & 0xE0) == 0xC0) {
            n = 1, cp = c & 0x1F, minimo = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            n = 2, cp = c & 0x0F, minimo = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            n = 3, cp = c & 0x07, minimo = 0x10000;
        } else {
            return false;
        }
        if (b.size() - i <= static_cast<std::size_t>(n)) return false;
        for (int k = 1; k <= n; ++k) {
            const auto s = static_cast<unsigned char>(b[i + static_cast<std::size_t>(k)]);
            if ((s & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (s & 0x3F);
        }
        if (cp < minimo || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            t += static_cast<char16_t>(0xD800 + (cp >> 10));
            t += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            t += static_cast<char16_t>(cp);
        }
        i += static_cast<std::size_t>(n) + 1;
    }
    return true;
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

TextoDeFichero DecodificaFichero(std::string_view bytes) {
    TextoDeFichero r;
    std::u16string crudo;
    r.codificacion.utf8 = DeUtf8(bytes, crudo);
    if (!r.codificacion.utf8) {
        crudo.clear();
        for (char c : bytes) crudo += static_cast<char16_t>(static_cast<unsigned char>(c));
    }
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
        bool cabeEnLatin1 = true;
        for (char16_t c : t) cabeEnLatin1 = cabeEnLatin1 && c <= 0xFF;
        if (codificacion.utf8 || !cabeEnLatin1) {
            AUtf8(t, bytes);
        } else {
            for (char16_t c : t) bytes += static_cast<char>(c);
        }
    }
    if (bytes.empty() || (bytes.back() != '\n' && bytes.back() != '\r')) bytes += codificacion.crlf ? "\r\n" : "\n";
    return bytes;
}
