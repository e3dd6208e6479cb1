#include "ficheros.h"

#include "texto/codificacion.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>

#include <csignal>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Temporary files being written, for a signal handler: fixed slots, no allocation.
constexpr int Huecos = 8;
constexpr std::size_t LargoRuta = 4096;
char temporales[Huecos][LargoRuta];
std::atomic<bool> ocupados[Huecos];

int ApuntaTemporal(const std::string& ruta) {
    if (ruta.size() >= LargoRuta) return -1;
    for (int i = 0; i < Huecos; ++i) {
        bool libre = false;
        if (!ocupados[i].compare_exchange_strong(libre, true)) continue;
        std::memcpy(temporales[i], ruta.c_str(), ruta.size() + 1);
        return i;
    }
    return -1;
}

void OlvidaTemporal(const std::string& ruta) {
    for (int i = 0; i < Huecos; ++i)
        if (ocupados[i].load() && ruta == temporales[i]) ocupados[i].store(false);
}

// Signals held back for the life of the object.
class SinSenales {
public:
    SinSenales() {
        sigset_t todas;
        sigfillset(&todas);
        pthread_sigmask(SIG_BLOCK, &todas, &antes_);
    }
    ~SinSenales() { pthread_sigmask(SIG_SETMASK, &antes_, nullptr); }

private:
    sigset_t antes_;
};

std::string Carpeta(const std::string& ruta) {
    const std::size_t barra = ruta.rfind('/');
    if (barra == std::string::npos) return ".";
    return barra == 0 ? "/" : ruta.substr(0, barra);
}

// The umask without changing it: from the kernel where it tells, else set and set back.
mode_t Umask() {
    std::ifstream estado("/proc/self/status");
    std::string linea;
    while (std::getline(estado, linea))
        if (linea.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::stoul(linea.substr(6), nullptr, 8));
    const mode_t m = ::umask(022);
    ::umask(m);
    return m;
}

