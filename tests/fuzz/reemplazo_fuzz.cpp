// The character replacement on arbitrary text and boxes: the length never changes, and one
// character replaced by another leaves none of it.
#include "texto/reemplazo.h"
#include "exige.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n) {
    if (n < 2) return 0;
    // first byte: length of the searched box, second: of the replacing one; UTF-16 by pairs
    std::u16string todo;
    for (std::size_t i = 2; i + 1 < n; i += 2) todo += static_cast<char16_t>(datos[i] | (datos[i + 1] << 8));
    const std::size_t lf = std::min<std::size_t>(datos[0] % 4, todo.size());
    const std::size_t lr = std::min<std::size_t>(datos[1] % 4, todo.size() - lf);
    const std::u16string buscado = todo.substr(0, lf);
    const std::u16string por = todo.substr(lf, lr);
    const std::u16string texto = todo.substr(lf + lr);
    const std::u16string r = ReemplazaCaracteres(texto, buscado, por);
    EXIGE(r.size() == texto.size());
    if (buscado.size() == 1 && por.size() == 1 && buscado != por) EXIGE(r.find(buscado) == std::u16string::npos);
    if (buscado.empty() || por.empty()) EXIGE(r == texto);
    return 0;
}
