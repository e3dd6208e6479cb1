#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

// The one way the program reads and writes files. Paths are bytes, as the system takes them.

// Why a read or write did not complete, in Spanish words for diagnostics ("es una carpeta").
struct ErrorFichero {
    enum Tipo { Ninguno, NoSeAbre, DemasiadoGrande, NoSeLee, NoSeEscribe } tipo = Ninguno;
    std::string descripcion;
    int numero = 0; // the system's error number behind it, 0 when there is none
    explicit operator bool() const { return tipo != Ninguno; }
};

// Reads a whole file once, as a stream: regular files, FIFOs, devices and process
// substitutions alike. Refuses a folder; more than `maximo` bytes read is DemasiadoGrande.
ErrorFichero LeeFicheroEntero(const std::string& ruta, std::int64_t maximo, std::string& bytes);
// The same for data that only a regular file may hold: anything else is refused at once ("no
// es un fichero regular"), a FIFO never waited on.
ErrorFichero LeeFicheroRegular(const std::string& ruta, std::int64_t maximo, std::string& bytes);

// A file being written. A regular file, or a missing one, is written to a temporary file in its
// folder and renamed over it only when every write, the flush and the close succeeded: the old
// file stays byte for byte after any failure, and keeps its mode and, where the process may,
// its owner and group; a new one gets 0666 less the umask. The kernel resolves the path: a
// symbolic link is followed to its final target, which is replaced the same way (the link
// stays a link), and /dev/stdout, /dev/fd/N and process substitutions reach what they stand
// for. In a sticky folder anyone may write, a link is followed only when it belongs to the
// caller or to the folder's owner (the kernel's protected_symlinks rule, whatever the
// machine's setting); any other is refused, naming it. A character device, FIFO, pipe or
// socket is written in place, in order; a FIFO without a reader is refused at once. A folder,
// or a file the user could not write in place, is refused.
class Escritura {
public:
    explicit Escritura(const std::string& ruta);
    ~Escritura(); // without Confirma, the temporary file is removed
    Escritura(const Escritura&) = delete;
    Escritura& operator=(const Escritura&) = delete;

    // False, with the error kept, when the file could not be opened or a write failed. Written
    // in place, a reader that stalls is waited for; `cancelado`, when given, is asked every
    // tenth of a second meanwhile and gives the wait up. A reader that quits is an error (EPIPE
    // where SIGPIPE is ignored or blocked).
    bool Escribe(std::string_view datos, const std::atomic<bool>* cancelado = nullptr);
    // Flushes and closes, then renames over the destination. After it the writing is done.
    bool Confirma();
    const ErrorFichero& Error() const { return error_; }
    // Written in place: a device, FIFO or socket, which gets every byte as it is written.
    bool EnSitio() const { return enSitio_; }

private:
    bool Falla(ErrorFichero::Tipo tipo, int numero);
    void AbreEnSitio(int abierto, const std::string& ruta);

    std::string destino_;   // the final target, links followed
    std::string temporal_;
    int fd_ = -1;
    bool enSitio_ = false;  // a device, FIFO or socket
    ErrorFichero error_;
};

// Writes `datos` as a whole file by the rules of Escritura.
ErrorFichero GuardaFichero(const std::string& ruta, std::string_view datos);

// Writes all of `datos` to a descriptor, again after an interrupted write; a non-blocking one
// is waited for as Escritura::Escribe says. On failure false with the error number in `numero`.
bool EscribeTodo(int fd, std::string_view datos, int& numero, const std::atomic<bool>* cancelado = nullptr);

// The words for a failed read or save of `ruta`: the path as UTF-8, then the reason
// ("/home/ana/f.txt: no queda espacio en el disco").
std::string DescribeFallo(const std::string& ruta, const ErrorFichero& e);

// SIGPIPE and SIGXFSZ ignored for the whole process: a write to a pipe whose reader quit fails
// with EPIPE and one past the file-size limit with EFBIG, both reported, instead of ending it.
void IgnoraSenalesDeEscritura();

// The reason for a system error number, in Spanish ("no existe", "es una carpeta").
std::string DescripcionError(int numero);

// Removes every temporary file still being written. Async-signal-safe: for signal handlers
// that end the process.
void BorraTemporalesPendientes() noexcept;
