#include "lote.h"

#include "mapas.h"

#include "ficheros/ficheros.h"
#include "rejilla/rejilla.h"
#include "geodesia/fallo.h"
#include "geodesia/formato.h"
#include "transformacion/entrada.h"
#include "transformacion/fuera_de_huso.h"
#include "transformacion/opciones.h"
#include "transformacion/salida.h"
#include "transformacion/tuberias.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <future>
#include <istream>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef ORVALO_VERSION
#define ORVALO_VERSION "?"
#endif

namespace {

constexpr std::size_t PuntosPorBloque = 4096;
constexpr std::size_t TamanoLectura = 1 << 20;

// A failure that ends the run with exit status 1 and this message.
struct FalloLote {
    std::string mensaje;
};

// Messages carry CR LF for the window; a terminal wants LF.
std::string ParaTerminal(std::string m) {
    for (std::size_t p; (p = m.find("\r\n")) != std::string::npos;) m.erase(p, 1);
    return m;
}

// One refused line, for standard error.
struct Diagnostico {
    std::int64_t linea;
    std::string texto;
};

// A block of points converted: its output lines, or the faults of its points.
struct Bloque {
    std::string texto;
    std::string kml, geojson; // the block's points for a map
    std::vector<Diagnostico> fallos; // the first MaximoDiagnosticos
    std::int64_t totalFallos = 0;
    std::string aritmetico; // the first arithmetic fault's description; empty: none
    std::optional<FueraDeHuso> fuera; // the block's point farthest outside its zone
    std::int64_t lineaFuera = 0;       // and its line
};

// Opened grids for the worker threads, each used by one thread at a time.
class ReservaRejillas {
public:
    // the first one at once: a grid that cannot be read ends the run before any work
    explicit ReservaRejillas(Rejillas ficheros) : ficheros_(std::move(ficheros)) { libres_.push_back(Abre()); }
    std::unique_ptr<Rejilla> Toma() {
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
    void Devuelve(std::unique_ptr<Rejilla> r) {
        std::lock_guard<std::mutex> cierre(mutex_);
        libres_.push_back(std::move(r));
    }

private:
    std::unique_ptr<Rejilla> Abre() const {
        std::string error;
        auto r = Rejilla::Abre(ficheros_, error);
        if (!r) throw FalloLote{"orvalo-lote: " + error};
        return r;
    }

    Rejillas ficheros_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Rejilla>> libres_;
};

// What a run writes besides the output file.
struct Opciones {
    bool nombres = false; // lines start with a point name
    bool kml = false, geojson = false;
    ReservaRejillas* rejillas = nullptr; // the official method
    OpcionesFormatos formatos;           // zones stated and formats written
    Husos husos;                         // the zones of this file
};

std::string LineasDeSalida(const ConjuntoDatos& d, bool primero, const LectorEntrada::Puntos& p, std::int64_t primerPunto,
                           bool nombres, const std::vector<int>& formatos) {
    std::string texto;
    texto.reserve(static_cast<std::size_t>(d.NumPuntos) * 228);
    for (std::size_t i = 0; i < static_cast<std::size_t>(d.NumPuntos); ++i) {
        if (i > 0 || !primero) texto += FinLinea;
        if (nombres) texto += NombreDelPunto(p.nombres, i, primerPunto) + ";";
        AnadeLineaSalida(d, i, texto, formatos);
    }
    return texto;
}

// Converts one block of entry points as the window does: each value first rounded as its box
// shows it and read back from that text. A fault sends the block through point by point, to
// name the line of each faulty point; a point with a refused value is already reported.
Bloque ConvierteBloque(int formato, LectorEntrada::Puntos p, std::int64_t primerPunto, Opciones opciones) {
    const bool primero = primerPunto == 0;
    ReservaRejillas* reserva = opciones.rejillas;
    const int k = 3 * (formato - 1);
    bool refusado = false;
    int m = 0;
    for (Columna* c : {&p.valores.c1, &p.valores.c2, &p.valores.c3}) {
        for (double& v : *c) {
            if (std::isnan(v)) {
                refusado = true;
            } else {
                v = ValorMostrado(v, k + m);
            }
        }
        ++m;
    }
    Bloque b;
    std::unique_ptr<Rejilla> rejilla = reserva ? reserva->Toma() : nullptr;
    if (!refusado) {
        try {
            const ConjuntoDatos d = TransformaPorMetodo(formato, p.valores, rejilla.get(), opciones.husos);
            b.texto = LineasDeSalida(d, primero, p, primerPunto, opciones.nombres, opciones.formatos.formatos);
            b.fuera = MasFueraDeHuso(d, opciones.formatos.formatos);
            if (b.fuera) {
                b.lineaFuera = p.lineas[b.fuera->punto - 1];
                b.fuera->punto += static_cast<std::size_t>(primerPunto);
            }
            if (opciones.kml) b.kml = PuntosKml(d, p.nombres, primerPunto);
            if (opciones.geojson) b.geojson = PuntosGeoJson(d, p.nombres, primerPunto);
            if (rejilla) reserva->Devuelve(std::move(rejilla));
            return b;
        } catch (const FalloAritmetico&) {
        } catch (const FueraDeRejilla&) {
        }
    }
    for (std::size_t i = 0; i < p.lineas.size(); ++i) {
        if (std::isnan(p.valores.c1[i]) || std::isnan(p.valores.c2[i]) || std::isnan(p.valores.c3[i])) continue;
        const auto fallo = FalloDelPunto(formato, p.valores, i, rejilla.get(), opciones.husos);
        if (!fallo) continue;
        if (!fallo->fueraDeRejilla && b.aritmetico.empty()) b.aritmetico = fallo->descripcion;
        if (b.fallos.size() < MaximoDiagnosticos)
            b.fallos.push_back({p.lineas[i], fallo->fueraDeRejilla ? "fuera de la rejilla oficial del IGN"
                                                                   : "error aritm\u00e9tico: " + fallo->descripcion});
        ++b.totalFallos;
    }
    if (rejilla) reserva->Devuelve(std::move(rejilla));
    b.texto.clear();
    return b;
}

// Where the output goes while it is made: a regular file is replaced atomically at the end;
// standard output, a device or a FIFO get it from an unnamed temporary file only when the
// whole conversion succeeded.
class Destino {
public:
    Destino(const std::string& ruta, std::ostream& salida) : salida_(salida) {
        if (ruta != "-") {
            fichero_ = std::make_unique<Escritura>(ruta);
            if (fichero_->Error()) throw FalloLote{ruta + ": " + fichero_->Error().descripcion + "\n" + MensajeErrorGuardar};
            if (!fichero_->EnSitio()) return; // written straight into its temporary file
        }
        const char* tmp = std::getenv("TMPDIR");
        std::string plantilla = std::string(tmp && *tmp ? tmp : "/tmp") + "/.orvalo-lote-XXXXXX";
        temporal_ = ::mkostemp(plantilla.data(), O_CLOEXEC);
        if (temporal_ < 0) throw FalloLote{plantilla + ": " + DescripcionError(errno) + "\n" + MensajeErrorGuardar};
        ::unlink(plantilla.c_str()); // unnamed: nothing is left behind, whatever ends the process
    }
    ~Destino() {
        if (temporal_ >= 0) ::close(temporal_);
    }

