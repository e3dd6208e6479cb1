#include "reemplazo.h"

#include <algorithm>

std::u16string ReemplazaCaracteres(std::u16string texto, const std::u16string& buscado,
                                   const std::u16string& por) {
    if (buscado.empty() || por.empty()) return texto;
    std::size_t p = texto.find(buscado);
    while (p != std::u16string::npos) {
        const std::size_t n = std::min(por.size(), texto.size() - p);
        std::copy_n(por.begin(), n, texto.begin() + static_cast<std::ptrdiff_t>(p));
        p = texto.find(buscado, p + n);
    }
    return texto;
}
