#include "conversion.h"

#include "mapas.h"

#include "geodesia/fallo.h"
#include "geodesia/formato.h"
#include "transformacion/salida.h"
#include "transformacion/tuberias.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <thread>
#include <utility>
#include <variant>

namespace {

constexpr std::size_t PuntosPorBloque = 4096;
constexpr std::size_t TamanoLectura = 1 << 20;

// Messages carry CR LF for the window; a terminal wants LF.
std::string ParaTerminal(std::string m) {
    for (std::size_t p; (p = m.find("\r\n")) != std::string::npos;) m.erase(p, 1);
    return m;
}

std::string LineasDeSalida(const ConjuntoDatos& d, bool primero, const LectorEntrada::Puntos& p,
                           std::int64_t primerPunto, const Opciones& o) {
    std::string texto;
    texto.reserve(static_cast<std::size_t>(d.NumPuntos) * 228);
    for (std::size_t i = 0; i < static_cast<std::size_t>(d.NumPuntos); ++i) {
        if (!o.lf && (i > 0 || !primero)) texto += FinLinea;
        if (o.nombres) texto += NombreDelPunto(p.nombres, i, primerPunto) + ";";
        AnadeLineaSalida(d, i, texto, o.formatos.formatos);
        if (o.lf) texto += '\n';
    }
    return texto;
}

void Anota(Bloque& b, std::int64_t linea, std::string texto) {
    if (b.fallos.size() < MaximoDiagnosticos) b.fallos.push_back({linea, std::move(texto)});
    ++b.totalFallos;
}

// Each entry value rounded as its box shows it, in place; a value too large for its column is
// reported and becomes NaN. False when any value is NaN (refused here or by the reader).
bool RedondeaComoLasCajas(int formato, LectorEntrada::Puntos& p, Bloque& b) {
    Columna* columnas[] = {&p.valores.c1, &p.valores.c2, &p.valores.c3};
    bool completo = true;
    for (std::size_t i = 0; i < p.lineas.size(); ++i) {
        bool fuera = false;
        for (int m = 0; m < 3; ++m) {
            double& v = (*columnas[m])[i];
            if (std::isnan(v)) continue;
            try {
                v = ValorMostrado(v, 3 * (formato - 1) + m);
            } catch (const FalloAritmetico&) {
                fuera = true;
            }
        }
        if (fuera) {
            for (Columna* c : columnas) (*c)[i] = std::nan("");
            Anota(b, p.lineas[i], "valor fuera de rango");
            ++b.fueraDeRango;
        }
        completo = completo && !std::isnan(p.valores.c1[i]) && !std::isnan(p.valores.c2[i]) && !std::isnan(p.valores.c3[i]);
    }
    return completo;
}

// Converts one block of entry points as the window does. A fault sends the block through point
// by point, to name the line of each faulty point; a point with a refused value is already
// reported.
Bloque ConvierteBloque(int formato, LectorEntrada::Puntos p, std::int64_t primerPunto, Opciones o, bool kml, bool geojson) {
    Bloque b;
    const bool completo = RedondeaComoLasCajas(formato, p, b);
    ReservaRejillas* reserva = o.rejillas;
    std::unique_ptr<Rejilla> rejilla = reserva ? reserva->Toma() : nullptr;
    if (completo) {
        try {
            const ConjuntoDatos d = TransformaPorMetodo(formato, p.valores, rejilla.get(), o.husos);
            b.texto = LineasDeSalida(d, primerPunto == 0, p, primerPunto, o);
            b.fuera = MasFueraDeHuso(d, o.formatos.formatos);
            if (b.fuera) {
                b.lineaFuera = p.lineas[b.fuera->punto - 1];
                b.fuera->punto += static_cast<std::size_t>(primerPunto);
            }
            if (kml) b.kml = PuntosKml(d, p.nombres, primerPunto);
            if (geojson) b.geojson = PuntosGeoJson(d, p.nombres, primerPunto);
            if (rejilla) reserva->Devuelve(std::move(rejilla));
            return b;
        } catch (const FalloAritmetico&) {
        } catch (const FueraDeRejilla&) {
        }
    }
    RecorreFallos(formato, p.valores, rejilla.get(), o.husos, [&](std::size_t i, const FalloPunto& f) {
        if (!f.fueraDeRejilla && b.aritmetico.empty()) b.aritmetico = f.descripcion;
        Anota(b, p.lineas[i], f.fueraDeRejilla ? DescribeFueraDeRejilla() : "error aritm\u00e9tico: " + f.descripcion);
        return true;
    });
    if (rejilla) reserva->Devuelve(std::move(rejilla));
    b.texto.clear();
    return b;
}

// Moves the first `n` points of `desde` to the end of `hacia`; names only where there are.
void PasaPuntos(LectorEntrada::Puntos& desde, LectorEntrada::Puntos& hacia, std::size_t n) {
    auto pasa = [n](auto& de, auto& a) {
        const auto fin = de.begin() + static_cast<std::ptrdiff_t>(std::min(n, de.size()));
        a.insert(a.end(), std::make_move_iterator(de.begin()), std::make_move_iterator(fin));
        de.erase(de.begin(), fin);
    };
    pasa(desde.valores.c1, hacia.valores.c1);
    pasa(desde.valores.c2, hacia.valores.c2);
    pasa(desde.valores.c3, hacia.valores.c3);
    pasa(desde.lineas, hacia.lineas);
    pasa(desde.nombres, hacia.nombres);
}

std::size_t Hilos() { return std::max(1u, std::thread::hardware_concurrency()); }

} // namespace