    void Escribe(std::string_view datos) {
        if (temporal_ < 0) {
            if (!fichero_->Escribe(datos)) throw FalloLote{Descripcion() + MensajeErrorGuardar};
            return;
        }
        int numero = 0;
        if (!EscribeTodo(temporal_, datos, numero)) throw FalloLote{DescripcionError(numero) + "\n" + MensajeErrorGuardar};
    }

    void Confirma() {
        if (temporal_ >= 0) {
            if (::lseek(temporal_, 0, SEEK_SET) != 0) throw FalloLote{MensajeErrorGuardar};
            std::string bloque(TamanoLectura, '\0');
            ssize_t n;
            while ((n = ::read(temporal_, bloque.data(), bloque.size())) != 0) {
                if (n < 0 && errno == EINTR) continue;
                if (n < 0) throw FalloLote{MensajeErrorGuardar};
                const std::string_view trozo(bloque.data(), static_cast<std::size_t>(n));
                if (fichero_) {
                    if (!fichero_->Escribe(trozo)) throw FalloLote{Descripcion() + MensajeErrorGuardar};
                } else {
                    salida_.write(trozo.data(), static_cast<std::streamsize>(trozo.size()));
                }
            }
            if (!fichero_) {
                salida_.flush();
                if (!salida_) throw FalloLote{"salida est\u00e1ndar: no se puede escribir\n" + MensajeErrorGuardar};
                return;
            }
        }
        if (!fichero_->Confirma()) throw FalloLote{Descripcion() + MensajeErrorGuardar};
    }

private:
    std::string Descripcion() const { return fichero_->Error().descripcion + "\n"; }

