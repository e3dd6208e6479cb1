#include "datos.h"

#include "geodesia/formato.h"
#include "transformacion/entrada.h"

#include <algorithm>
#include <exception>
#include <thread>

namespace {

// Every line of the box through the numeric test; the number of the first line it refuses
// (from 1), or 0.
int LeeCaja(std::string_view caja, Columna& destino) {
    std::size_t inicio = 0;
    while (true) {
        const std::size_t cr = caja.find('\r', inicio);
        // each line after the first starts with the LF of its CR LF: the test skips it
        const std::string_view linea = caja.substr(inicio, cr == std::string_view::npos
                                                               ? std::string_view::npos
                                                               : cr - inicio);
        const std::optional<double> v = NumeroValido(linea);
        if (!v) return static_cast<int>(destino.size()) + 1;
        destino.push_back(*v);
        if (cr == std::string_view::npos) return 0;
        inicio = cr + 1;
    }
}

} // namespace

// the window transforms every point it reads from a file
static_assert(MaximoPuntosCaja == MaximoPuntosFichero);

std::variant<Columnas3, FalloLectura> LeeCajas(std::string_view caja1, std::string_view caja2,
                                               std::string_view caja3) {
    const std::array<std::string_view, 3> cajas{caja1, caja2, caja3};
    std::array<std::size_t, 3> lineas{};
    for (std::size_t m = 0; m < 3; ++m)
        lineas[m] = static_cast<std::size_t>(std::count(cajas[m].begin(), cajas[m].end(), '\r')) + 1;
    if (lineas[1] != lineas[0] || lineas[2] != lineas[0]) return FalloLectura{MensajeDistintoNumero, -1, 0, lineas};
    if (lineas[0] > MaximoPuntosCaja) return FalloLectura{MensajeDemasiadosPuntos};
    const std::size_t cuenta = lineas[0] - 1;
    Columnas3 r;
    for (Columna* c : {&r.c1, &r.c2, &r.c3}) c->reserve(cuenta + 1);
    int m = 0;
    for (Columna* c : {&r.c1, &r.c2, &r.c3}) {
        if (const int linea = LeeCaja(cajas[static_cast<std::size_t>(m)], *c)) return FalloLectura{MensajeNoNumerico, m, linea};
        ++m;
    }
    return r;
}

std::string TextoCaja(const Columna& columna, int k) {
    std::string texto;
    texto.reserve(columna.size() * 14);
    for (std::size_t i = 0; i < columna.size(); ++i) {
        if (i > 0) texto += FinLinea;
        AnadeTextoDeColumna(columna[i], k, texto);
    }
    return texto;
}

std::string MensajeFalloAritmetico(const std::string& descripcion) {
    return " \u00a1Error aritm\u00e9tico en la transformaci\u00f3n! \r\n " + descripcion +
           ". No se ha modificado ning\u00fan dato.";
}

std::string MensajeFalloAritmetico(const std::string& descripcion, std::size_t punto, int formato, Husos husos,
                                   bool etrs89) {
    return " \u00a1Error aritm\u00e9tico en la transformaci\u00f3n! \r\n Punto " + std::to_string(punto) +
           " (entrado en " + NombreFormato(formato, husos, etrs89) + "): " + descripcion +
           ".\r\n No se ha modificado ning\u00fan dato.";
}

std::size_t EnPartes(int puntos, const std::function<void(std::size_t parte, std::size_t partes)>& parte) {
    constexpr int PuntosEnDosHilos = 2048; // below this, a second thread costs more than it saves
    if (puntos < PuntosEnDosHilos || std::thread::hardware_concurrency() < 2) {
        parte(0, 1);
        return 1;
    }
    std::thread otro(parte, 1, 2);
    try {
        parte(0, 2);
    } catch (...) {
        otro.join();
        throw;
    }
    otro.join();
    return 2;
}

// Many points are laid out on two threads, each taking every other column; the failure of the
// first column that fails is the one thrown, as one thread would throw it.
std::array<std::string, NumeroColumnas> MuestraResultados(const ConjuntoDatos& datos) {
    std::array<std::string, NumeroColumnas> textos;
    std::array<std::exception_ptr, NumeroColumnas> fallos;
    auto columnas = [&](std::size_t desde, std::size_t paso) {
        for (std::size_t k = desde; k < NumeroColumnas; k += paso) {
            try {
                textos[k] = TextoCaja(datos.Columnas[k], static_cast<int>(k));
            } catch (...) {
                fallos[k] = std::current_exception();
            }
        }
    };
    EnPartes(datos.NumPuntos, columnas);
    for (const std::exception_ptr& f : fallos)
        if (f) std::rethrow_exception(f);
    return textos;
}

void PonColumnas(ConjuntoDatos& d, std::size_t k, Columnas3 c) {
    d.Columnas[k] = std::move(c.c1);
    d.Columnas[k + 1] = std::move(c.c2);
    d.Columnas[k + 2] = std::move(c.c3);
}

ConjuntoDatos DatosDeEntrada(int formato, Columnas3 puntos, Husos husos) {
    ConjuntoDatos d;
    d.NumPuntos = static_cast<int>(puntos.c1.size());
    d.husos = husos;
    for (Columna& c : d.Columnas) c.assign(puntos.c1.size(), 0.0);
    PonColumnas(d, PrimeraColumna(formato), std::move(puntos));
    return d;
}

bool HusoEd50Valido(int huso) { return huso == 31 || huso == 29; }
bool HusoUtmValido(int huso) { return huso >= 29 && huso <= 31; }

std::string NombreFormato(int formato, Husos husos, bool etrs89) {
    if (formato == 2) return "UTM huso " + std::to_string(husos.ed50);
    if (formato == NumeroFormatos)
        return std::string(etrs89 ? "UTM ETRS89" : "UTM WGS84") + " huso " + std::to_string(husos.utm);
    return NombresFormatos[static_cast<std::size_t>(formato - 1)];
}
