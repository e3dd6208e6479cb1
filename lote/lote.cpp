#include "lote.h"

#include "transformacion/entrada.h"
#include "transformacion/salida.h"
#include "geodesia/fallo.h"
#include "geodesia/formato.h"
#include "transformacion/tuberias.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <future>
#include <istream>
#include <memory>
#include <ostream>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// A file created beside its final name and renamed over it on success; removed otherwise.
class FicheroTemporal {
public:
    explicit FicheroTemporal(const std::string& junto) {
        std::string plantilla = junto + ".orvalo-XXXXXX";
        fd_ = mkstemp(plantilla.data());
        if (fd_ < 0) throw FalloLote{MensajeErrorGuardar};
        ruta_ = plantilla;
    }
    ~FicheroTemporal() {
        if (fd_ >= 0) ::close(fd_);
        if (!ruta_.empty()) ::unlink(ruta_.c_str());
    }
    FicheroTemporal(const FicheroTemporal&) = delete;
    FicheroTemporal& operator=(const FicheroTemporal&) = delete;

    void Escribe(std::string_view datos) {
        while (!datos.empty()) {
            const ssize_t n = ::write(fd_, datos.data(), datos.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) throw FalloLote{MensajeErrorGuardar};
            datos.remove_prefix(static_cast<std::size_t>(n));
        }
    }
    int Descriptor() const { return fd_; }
    const std::string& Ruta() const { return ruta_; }

    // Renames over `destino`, keeping the permissions of a file already there.
    void Confirma(const std::string& destino) {
        struct stat st {};
        const mode_t modo = ::stat(destino.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
        if (::fchmod(fd_, modo) != 0 || ::fsync(fd_) != 0 || ::close(fd_) != 0) {
            fd_ = -1;
            throw FalloLote{MensajeErrorGuardar};
        }
        fd_ = -1;
        if (::rename(ruta_.c_str(), destino.c_str()) != 0) throw FalloLote{MensajeErrorGuardar};
        ruta_.clear();
    }

private:
    int fd_ = -1;
    std::string ruta_;
};

// Standard input copied to an unnamed temporary file, so that it can be read twice.
std::unique_ptr<std::ifstream> CopiaEntradaEstandar(std::istream& entrada) {
    const char* tmp = std::getenv("TMPDIR");
    FicheroTemporal copia(std::string(tmp && *tmp ? tmp : "/tmp") + "/entrada");
    std::string bloque(TamanoLectura, '\0');
    while (entrada.read(bloque.data(), static_cast<std::streamsize>(bloque.size())) ||
           entrada.gcount() > 0)
        copia.Escribe(std::string_view(bloque.data(), static_cast<std::size_t>(entrada.gcount())));
    auto f = std::make_unique<std::ifstream>(copia.Ruta(), std::ios::binary);
    if (!*f) throw FalloLote{MensajeErrorAbrir};
    return f; // the file stays readable through the open stream once its name is gone
}

// Converts one block of entry points as the window does: each value first rounded as its box
// shows it and read back from that text.
std::string ConvierteBloque(int formato, Columnas3 puntos, bool primero) {
    const int k = 3 * (formato - 1);
    int m = 0;
    for (Columna* c : {&puntos.c1, &puntos.c2, &puntos.c3}) {
        for (double& v : *c) v = ValorMostrado(v, k + m);
        ++m;
    }
    const ConjuntoDatos d = Transforma(formato, puntos);
    std::string texto;
    texto.reserve(static_cast<std::size_t>(d.NumPuntos) * 228);
    for (std::size_t i = 0; i < static_cast<std::size_t>(d.NumPuntos); ++i) {
        if (i > 0 || !primero) texto += FinLinea;
        AnadeLineaSalida(d, i, texto);
    }
    return texto;
}

class Conversion {
public:
    Conversion(std::istream& entrada, FicheroTemporal& destino) : entrada_(entrada), destino_(destino) {}

    void Ejecuta() {
        std::string linea1;
        if (!std::getline(entrada_, linea1)) throw FalloLote{MensajeErrorAbrir}; // empty file
        if (!linea1.empty() && linea1.back() == '\r') linea1.pop_back();
        const auto identificador = LeeIdentificador(linea1);
        if (const auto* f = std::get_if<FalloEntrada>(&identificador)) throw FalloLote{f->mensaje};
        formato_ = std::get<int>(identificador);
        const std::streampos inicio = entrada_.eof() ? std::streampos(-1) : entrada_.tellg();
        const std::int64_t n = inicio == std::streampos(-1) ? 0 : CuentaResto();
        if (n == 0) return;
        entrada_.clear();
        entrada_.seekg(inicio);
        LeePuntos(n);
    }

private:
    std::int64_t CuentaResto() {
        std::string bloque(TamanoLectura, '\0');
        std::int64_t lineas = 0;
        char ultimo = '\n';
        while (entrada_.read(bloque.data(), static_cast<std::streamsize>(bloque.size())) ||
               entrada_.gcount() > 0) {
            const auto leidos = static_cast<std::size_t>(entrada_.gcount());
            lineas += std::count(bloque.data(), bloque.data() + leidos, '\n');
            ultimo = bloque[leidos - 1];
        }
        if (entrada_.bad()) throw FalloLote{MensajeErrorAbrir};
        return lineas + (ultimo != '\n' ? 1 : 0);
    }