// The final target of a path: symbolic links followed, also a dangling one (its target need
// not exist). The path itself when it is not a link; empty after a loop of links.
std::string SigueEnlaces(const std::string& ruta) {
    std::string actual = ruta;
    for (int saltos = 0; saltos < 40; ++saltos) {
        struct stat st {};
        if (::lstat(actual.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return actual;
        std::string destino(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(actual.c_str(), destino.data(), destino.size());
        if (n < 0) return actual;
        destino.resize(static_cast<std::size_t>(n));
        actual = !destino.empty() && destino[0] == '/' ? destino : Carpeta(actual) + "/" + destino;
    }
    return {};
}

// The parts of a path between its slashes, in order.
std::deque<std::string> Partes(const std::string& ruta) {
    std::deque<std::string> partes;
    std::size_t i = 0;
    while (i <= ruta.size()) {
        const std::size_t barra = std::min(ruta.find('/', i), ruta.size());
        if (barra > i) partes.push_back(ruta.substr(i, barra - i));
        i = barra + 1;
    }
    return partes;
}

// The kernel's protected_symlinks rule, whatever the machine's setting: a symbolic link in a
// sticky folder anyone may write is followed only when it belongs to the caller or to the
// folder's owner. The first link along `ruta` the rule refuses; empty when none. It stops where
// the path no longer exists (a dangling end, or a /proc link to a pipe: nothing left to follow).
std::string EnlaceAjeno(const std::string& ruta) {
    std::string hecho = !ruta.empty() && ruta[0] == '/' ? "" : "."; // resolved so far, links out
    std::deque<std::string> resto = Partes(ruta);
    for (int saltos = 0; !resto.empty();) {
        const std::string parte = std::move(resto.front());
        resto.pop_front();
        if (parte == ".") continue;
        const std::string siguiente = hecho + "/" + parte;
        struct stat enlace {};
        if (::lstat(siguiente.c_str(), &enlace) != 0) return {};
        if (!S_ISLNK(enlace.st_mode)) {
            hecho = siguiente;
            continue;
        }
        if (++saltos > 40) return {}; // the kernel reports the loop
        struct stat carpeta {};
        if (::stat(hecho.empty() ? "/" : hecho.c_str(), &carpeta) == 0 && (carpeta.st_mode & S_ISVTX) &&
            (carpeta.st_mode & S_IWOTH) && enlace.st_uid != ::geteuid() && enlace.st_uid != carpeta.st_uid)
            return siguiente;
        std::string destino(static_cast<std::size_t>(enlace.st_size > 0 ? enlace.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(siguiente.c_str(), destino.data(), destino.size());
        if (n <= 0) return {};
        destino.resize(static_cast<std::size_t>(n));
        if (destino[0] == '/') hecho.clear();
        std::deque<std::string> partes = Partes(destino);
        resto.insert(resto.begin(), partes.begin(), partes.end());
    }
    return {};
}

// The path the kernel gives for an opened descriptor; empty for an object without one (a
// pipe, a socket) or without /proc.
std::string RutaDe(int fd) {
    const std::string enlace = "/proc/self/fd/" + std::to_string(fd);
    char ruta[LargoRuta];
    const ssize_t n = ::readlink(enlace.c_str(), ruta, sizeof ruta - 1);
    if (n <= 0 || ruta[0] != '/') return {};
    return std::string(ruta, static_cast<std::size_t>(n));
}

// Waits until `fd` is ready for `eventos` (or reports an error or its end), a tenth of a second
// at a time, asking `cancelado` between.
bool EsperaDescriptor(int fd, short eventos, const std::atomic<bool>* cancelado, int& numero) {
    while (true) {
        if (cancelado && cancelado->load()) {
            numero = ECANCELED;
            return false;
        }
        pollfd p{fd, eventos, 0};
        const int r = ::poll(&p, 1, 100);
        if (r < 0 && errno != EINTR) {
            numero = errno;
            return false;
        }
        if (r > 0) return true; // ready, or an error the next read or write reports
    }
}

} // namespace

bool EscribeTodo(int fd, std::string_view datos, int& numero, const std::atomic<bool>* cancelado) {
    while (!datos.empty()) {
        const ssize_t n = ::write(fd, datos.data(), datos.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!EsperaDescriptor(fd, POLLOUT, cancelado, numero)) return false;
            continue;
        }
        if (n <= 0) {
            numero = n < 0 ? errno : EIO;
            return false;
        }
        datos.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void BorraTemporalesPendientes() noexcept {
    for (int i = 0; i < Huecos; ++i)
        if (ocupados[i].load()) ::unlink(temporales[i]);
}

namespace {

// A read that failed with `numero`: a cancelled wait is the writer's, not the reader's.
ErrorFichero FalloDeLectura(int fd, int numero) {
    ::close(fd);
    if (numero == ECANCELED)
        return {ErrorFichero::NoSeLee, "lectura cancelada: nadie escrib\u00eda en la tuber\u00eda", numero};
    return {ErrorFichero::NoSeLee, DescripcionError(numero), numero};
}

ErrorFichero LeeFichero(const std::string& ruta, std::int64_t maximo, std::string& bytes, bool soloRegular,
                        const std::atomic<bool>* cancelado) {
    // a FIFO with no writer yet opens at once and reads as empty instead of blocking; one whose
    // writer stalls is waited for, and the wait can be given up
    const int fd = ::open(ruta.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int numero = errno;
        return {ErrorFichero::NoSeAbre, DescripcionError(numero), numero};
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return {ErrorFichero::NoSeAbre, DescripcionError(EISDIR), EISDIR};
    }
    if (soloRegular && !S_ISREG(st.st_mode)) {
        ::close(fd);
        return {ErrorFichero::NoSeAbre, "no es un fichero regular"};
    }
    std::string leido;
    char bloque[1 << 16];
    while (true) {
        const ssize_t n = ::read(fd, bloque, sizeof bloque);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            int numero = 0;
            if (!EsperaDescriptor(fd, POLLIN, cancelado, numero)) return FalloDeLectura(fd, numero);
            continue;
        }
        if (n < 0) return FalloDeLectura(fd, errno);
        if (n == 0) break;
        // the limit counts what was read: a device or FIFO has no size to ask beforehand
        if (static_cast<std::int64_t>(leido.size()) + n > maximo) {
            ::close(fd);
            return {ErrorFichero::DemasiadoGrande, "más de " + std::to_string(maximo) + " bytes"};
        }
        leido.append(bloque, static_cast<std::size_t>(n));
    }
    ::close(fd);
    bytes = std::move(leido);
    return {};
}

} // namespace

ErrorFichero LeeFicheroEntero(const std::string& ruta, std::int64_t maximo, std::string& bytes,
                              const std::atomic<bool>* cancelado) {
    return LeeFichero(ruta, maximo, bytes, false, cancelado);
}

ErrorFichero LeeFicheroRegular(const std::string& ruta, std::int64_t maximo, std::string& bytes) {
    return LeeFichero(ruta, maximo, bytes, true, nullptr);
}

Escritura::Escritura(const std::string& ruta) {
    if (const std::string enlace = EnlaceAjeno(ruta); !enlace.empty()) {
        error_ = {ErrorFichero::NoSeAbre, "\u00ab" + BytesAUtf8(enlace) +
                                              "\u00bb es un enlace simb\u00f3lico de otro usuario en una carpeta "
                                              "compartida: no se sigue"};
        return;
    }
    // the kernel resolves the path (links, /dev/stdout, /dev/fd/N); the rest works on what it opened
    struct stat st {};
    bool existe = false;
    if (const int abierto = ::open(ruta.c_str(), O_PATH | O_CLOEXEC); abierto >= 0) {
        existe = ::fstat(abierto, &st) == 0;
        if (existe && !S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode)) {
            AbreEnSitio(abierto, ruta);
            ::close(abierto);
            return;
        }
        destino_ = RutaDe(abierto);
        ::close(abierto);
        if (destino_.empty()) destino_ = SigueEnlaces(ruta);
    } else if (errno == ENOENT) {
        destino_ = SigueEnlaces(ruta); // missing, or a dangling link whose target is created
    } else {
        Falla(ErrorFichero::NoSeAbre, errno);
        return;
    }
    if (destino_.empty() || ruta.empty()) {
        Falla(ErrorFichero::NoSeAbre, ruta.empty() ? ENOENT : ELOOP);
        return;
    }
    if (existe && S_ISDIR(st.st_mode)) {
        Falla(ErrorFichero::NoSeAbre, EISDIR);
        return;
    }
    if (existe && ::access(destino_.c_str(), W_OK) != 0) {
        Falla(ErrorFichero::NoSeAbre, errno);
        return;
    }
    // a short name: a destination name near the name limit still leaves room for it
    std::string plantilla = Carpeta(destino_) + "/.orvalo-XXXXXX";
    {
        // no signal between the file's creation and its noting down: a handler removes it
        const SinSenales bloqueo;
        fd_ = ::mkostemp(plantilla.data(), O_CLOEXEC);
        if (fd_ >= 0) {
            temporal_ = plantilla;
            ApuntaTemporal(temporal_);
        }
    }
    if (fd_ < 0) {
        Falla(ErrorFichero::NoSeAbre, errno);
        return;
    }
    mode_t modo = 0666 & ~Umask();
    if (existe) {
        modo = st.st_mode & 07777;
        // the owner and group stay where the process may keep them (as root, or the group alone)
        const bool guardados = ::fchown(fd_, st.st_uid, st.st_gid) == 0 ||
                               ::fchown(fd_, static_cast<uid_t>(-1), st.st_gid) == 0;
        static_cast<void>(guardados); // else the file is the process's: no reason to refuse the save
    }
    if (::fchmod(fd_, modo) != 0) Falla(ErrorFichero::NoSeAbre, errno);
}

// Devices, FIFOs and sockets are written in place, through what the kernel opened. A FIFO
// without a reader is refused at once; the descriptor stays non-blocking so that a reader that
// stalls can be waited for and given up.
void Escritura::AbreEnSitio(int abierto, const std::string& ruta) {
    enSitio_ = true;
    const int banderas = O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    fd_ = ::open(("/proc/self/fd/" + std::to_string(abierto)).c_str(), banderas);
    if (fd_ < 0 && errno == ENOENT) fd_ = ::open(ruta.c_str(), banderas); // no /proc
    if (fd_ < 0) Falla(ErrorFichero::NoSeAbre, errno);
}

Escritura::~Escritura() {
    if (fd_ >= 0) ::close(fd_);
    if (!temporal_.empty()) {
        ::unlink(temporal_.c_str());
        OlvidaTemporal(temporal_);
    }
}

bool Escritura::Falla(ErrorFichero::Tipo tipo, int numero) {
    if (!error_) error_ = {tipo, DescripcionError(numero), numero};
    return false;
}

bool Escritura::Escribe(std::string_view datos, const std::atomic<bool>* cancelado) {
    if (error_ || fd_ < 0) return false;
    int numero = 0;
    return EscribeTodo(fd_, datos, numero, cancelado) || Falla(ErrorFichero::NoSeEscribe, numero);
}

bool Escritura::Confirma() {
    if (error_ || fd_ < 0) return false;
    const int fd = fd_;
    fd_ = -1;
    if (enSitio_) return ::close(fd) == 0 || Falla(ErrorFichero::NoSeEscribe, errno);
    if (::fsync(fd) != 0) {
        const int numero = errno;
        ::close(fd);
        return Falla(ErrorFichero::NoSeEscribe, numero);
    }
    if (::close(fd) != 0) return Falla(ErrorFichero::NoSeEscribe, errno);
    if (::rename(temporal_.c_str(), destino_.c_str()) != 0) return Falla(ErrorFichero::NoSeEscribe, errno);
    OlvidaTemporal(temporal_);
    temporal_.clear();
    // the rename itself reaches the disk with its folder
    const int carpeta = ::open(Carpeta(destino_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (carpeta >= 0) {
        ::fsync(carpeta);
        ::close(carpeta);
    }
    return true;
}

ErrorFichero GuardaFichero(const std::string& ruta, std::string_view datos) {
    Escritura e(ruta);
    if (e.Escribe(datos) && e.Confirma()) return {};
    return e.Error();
}

std::string DescribeFallo(const std::string& ruta, const ErrorFichero& e) {
    return BytesAUtf8(ruta) + ": " + e.descripcion;
}

void IgnoraSenalesDeEscritura() {
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}