ReservaRejillas::ReservaRejillas(Rejillas ficheros) : ficheros_(std::move(ficheros)) { libres_.push_back(Abre()); }

std::unique_ptr<Rejilla> ReservaRejillas::Toma() {
    {
        std::lock_guard<std::mutex> cierre(mutex_);
        if (!libres_.empty()) {
            auto r = std::move(libres_.back());
            libres_.pop_back();
            return r;
        }
    }
    return Abre();
}

void ReservaRejillas::Devuelve(std::unique_ptr<Rejilla> r) {
    std::lock_guard<std::mutex> cierre(mutex_);
    libres_.push_back(std::move(r));
}

std::unique_ptr<Rejilla> ReservaRejillas::Abre() const {
    std::string error;
    auto r = Rejilla::Abre(ficheros_, error);
    if (!r) throw FalloLote{error};
    return r;
}

Conversion::Conversion(std::string nombre, std::istream& entrada, Salidas salidas, Opciones opciones)
    : nombre_(std::move(nombre)), entrada_(entrada), salidas_(salidas), opciones_(opciones), lector_(MaximoLineaLote) {
    if (opciones_.nombres) lector_.ConNombres();
    lector_.ConHusos();
}

std::optional<std::string> Conversion::Aviso() const {
    if (!fuera_) return std::nullopt;
    return nombre_ + ":" + std::to_string(lineaFuera_) + ": aviso: " +
           MensajeFueraDeHuso(*fuera_, opciones_.husos, opciones_.rejillas != nullptr);
}

std::vector<std::string> Conversion::Ejecuta() {
    std::string bloque(TamanoLectura, '\0');
    while (!lector_.Detenido() && falloHusos_.empty()) {
        entrada_.read(bloque.data(), static_cast<std::streamsize>(bloque.size()));
        const auto leidos = static_cast<std::size_t>(entrada_.gcount());
        if (entrada_.bad()) {
            Espera();
            return {nombre_ + ": error de lectura"};
        }
        if (leidos == 0) break;
        lector_.Lee(std::string_view(bloque.data(), leidos));
        Reparte(false);
    }
    lector_.Termina();
    Reparte(true);
    Espera();
    return Diagnosticos();
}

// Hands the points read to worker threads, in blocks.
void Conversion::Reparte(bool fin) {
    const auto id = lector_.Identificador();
    if (!id || !std::holds_alternative<int>(*id) || !falloHusos_.empty()) return;
    if (formato_ == 0) {
        const auto husos = HusosDeFichero(opciones_.formatos, std::get<int>(*id), lector_.HusoDelFichero());
        if (const auto* f = std::get_if<std::string>(&husos)) {
            falloHusos_ = *f;
            return;
        }
        opciones_.husos = std::get<Husos>(husos);
        // format 7 is computed only when it is entered or written
        const std::vector<int>& f = opciones_.formatos.formatos;
        if (std::get<int>(*id) != NumeroFormatos && std::find(f.begin(), f.end(), NumeroFormatos) == f.end())
            opciones_.husos.utm = HusoNoCalculado;
    }
    formato_ = std::get<int>(*id);
    LectorEntrada::Puntos p = lector_.TomaPuntos();
    PasaPuntos(p, acumulado_, p.lineas.size());
    while (acumulado_.lineas.size() >= PuntosPorBloque) {
        LectorEntrada::Puntos bloque;
        PasaPuntos(acumulado_, bloque, PuntosPorBloque);
        listos_.push_back(std::move(bloque));
    }
    if (fin && !acumulado_.lineas.empty()) listos_.push_back(std::exchange(acumulado_, {}));
    if (listos_.size() >= 2 * Hilos() || (fin && !listos_.empty())) Lanza();
}

