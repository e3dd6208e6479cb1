#include "opciones.h"

#include "geodesia/formato.h"

#include <algorithm>

namespace {

// A whole number of the text, or nothing.
std::optional<int> Entero(std::string_view t) {
    const std::optional<double> v = NumeroValido(t);
    if (!v || *v != static_cast<double>(static_cast<int>(*v))) return std::nullopt;
    return static_cast<int>(*v);
}

std::string Citado(std::string_view t) { return "\u00ab" + std::string(t) + "\u00bb"; }

} // namespace

std::optional<std::string> PonHusoEd50(OpcionesFormatos& o, std::string_view valor) {
    const std::optional<int> h = Entero(valor);
    if (!h || !HusoEd50Valido(*h)) return "--huso-ed50 admite 31 o 29, no " + Citado(valor);
    o.husoEd50 = *h;
    return std::nullopt;
}

std::optional<std::string> PonHusoUtm(OpcionesFormatos& o, std::string_view valor) {
    const std::optional<int> h = Entero(valor);
    if (!h || !HusoUtmValido(*h)) return "--huso admite 29, 30 o 31, no " + Citado(valor);
    o.husoUtm = *h;
    return std::nullopt;
}

std::optional<std::string> PonFormatos(OpcionesFormatos& o, std::string_view lista) {
    std::vector<int> formatos;
    std::size_t inicio = 0;
    while (true) {
        const std::size_t coma = lista.find(',', inicio);
        const std::string_view campo = lista.substr(inicio, coma == std::string_view::npos ? coma : coma - inicio);
        const std::optional<int> f = Entero(campo);
        if (!f || *f < 1 || *f > NumeroFormatos)
            return "--formatos: " + Citado(campo) + " no es un formato de 1 a 7";
        if (std::find(formatos.begin(), formatos.end(), *f) != formatos.end())
            return "--formatos: el formato " + std::to_string(*f) + " est\u00e1 repetido";
        formatos.push_back(*f);
        if (coma == std::string_view::npos) break;
        inicio = coma + 1;
    }
    o.formatos = std::move(formatos);
    return std::nullopt;
}

std::variant<Husos, std::string> HusosDeFichero(const OpcionesFormatos& o, int formato, std::optional<int> husoFichero) {
    Husos h;
    h.ed50 = o.husoEd50.value_or(31);
    h.utm = o.husoUtm.value_or(30);
    if (!husoFichero) {
        if (formato == NumeroFormatos && !o.husoUtm)
            return std::string("el fichero no indica el huso de su formato 7: escriba 7;29, 7;30 o 7;31 en su "
                               "primera l\u00ednea, o indique el huso");
        return h;
    }
    const std::optional<int> pedido = formato == 2 ? o.husoEd50 : formato == NumeroFormatos ? o.husoUtm : std::nullopt;
    if (pedido && *pedido != *husoFichero)
        return "el fichero est\u00e1 en el huso " + std::to_string(*husoFichero) + " y se ha pedido el huso " +
               std::to_string(*pedido);
    if (formato == 2) h.ed50 = *husoFichero;
    if (formato == NumeroFormatos) h.utm = *husoFichero;
    return h;
}
