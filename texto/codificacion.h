#pragma once

#include <string>
#include <string_view>

// How a text file was stored: its encoding and its line ends.
struct Codificacion {
    bool utf8 = true; // otherwise Latin-1
    bool crlf = true; // otherwise LF
};

struct TextoDeFichero {
    std::u16string texto; // lines ended by LF, as the editor holds them
    Codificacion codificacion;
};

// The length of the valid UTF-8 sequence that starts at b[i] (strict: no overlong form, no
// surrogate, nothing past U+10FFFF); 0 when none does.
std::size_t LargoUtf8(std::string_view b, std::size_t i);

// The code point of the `largo` bytes at b[i], `largo` as LargoUtf8 gives it: a byte that starts
// no valid sequence (`largo` 0) reads as Latin-1.
char32_t CodigoUtf8(std::string_view b, std::size_t i, std::size_t largo);

// A text of unknown encoding for a UTF-8 message or file: each valid UTF-8 sequence as it
// stands, any other byte read as Latin-1.
std::string BytesAUtf8(std::string_view bytes);

// Whether every character of `texto` has a Latin-1 byte.
bool CabeEnLatin1(std::u16string_view texto);

// UTF-8 when the bytes are valid UTF-8, Latin-1 otherwise; CR LF (and a lone CR) become LF.
// A file without line ends is taken as CR LF.
TextoDeFichero DecodificaFichero(std::string_view bytes);

// The bytes a save writes. A text unchanged since it was read (`actual` equal to `leido`)
// gives back the file's own bytes; a changed one is encoded in the file's line ends and
// encoding (UTF-8 when Latin-1 cannot carry it). One line end is appended when the bytes do
// not already end with one; an empty text saves as one line end.
std::string BytesAGuardar(std::string_view original, const std::u16string& leido,
                          const std::u16string& actual, const Codificacion& codificacion);
