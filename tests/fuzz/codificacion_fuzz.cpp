// The editor's decoding and encoding of a file: saved unchanged, the bytes come back (with one
// line end added when they lacked it); saved as changed text, they read back as the same text,
// a character beyond Latin-1 included.
#include "texto/codificacion.h"
#include "exige.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n) {
    const std::string_view bytes = Texto(datos, n);
    const TextoDeFichero d = DecodificaFichero(bytes);
    const std::string igual = BytesAGuardar(bytes, d.texto, d.texto, d.codificacion);
    std::string esperado(bytes);
    if (esperado.empty() || (esperado.back() != '\n' && esperado.back() != '\r'))
        esperado += d.codificacion.crlf ? "\r\n" : "\n";
    EXIGE(igual == esperado);

    const std::string cambiado = BytesAGuardar(bytes, u"\u0001", d.texto, d.codificacion);
    const std::u16string releido = DecodificaFichero(cambiado).texto;
    EXIGE(releido == d.texto || releido == d.texto + u"\n");
    // with a character Latin-1 lacks, a Latin-1 file becomes UTF-8: nothing is lost
    const std::u16string otro = d.texto + u"\u20ac";
    const std::u16string conEuro = DecodificaFichero(BytesAGuardar(bytes, u"\u0001", otro, d.codificacion)).texto;
    EXIGE(conEuro == otro || conEuro == otro + u"\n");
    return 0;
}
