#pragma once

#include <iosfwd>
#include <streambuf>
#include <string>
#include <vector>

// The batch converter: `orvalo-lote ENTRADA [SALIDA]` turns an input coordinate file into the
// output file the window writes for it ("-" is standard input or output). Returns the exit
// status: 0 done, 1 bad file or arithmetic fault (nothing written), 2 wrong usage. Every line
// on `errores` starts with "orvalo-lote: ".
int EjecutaLote(const std::vector<std::string>& argumentos, std::istream& entrada,
                std::ostream& salida, std::ostream& errores);

// Reads a file descriptor for an istream; a read error sets the stream's badbit (a plain
// end of file does not).
class FlujoDescriptor : public std::streambuf {
public:
    explicit FlujoDescriptor(int fd) : fd_(fd) {}

protected:
    int_type underflow() override;

private:
    int fd_;
    char bufer_[1 << 16];
};

// SIGPIPE and SIGXFSZ ignored, so that a closed pipe or a file-size limit is a failed write;
// every other signal that would end the process removes the temporary files first and then
// ends it as it would have.
void InstalaManejadoresDeSenales();

// False when descriptor 0, 1 or 2 is closed.
bool DescriptoresEstandarAbiertos();