    void LeePuntos(std::int64_t n) {
        LectorCampos lector(3 * n);
        Columna valores;
        std::string pendiente; // an incomplete last line, carried to the next read
        std::string bloque(TamanoLectura, '\0');
        std::vector<Columna> listos;
        const std::size_t hilos = std::max(1u, std::thread::hardware_concurrency());
        bool fin = false;
        while (!fin) {
            entrada_.read(bloque.data(), static_cast<std::streamsize>(bloque.size()));
            const auto leidos = static_cast<std::size_t>(entrada_.gcount());
            fin = leidos == 0;
            pendiente.append(bloque, 0, leidos);
            // whole lines only: npos + 1 is 0 when no line end has come yet
            const std::size_t corte = fin ? pendiente.size() : pendiente.rfind('\n') + 1;
            if (corte > 0) {
                if (!lector.Lee(std::string_view(pendiente).substr(0, corte), valores)) {
                    Espera(); // the blocks under way finish before the file is refused
                    throw FalloLote{MensajeErrorAbrir};
                }
                pendiente.erase(0, corte);
            }
            const bool completo = fin || lector.Quedan() == 0;
            while (valores.size() >= 3 * PuntosPorBloque || (completo && !valores.empty())) {
                const std::size_t cuantos = std::min(valores.size(), 3 * PuntosPorBloque);
                listos.emplace_back(valores.begin(), valores.begin() + static_cast<std::ptrdiff_t>(cuantos));
                valores.erase(valores.begin(), valores.begin() + static_cast<std::ptrdiff_t>(cuantos));
            }
            if (listos.size() >= 2 * hilos || completo) Lanza(listos);
            if (completo) break;
        }
        Espera();
        if (lector.Quedan() > 0) throw FalloLote{MensajeErrorAbrir};
    }

    // The blocks go to worker threads; the batch before them is written meanwhile, so that
    // reading, converting and writing overlap.
    void Lanza(std::vector<Columna>& bloques) {
        std::vector<std::future<std::string>> tareas;
        for (Columna& b : bloques) {
            Columnas3 p;
            const std::size_t n = b.size() / 3;
            for (Columna* c : {&p.c1, &p.c2, &p.c3}) c->resize(n);
            for (std::size_t i = 0; i < n; ++i) {
                p.c1[i] = b[3 * i];
                p.c2[i] = b[3 * i + 1];
                p.c3[i] = b[3 * i + 2];
            }
            const bool primero = lanzados_++ == 0;
            tareas.push_back(std::async(std::launch::async, ConvierteBloque, formato_, std::move(p), primero));
        }
        bloques.clear();
        Espera();
        enCurso_ = std::move(tareas);
    }

    // Writes the blocks under way, in their order; an arithmetic fault ends the run.
    void Espera() {
        std::string fallo;
        for (auto& t : enCurso_) {
            try {
                const std::string texto = t.get();
                if (fallo.empty()) destino_.Escribe(texto);
            } catch (const FalloAritmetico& e) {
                if (fallo.empty()) fallo = MensajeFalloAritmetico(e.what());
            }
        }
        enCurso_.clear();
        if (!fallo.empty()) throw FalloLote{fallo};
    }

    std::istream& entrada_;
    FicheroTemporal& destino_;
    int formato_ = 0;
    std::size_t lanzados_ = 0;
    std::vector<std::future<std::string>> enCurso_;
};

void CopiaASalida(FicheroTemporal& f, std::ostream& salida) {
    if (::lseek(f.Descriptor(), 0, SEEK_SET) != 0) throw FalloLote{MensajeErrorGuardar};
    std::string bloque(TamanoLectura, '\0');
    ssize_t n;
    while ((n = ::read(f.Descriptor(), bloque.data(), bloque.size())) > 0)
        salida.write(bloque.data(), n);
    salida.flush();
    if (n < 0 || !salida) throw FalloLote{MensajeErrorGuardar};
}

} // namespace

int EjecutaLote(const std::vector<std::string>& argumentos, std::istream& entrada,
                std::ostream& salida, std::ostream& errores) {
    if (argumentos.size() == 1 && (argumentos[0] == "--help" || argumentos[0] == "-h")) {
        salida << UsoLote;
        return 0;
    }
    const bool opcionDesconocida = !argumentos.empty() && argumentos[0].size() > 1 && argumentos[0][0] == '-';
    if (argumentos.empty() || argumentos.size() > 2 || opcionDesconocida) {
        errores << UsoLote;
        return 2;
    }
    const std::string& rutaEntrada = argumentos[0];
    const std::string rutaSalida = argumentos.size() == 2 ? argumentos[1] : "-";
    try {
        std::unique_ptr<std::ifstream> fichero;
        if (rutaEntrada == "-") {
            fichero = CopiaEntradaEstandar(entrada);
        } else {
            struct stat st {};
            if (::stat(rutaEntrada.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) throw FalloLote{MensajeErrorAbrir};
            fichero = std::make_unique<std::ifstream>(rutaEntrada, std::ios::binary);
            if (!*fichero) throw FalloLote{MensajeErrorAbrir};
        }
        const char* tmp = std::getenv("TMPDIR");
        FicheroTemporal destino(rutaSalida == "-" ? std::string(tmp && *tmp ? tmp : "/tmp") + "/salida"
                                                  : rutaSalida);
        Conversion(*fichero, destino).Ejecuta();
        if (rutaSalida == "-") {
            CopiaASalida(destino, salida);
        } else {
            destino.Confirma(rutaSalida);
        }
        return 0;
    } catch (const FalloLote& f) {
        errores << ParaTerminal(f.mensaje) << '\n';
    } catch (const std::bad_alloc&) {
        errores << ParaTerminal(MensajeDemasiadoGrande) << '\n';
    }
    return 1;
}