    std::ostream& salida_;
    std::unique_ptr<Escritura> fichero_;
    int temporal_ = -1;
};

// A map file begun with its header; nothing when no path was given.
std::unique_ptr<Escritura> AbreMapa(const std::string& ruta, const std::string& cabecera) {
    if (ruta.empty()) return nullptr;
    auto mapa = std::make_unique<Escritura>(ruta);
    if (!mapa->Escribe(cabecera)) throw FalloLote{ruta + ": " + mapa->Error().descripcion + "\n" + MensajeErrorGuardar};
    return mapa;
}

void CierraMapa(const std::string& ruta, Escritura* mapa, const std::string& pie) {
    if (mapa && !(mapa->Escribe(pie) && mapa->Confirma()))
        throw FalloLote{ruta + ": " + mapa->Error().descripcion + "\n" + MensajeErrorGuardar};
}

class Conversion {
public:
    Conversion(std::string nombre, std::istream& entrada, Destino& destino, Opciones opciones, Escritura* kml,
               Escritura* geojson)
        : nombre_(std::move(nombre)), entrada_(entrada), destino_(destino), opciones_(opciones), kml_(kml),
          geojson_(geojson), lector_(MaximoLineaLote) {
        if (opciones_.nombres) lector_.ConNombres();
        lector_.ConHusos();
    }

    // The point farthest outside its zone, with its line, once the whole file converted.
    std::optional<std::string> Aviso() const {
        if (!fuera_) return std::nullopt;
        return nombre_ + ":" + std::to_string(lineaFuera_) + ": aviso: " +
               MensajeFueraDeHuso(*fuera_, opciones_.husos, opciones_.rejillas != nullptr);
    }

