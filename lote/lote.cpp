#include "lote.h"

#include "argumentos.h"
#include "conversion.h"
#include "destinos.h"
#include "mapas.h"

#include "ficheros/ficheros.h"
#include "rejilla/rejilla.h"
#include "transformacion/entrada.h"

#include <cerrno>
#include <csignal>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef ORVALO_VERSION
#define ORVALO_VERSION "?"
#endif

namespace {

// Writes each line of a message after the program's name, without the blanks the window's
// texts carry around them; control characters (C0, DEL, C1) show as "?".
void Avisa(std::ostream& errores, const std::string& mensaje) {
    std::size_t inicio = 0;
    while (inicio <= mensaje.size()) {
        std::size_t fin = mensaje.find('\n', inicio);
        if (fin == std::string::npos) fin = mensaje.size();
        std::string linea = mensaje.substr(inicio, fin - inicio);
        linea.erase(0, linea.find_first_not_of(' '));
        linea.erase(linea.find_last_not_of(' ') + 1);
        std::string limpia;
        for (std::size_t i = 0; i < linea.size(); ++i) {
            const auto c = static_cast<unsigned char>(linea[i]);
            const bool c1 = c == 0xC2 && i + 1 < linea.size() && static_cast<unsigned char>(linea[i + 1]) >= 0x80 &&
                            static_cast<unsigned char>(linea[i + 1]) <= 0x9F;
            if (c < 0x20 || c == 0x7F || c1) {
                limpia += '?';
                if (c1) ++i;
            } else {
                limpia += linea[i];
            }
        }
        errores << "orvalo-lote: " << limpia << '\n';
        inicio = fin + 1;
    }
}

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
        if (fd_ < 0) throw FalloLote{ruta + ": " + DescripcionError(errno)};
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

// The KML document's name: the input's own name, without its folders.
std::string NombreDeLaEntrada(const std::string& ruta) {
    if (ruta == "-") return "entrada est\u00e1ndar";
    const std::string sinBarras = ruta.substr(0, ruta.find_last_not_of('/') + 1);
    return sinBarras.empty() ? ruta : sinBarras.substr(sinBarras.rfind('/') + 1);
}

// The paths checked to name distinct files, with the role each plays.
std::vector<std::pair<std::string, std::string>> RutasDe(const Argumentos& a) {
    std::vector<std::pair<std::string, std::string>> r{{"ENTRADA", a.entrada}, {"SALIDA", a.salida}};
    if (!a.kml.empty()) r.emplace_back("--kml", a.kml);
    if (!a.geojson.empty()) r.emplace_back("--geojson", a.geojson);
    return r;
}

// Opens everything, converts, and commits every output; the diagnostics when the input was
// refused, else in `aviso` the point farthest outside its zone, if any. Throws FalloLote.
std::vector<std::string> Convierte(const Argumentos& a, std::istream& entradaEstandar, std::ostream& salidaEstandar,
                                   std::optional<std::string>& aviso) {
    std::optional<ReservaRejillas> rejillas;
    if (a.rejilla) {
        const Rejillas ficheros = BuscaRejillas();
        if (!ficheros.falta.empty()) throw FalloLote{"no se encuentra " + ficheros.falta + " (rejilla oficial del IGN)"};
        rejillas.emplace(ficheros);
    }
    std::optional<Entrada> fichero;
    if (a.entrada != "-") fichero.emplace(a.entrada);
    // every destination is ready before the first point is read
    Destino salida(a.salida, salidaEstandar);
    std::optional<Destino> kml, geojson;
    if (!a.kml.empty()) kml.emplace(a.kml, salidaEstandar);
    if (!a.geojson.empty()) geojson.emplace(a.geojson, salidaEstandar);
    const std::string sistema = a.rejilla ? "ETRS89, rejilla oficial del IGN" : "WGS84, 7 par\u00e1metros";
    if (kml) kml->Escribe(CabeceraKml(NombreDeLaEntrada(a.entrada), sistema));
    if (geojson) geojson->Escribe(CabeceraGeoJson());
    const Salidas salidas{&salida, kml ? &*kml : nullptr, geojson ? &*geojson : nullptr};
    const Opciones opciones{a.nombres, a.lf, rejillas ? &*rejillas : nullptr, a.formatos, {}};
    Conversion conversion(a.entrada, fichero ? fichero->Flujo() : entradaEstandar, salidas, opciones);
    std::vector<std::string> diagnosticos = conversion.Ejecuta();
    if (!diagnosticos.empty()) return diagnosticos;
    aviso = conversion.Aviso();
    if (kml) kml->Escribe(PieKml());
    if (geojson) geojson->Escribe(PieGeoJson());
    std::vector<Destino*> todos{&salida};
    if (kml) todos.push_back(&*kml);
    if (geojson) todos.push_back(&*geojson);
    ConfirmaTodos(todos);
    return {};
}

void TerminaPorSenal(int senal) {
    BorraTemporalesPendientes();
    std::signal(senal, SIG_DFL);
    std::raise(senal);
}

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

void InstalaManejadoresDeSenales() {
    for (int s : {SIGPIPE, SIGXFSZ}) std::signal(s, SIG_IGN);
    std::vector<int> senales{SIGHUP,  SIGINT,  SIGQUIT,   SIGILL,  SIGABRT, SIGBUS, SIGFPE,  SIGSEGV, SIGUSR1, SIGUSR2,
                             SIGALRM, SIGTERM, SIGSTKFLT, SIGXCPU, SIGVTALRM, SIGPROF, SIGIO, SIGPWR, SIGSYS};
    for (int s = SIGRTMIN; s <= SIGRTMAX; ++s) senales.push_back(s);
    for (int s : senales) {
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

int EjecutaLote(const std::vector<std::string>& argumentos, std::istream& entrada, std::ostream& salida,
                std::ostream& errores) {
    const auto leidos = LeeArgumentos(argumentos);
    if (const auto* error = std::get_if<std::string>(&leidos)) {
        Avisa(errores, *error + "\n" + PruebeAyuda);
        return 2;
    }
    const Argumentos& a = std::get<Argumentos>(leidos);
    if (a.accion != Argumentos::Convertir) {
        salida << (a.accion == Argumentos::Ayuda ? UsoLote : std::string("orvalo-lote ") + ORVALO_VERSION + "\n");
        return salida.flush() ? 0 : 1;
    }
    if (const auto choque = RutasRepetidas(RutasDe(a))) {
        Avisa(errores, *choque + "\n" + PruebeAyuda);
        return 2;
    }
    try {
        std::optional<std::string> aviso;
        const std::vector<std::string> diagnosticos = Convierte(a, entrada, salida, aviso);
        for (const std::string& d : diagnosticos) Avisa(errores, d);
        if (aviso) Avisa(errores, *aviso);
        return diagnosticos.empty() ? 0 : 1;
    } catch (const FalloLote& f) {
        Avisa(errores, f.mensaje);
    } catch (const std::bad_alloc&) {
        Avisa(errores, MensajeDemasiadoGrande);
    }
    return 1;
}