// The blocks go to worker threads; the batch before them is written meanwhile, so that
// reading, converting and writing overlap.
void Conversion::Lanza() {
    std::vector<std::future<Bloque>> tareas;
    for (LectorEntrada::Puntos& b : listos_) {
        const auto primerPunto = static_cast<std::int64_t>(puntosLanzados_);
        puntosLanzados_ += b.lineas.size();
        tareas.push_back(std::async(std::launch::async, ConvierteBloque, formato_, std::move(b), primerPunto, opciones_,
                                    salidas_.kml != nullptr, salidas_.geojson != nullptr));
    }
    listos_.clear();
    Espera();
    enCurso_ = std::move(tareas);
}

// Writes the blocks under way, in their order, while nothing has been refused.
void Conversion::Espera() {
    for (auto& t : enCurso_) {
        Bloque b = t.get();
        totalFallos_ += b.totalFallos;
        fueraDeRango_ += b.fueraDeRango;
        if (aritmetico_.empty()) aritmetico_ = b.aritmetico;
        if (b.fuera && (!fuera_ || b.fuera->grados > fuera_->grados)) fuera_ = b.fuera, lineaFuera_ = b.lineaFuera;
        for (Diagnostico& d : b.fallos)
            if (fallos_.size() < MaximoDiagnosticos) fallos_.push_back(std::move(d));
        if (totalFallos_ == 0 && lector_.TotalRechazos() == 0) {
            salidas_.salida->Escribe(b.texto);
            if (salidas_.kml) salidas_.kml->Escribe(b.kml);
            if (salidas_.geojson) salidas_.geojson->Escribe(b.geojson);
        }
    }
    enCurso_.clear();
}

std::vector<std::string> Conversion::Diagnosticos() const {
    if (!falloHusos_.empty()) return {nombre_ + ":1: " + falloHusos_};
    const auto id = lector_.Identificador();
    if (id) {
        if (const auto* f = std::get_if<FalloEntrada>(&*id)) {
            if (f->rechazo) return {nombre_ + ":1: " + DescribeRechazo(*f->rechazo)};
            std::string m = ParaTerminal(f->mensaje);
            m.erase(0, m.find_first_not_of(' '));
            m.erase(m.find_last_not_of(' ') + 1);
            return {nombre_ + ":1: " + m};
        }
    }
    // refused values and faults of points, in line order
    std::vector<Diagnostico> todos;
    for (const Rechazo& r : lector_.Rechazos()) todos.push_back({r.linea, DescribeRechazo(r)});
    todos.insert(todos.end(), fallos_.begin(), fallos_.end());
    std::stable_sort(todos.begin(), todos.end(), [](const Diagnostico& a, const Diagnostico& b) { return a.linea < b.linea; });
    const std::int64_t total = lector_.TotalRechazos() + totalFallos_;
    std::vector<std::string> r;
    for (std::size_t i = 0; i < todos.size() && i < MaximoDiagnosticos; ++i)
        r.push_back(nombre_ + ":" + std::to_string(todos[i].linea) + ": " + todos[i].texto);
    if (total > static_cast<std::int64_t>(r.size()))
        r.push_back(nombre_ + ": y " + std::to_string(total - static_cast<std::int64_t>(r.size())) +
                    " l\u00edneas m\u00e1s con errores");
    if (lector_.TotalRechazos() > 0 || fueraDeRango_ > 0) {
        r.push_back(ParaTerminal(MensajeErrorAbrir));
    } else if (!aritmetico_.empty()) {
        r.push_back(ParaTerminal(MensajeFalloAritmetico(aritmetico_)));
    } else if (totalFallos_ > 0) {
        r.push_back("no se ha escrito nada");
    }
    return r;
}