    // The diagnostics, empty when the whole file converted.
    std::vector<std::string> Ejecuta() {
        std::string bloque(TamanoLectura, '\0');
        while (!lector_.Detenido() && falloHusos_.empty()) {
            entrada_.read(bloque.data(), static_cast<std::streamsize>(bloque.size()));
            const auto leidos = static_cast<std::size_t>(entrada_.gcount());
            if (entrada_.bad()) {
                Espera();
                return {nombre_ + ": error de lectura", ParaTerminal(MensajeErrorAbrir)};
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

private:
    // Hands the points that are sure to worker threads, in blocks.
    void Reparte(bool fin) {
        const auto id = lector_.Identificador();
        if (!id || !std::holds_alternative<int>(*id)) return;
        if (formato_ == 0) {
            const auto husos = HusosDeFichero(opciones_.formatos, std::get<int>(*id), lector_.HusoDelFichero());
            if (const auto* f = std::get_if<std::string>(&husos)) {
                falloHusos_ = *f;
                return;
            }
            opciones_.husos = std::get<Husos>(husos);
        }
        formato_ = std::get<int>(*id);
        LectorEntrada::Puntos p = lector_.TomaPuntos();
        auto anade = [](auto& a, const auto& b) { a.insert(a.end(), b.begin(), b.end()); };
        anade(acumulado_.valores.c1, p.valores.c1);
        anade(acumulado_.valores.c2, p.valores.c2);
        anade(acumulado_.valores.c3, p.valores.c3);
        anade(acumulado_.lineas, p.lineas);
        anade(acumulado_.nombres, p.nombres);
        while (acumulado_.lineas.size() >= PuntosPorBloque) {
            LectorEntrada::Puntos bloque;
            auto corta = [](auto& desde, auto& hacia) {
                hacia.assign(desde.begin(), desde.begin() + PuntosPorBloque);
                desde.erase(desde.begin(), desde.begin() + PuntosPorBloque);
            };
            corta(acumulado_.valores.c1, bloque.valores.c1);
            corta(acumulado_.valores.c2, bloque.valores.c2);
            corta(acumulado_.valores.c3, bloque.valores.c3);
            corta(acumulado_.lineas, bloque.lineas);
            if (!acumulado_.nombres.empty()) corta(acumulado_.nombres, bloque.nombres);
            listos_.push_back(std::move(bloque));
        }
        if (fin && !acumulado_.lineas.empty()) listos_.push_back(std::exchange(acumulado_, {}));
        if (listos_.size() >= 2 * Hilos() || (fin && !listos_.empty())) Lanza();
    }

    static std::size_t Hilos() { return std::max(1u, std::thread::hardware_concurrency()); }

    // The blocks go to worker threads; the batch before them is written meanwhile, so that
    // reading, converting and writing overlap.
    void Lanza() {
        std::vector<std::future<Bloque>> tareas;
        for (LectorEntrada::Puntos& b : listos_) {
            const auto primerPunto = static_cast<std::int64_t>(puntosLanzados_);
            puntosLanzados_ += b.lineas.size();
            tareas.push_back(std::async(std::launch::async, ConvierteBloque, formato_, std::move(b), primerPunto, opciones_));
        }
        listos_.clear();
        Espera();
        enCurso_ = std::move(tareas);
    }

    // Writes the blocks under way, in their order, while nothing has been refused.
    void Espera() {
        for (auto& t : enCurso_) {
            Bloque b = t.get();
            totalFallos_ += b.totalFallos;
            if (aritmetico_.empty()) aritmetico_ = b.aritmetico;
            if (b.fuera && (!fuera_ || b.fuera->grados > fuera_->grados)) fuera_ = b.fuera, lineaFuera_ = b.lineaFuera;
            for (Diagnostico& d : b.fallos)
                if (fallos_.size() < MaximoDiagnosticos) fallos_.push_back(std::move(d));
            if (totalFallos_ == 0 && lector_.TotalRechazos() == 0) {
                destino_.Escribe(b.texto);
                for (auto [mapa, texto] : {std::pair{kml_, &b.kml}, std::pair{geojson_, &b.geojson}})
                    if (mapa && !mapa->Escribe(*texto)) throw FalloLote{mapa->Error().descripcion + "\n" + MensajeErrorGuardar};
            }
        }
        enCurso_.clear();
    }

    std::vector<std::string> Diagnosticos() const {
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
        // refused values and arithmetic faults, in line order
        std::vector<Diagnostico> todos;
        for (const Rechazo& r : lector_.Rechazos()) todos.push_back({r.linea, DescribeRechazo(r)});
        todos.insert(todos.end(), fallos_.begin(), fallos_.end());
        std::stable_sort(todos.begin(), todos.end(),
                         [](const Diagnostico& a, const Diagnostico& b) { return a.linea < b.linea; });
        const std::int64_t total = lector_.TotalRechazos() + totalFallos_;
        std::vector<std::string> r;
        for (std::size_t i = 0; i < todos.size() && i < MaximoDiagnosticos; ++i)
            r.push_back(nombre_ + ":" + std::to_string(todos[i].linea) + ": " + todos[i].texto);
        if (total > static_cast<std::int64_t>(r.size()))
            r.push_back(nombre_ + ": y " + std::to_string(total - static_cast<std::int64_t>(r.size())) +
                        " l\u00edneas m\u00e1s con errores");
        if (lector_.TotalRechazos() > 0) {
            r.push_back(ParaTerminal(MensajeErrorAbrir));
        } else if (!aritmetico_.empty()) {
            r.push_back(ParaTerminal(MensajeFalloAritmetico(aritmetico_)));
        } else if (totalFallos_ > 0) {
            r.push_back(" \u00a1Hay puntos fuera de la rejilla oficial del IGN! No se ha escrito nada.");
        }
        return r;
    }

    std::string nombre_;
    std::istream& entrada_;
    Destino& destino_;
    Opciones opciones_;
    Escritura* kml_;
    Escritura* geojson_;
    LectorEntrada lector_;
    int formato_ = 0;
    std::size_t puntosLanzados_ = 0;
    LectorEntrada::Puntos acumulado_;
    std::vector<LectorEntrada::Puntos> listos_;
    std::vector<std::future<Bloque>> enCurso_;
    std::vector<Diagnostico> fallos_;
    std::int64_t totalFallos_ = 0;
    std::string aritmetico_;
    std::string falloHusos_; // the zones of line 1 refused
    std::optional<FueraDeHuso> fuera_;
    std::int64_t lineaFuera_ = 0;
};

// An opened input file, closed at the end of the run.
class Entrada {
public:
    explicit Entrada(const std::string& ruta) {
        fd_ = ::open(ruta.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat st {};
        if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd_);
            fd_ = -1;
            errno = EISDIR;
        }
        if (fd_ < 0) throw FalloLote{ruta + ": " + DescripcionError(errno) + "\n" + MensajeErrorAbrir};
        bufer_ = std::make_unique<FlujoDescriptor>(fd_);
        flujo_ = std::make_unique<std::istream>(bufer_.get());
    }
    ~Entrada() { ::close(fd_); }
    std::istream& Flujo() { return *flujo_; }

private:
    int fd_ = -1;
    std::unique_ptr<FlujoDescriptor> bufer_;
    std::unique_ptr<std::istream> flujo_;
};

} // namespace

FlujoDescriptor::int_type FlujoDescriptor::underflow() {
    ssize_t n;
    do {
        n = ::read(fd_, bufer_, sizeof bufer_);
    } while (n < 0 && errno == EINTR);
    // the istream turns this into its badbit: a failed read is never an end of file
    if (n < 0) throw std::ios_base::failure(DescripcionError(errno));
    if (n == 0) return traits_type::eof();
    setg(bufer_, bufer_, bufer_ + n);
    return traits_type::to_int_type(bufer_[0]);
}

namespace {

void TerminaPorSenal(int senal) {
    BorraTemporalesPendientes();
    std::signal(senal, SIG_DFL);
    std::raise(senal);
}

} // namespace

void InstalaManejadoresDeSenales() {
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        struct sigaction a {};
        a.sa_handler = TerminaPorSenal;
        sigemptyset(&a.sa_mask);
        ::sigaction(s, &a, nullptr);
    }
}

bool DescriptoresEstandarAbiertos() {
    for (int fd : {0, 1, 2})
        if (::fcntl(fd, F_GETFD) < 0) return false;
    return true;
}

int EjecutaLote(const std::vector<std::string>& argumentos, std::istream& entrada,
                std::ostream& salida, std::ostream& errores) {
    std::vector<std::string> rutas;
    bool oficial = false;
    Opciones opciones;
    std::string rutaKml, rutaGeoJson;
    for (std::size_t k = 0; k < argumentos.size(); ++k) {
        const std::string& a = argumentos[k];
        if (a == "--rejilla") {
            oficial = true;
            continue;
        }
        if (a == "--nombres") {
            opciones.nombres = true;
            continue;
        }
        if (a == "--huso-ed50" || a == "--huso" || a == "--formatos") {
            if (k + 1 == argumentos.size()) {
                errores << "orvalo-lote: " << a << " necesita un valor\n" << UsoLote;
                return 2;
            }
            const std::string& v = argumentos[++k];
            const auto rechazo = a == "--huso-ed50" ? PonHusoEd50(opciones.formatos, v)
                                 : a == "--huso"    ? PonHusoUtm(opciones.formatos, v)
                                                    : PonFormatos(opciones.formatos, v);
            if (rechazo) {
                errores << "orvalo-lote: " << *rechazo << '\n' << UsoLote;
                return 2;
            }
            continue;
        }
        if (a == "--kml" || a == "--geojson") {
            if (k + 1 == argumentos.size()) {
                errores << "orvalo-lote: " << a << " necesita un fichero\n" << UsoLote;
                return 2;
            }
            (a == "--kml" ? rutaKml : rutaGeoJson) = argumentos[++k];
            continue;
        }
        if (a == "--help" || a == "-h") {
            salida << UsoLote;
            return 0;
        }
        if (a == "--version") {
            salida << "orvalo-lote " << ORVALO_VERSION << '\n';
            return salida.flush() ? 0 : 1;
        }
        if (a.size() > 1 && a[0] == '-') {
            errores << "orvalo-lote: opci\u00f3n desconocida: " << a << '\n' << UsoLote;
            return 2;
        }
        rutas.push_back(a);
    }
    if (rutas.empty() || rutas.size() > 2) {
        errores << UsoLote;
        return 2;
    }
    const std::string& rutaEntrada = rutas[0];
    const std::string rutaSalida = rutas.size() == 2 ? rutas[1] : "-";
    try {
        std::optional<ReservaRejillas> rejillas;
        if (oficial) {
            const Rejillas ficheros = BuscaRejillas();
            if (!ficheros.falta.empty())
                throw FalloLote{"orvalo-lote: no se encuentra " + ficheros.falta + " (rejilla oficial del IGN)"};
            rejillas.emplace(ficheros);
        }
        opciones.rejillas = rejillas ? &*rejillas : nullptr;
        std::optional<Entrada> fichero;
        if (rutaEntrada != "-") fichero.emplace(rutaEntrada);
        Destino destino(rutaSalida, salida);
        // the maps are written like the output: whole, or not at all
        const std::string sistema = oficial ? "ETRS89, rejilla oficial del IGN" : "WGS84, 7 par\u00e1metros";
        std::unique_ptr<Escritura> kml = AbreMapa(rutaKml, CabeceraKml(rutaEntrada, sistema));
        std::unique_ptr<Escritura> geojson = AbreMapa(rutaGeoJson, CabeceraGeoJson());
        opciones.kml = kml != nullptr;
        opciones.geojson = geojson != nullptr;
        Conversion conversion(rutaEntrada, fichero ? fichero->Flujo() : entrada, destino, opciones, kml.get(),
                              geojson.get());
        const std::vector<std::string> diagnosticos = conversion.Ejecuta();
        if (!diagnosticos.empty()) {
            for (const std::string& d : diagnosticos) errores << d << '\n';
            return 1;
        }
        if (const auto aviso = conversion.Aviso()) errores << *aviso << '\n';
        destino.Confirma();
        CierraMapa(rutaKml, kml.get(), PieKml());
        CierraMapa(rutaGeoJson, geojson.get(), PieGeoJson());
        return 0;
    } catch (const FalloLote& f) {
        errores << ParaTerminal(f.mensaje) << '\n';
    } catch (const std::bad_alloc&) {
        errores << ParaTerminal(MensajeDemasiadoGrande) << '\n';
    }
    return 1;
}
