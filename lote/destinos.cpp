#include "destinos.h"

#include "transformacion/salida.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t TamanoCopia = 1 << 20;

// What a path names: its device and inode; for a file still to be made, its folder's and its
// name.
struct Identidad {
    dev_t dispositivo = 0;
    ino_t nodo = 0;
    std::string nombre; // a new file's name in that folder
    bool conocida = false;
    bool operator==(const Identidad& o) const {
        return conocida && o.conocida && dispositivo == o.dispositivo && nodo == o.nodo && nombre == o.nombre;
    }
};

Identidad IdentidadDe(const std::string& ruta) {
    struct stat st {};
    if (::stat(ruta.c_str(), &st) == 0) return {st.st_dev, st.st_ino, {}, true};
    if (errno != ENOENT) return {};
    const auto barra = ruta.rfind('/');
    const std::string carpeta = barra == std::string::npos ? "." : barra == 0 ? "/" : ruta.substr(0, barra);
    if (::stat(carpeta.c_str(), &st) != 0) return {};
    return {st.st_dev, st.st_ino, ruta.substr(barra == std::string::npos ? 0 : barra + 1), true};
}

std::string Lista(const std::vector<std::string>& nombres) {
    std::string r;
    for (const std::string& n : nombres) r += (r.empty() ? "" : ", ") + n;
    return r;
}

} // namespace

std::optional<std::string> RutasRepetidas(const std::vector<std::pair<std::string, std::string>>& rutas) {
    std::vector<Identidad> identidades;
    for (const auto& r : rutas) identidades.push_back(r.second == "-" ? Identidad{} : IdentidadDe(r.second));
    for (std::size_t i = 0; i < rutas.size(); ++i) {
        for (std::size_t j = i + 1; j < rutas.size(); ++j) {
            const bool misma = rutas[i].second != "-" && (rutas[i].second == rutas[j].second || identidades[i] == identidades[j]);
            if (misma)
                return rutas[i].first + " \u00ab" + rutas[i].second + "\u00bb y " + rutas[j].first + " \u00ab" + rutas[j].second +
                       "\u00bb son el mismo fichero";
        }
    }
    return std::nullopt;
}

Destino::Destino(const std::string& ruta, std::ostream& salidaEstandar)
    : nombre_(ruta == "-" ? "salida est\u00e1ndar" : ruta), salida_(salidaEstandar) {
    if (ruta != "-") {
        fichero_ = std::make_unique<Escritura>(ruta);
        if (fichero_->Error()) Falla(fichero_->Error().descripcion);
        if (!fichero_->EnSitio()) return; // written straight into its temporary file
    }
    const char* tmp = std::getenv("TMPDIR");
    std::string plantilla = std::string(tmp && *tmp ? tmp : "/tmp") + "/.orvalo-lote-XXXXXX";
    temporal_ = ::mkostemp(plantilla.data(), O_CLOEXEC);
    if (temporal_ < 0) throw FalloLote{plantilla + ": " + DescripcionError(errno)};
    ::unlink(plantilla.c_str()); // unnamed: nothing is left behind, whatever ends the process
}

Destino::~Destino() {
    if (temporal_ >= 0) ::close(temporal_);
}

void Destino::Falla(const std::string& porque) const { throw FalloLote{nombre_ + ": " + porque}; }

void Destino::Escribe(std::string_view datos) {
    if (temporal_ < 0) {
        if (!fichero_->Escribe(datos)) Falla(fichero_->Error().descripcion);
        return;
    }
    int numero = 0;
    if (!EscribeTodo(temporal_, datos, numero)) Falla(DescripcionError(numero));
}

void Destino::Confirma() {
    if (temporal_ >= 0) {
        if (::lseek(temporal_, 0, SEEK_SET) != 0) Falla(DescripcionError(errno));
        std::string bloque(TamanoCopia, '\0');
        ssize_t n;
        errno = 0;
        while ((n = ::read(temporal_, bloque.data(), bloque.size())) != 0) {
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) Falla(DescripcionError(errno));
            const std::string_view trozo(bloque.data(), static_cast<std::size_t>(n));
            if (fichero_) {
                if (!fichero_->Escribe(trozo)) Falla(fichero_->Error().descripcion);
            } else {
                salida_.write(trozo.data(), static_cast<std::streamsize>(trozo.size()));
            }
        }
        if (!fichero_) {
            salida_.flush();
            // a stream keeps no reason: the last system error is the write's (EPIPE, ENOSPC)
            if (!salida_) Falla(errno ? DescripcionError(errno) : std::string("no se puede escribir"));
            return;
        }
    }
    if (!fichero_->Confirma()) Falla(fichero_->Error().descripcion);
}

void ConfirmaTodos(const std::vector<Destino*>& destinos) {
    std::vector<Destino*> orden;
    for (bool enSitio : {true, false})
        for (Destino* d : destinos)
            if (d->EnSitio() == enSitio) orden.push_back(d);
    std::vector<std::string> escritos;
    for (std::size_t k = 0; k < orden.size(); ++k) {
        try {
            orden[k]->Confirma();
            escritos.push_back(orden[k]->Nombre());
        } catch (FalloLote& f) {
            if (escritos.empty()) throw;
            std::vector<std::string> faltan;
            for (std::size_t j = k; j < orden.size(); ++j) faltan.push_back(orden[j]->Nombre());
            f.mensaje += "\nse ha escrito " + Lista(escritos) + "; no se ha escrito " + Lista(faltan);
            throw;
        }
    }
}
