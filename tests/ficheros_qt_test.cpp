#include "editor_prueba.h"
#include "transformacion/entrada.h"
#include "transformacion/salida.h"
#include "ventana/dialogos_qt.h"
#include "ventana/main.h"
#include "ventana_prueba.h"

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QTimer>
#include <QPushButton>

#include <gtest/gtest.h>

#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The window's Salida por fichero and the editor's Save As, each with more than the pipe holds
// (shrunk to 4 KiB), into a FIFO whose reader quits, one whose reader stalls, and past the file-size
// limit; Entrada por fichero and Abrir from a FIFO whose writer stalls, and from one whose
// writer is late: the program goes on, the message names the file and the fault, nothing is lost.
class FicherosConFallos : public EditorPrueba {
protected:
    Main ventana{dialogos};

    // What a person sees of each program: every box and the status line, or the editor's text.
    QString Contenido(bool enVentana) { return enVentana ? Cajas(ventana).join(QLatin1Char('|')) : Texto(); }
    // Entrada or Salida por fichero of the window; Abrir or Guardar como of the editor.
    void Pulsa(bool enVentana, bool lee) {
        if (enVentana)
            ventana.findChild<QPushButton*>(lee ? QStringLiteral("Input") : QStringLiteral("Output"))->click();
        else
            Accion(lee ? "FicheroAbrir" : "FicheroGuardar")->trigger();
    }
};

TEST_F(FicherosConFallos, TuberiasYLimites) {
    CuarentaPuntos(ventana);
    Pon(QString(100000, QLatin1Char('t')));
    enum Fallo { LectorSeVa, LectorParado, Limite, EscritorParado, EscritorTarde };
    // palabra: of the reason's line; of what was read when all goes well
    struct Caso { const char* nombre; Fallo fallo; const char* palabra; } casos[] = {
        {"el lector se va", LectorSeVa, "tuber\u00eda"},
        {"el lector se para", LectorParado, "cancelado"},
        {"l\u00edmite de tama\u00f1o", Limite, "tama\u00f1o"},
        {"el escritor se para", EscritorParado, "cancelado la lectura"},
        {"el escritor llega tarde", EscritorTarde, "300000"},
    };
    for (const Caso& c : casos) {
        for (const bool enVentana : {true, false}) {
            const std::string nombre = std::string(enVentana ? "ventana, " : "editor, ") + c.nombre;
            const QString antes = Contenido(enVentana);
            const std::size_t esperas = dialogos.esperas.size();
            dialogos.cancelaEsperas = c.fallo == LectorParado || c.fallo == EscritorParado;
            const bool lee = c.fallo == EscritorParado || c.fallo == EscritorTarde;
            const QString ruta = Ruta(QString::fromLatin1(c.fallo == Limite ? "grande.txt" : "fifo"));
            const QByteArray fifo = QFile::encodeName(ruta);
            // the test's own ends of the FIFO: a reader, and for reading a writer too
            int lectura = -1, escritura = -1;
            if (c.fallo != Limite) {
                QFile::remove(ruta);
                ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
                lectura = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
                ASSERT_GE(::fcntl(lectura, F_SETPIPE_SZ, 4096), 0);
                if (lee) escritura = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
            }
            rlimit antesLimite{};
            ::getrlimit(RLIMIT_FSIZE, &antesLimite);
            const rlimit limite{4096, antesLimite.rlim_max};
            if (c.fallo == Limite) { ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limite), 0); }
            // the late writer writes a small input file after a moment; the reader that quits
            // takes a few bytes once the writer is there
            std::thread otroExtremo([&] {
                if (c.fallo == EscritorTarde) {
                    ::usleep(500000);
                    const std::string datos = "2\r\n300000,4200000,10\r\n";
                    EXPECT_EQ(::write(escritura, datos.data(), datos.size()), static_cast<ssize_t>(datos.size()));
                    ::close(std::exchange(escritura, -1));
                } else if (c.fallo == LectorSeVa) {
                    char bloque[10];
                    for (int i = 0; i < 500 && ::read(lectura, bloque, sizeof bloque) <= 0; ++i) ::usleep(10000);
                    ::close(std::exchange(lectura, -1));
                }
            });
            (lee ? dialogos.rutasAbrir : dialogos.rutasGuardar).push_back(ruta);
            if (!lee && QFileInfo::exists(ruta)) dialogos.respuestas.push_back(true);
            Pulsa(enVentana, lee);
            ::setrlimit(RLIMIT_FSIZE, &antesLimite);
            otroExtremo.join();
            for (const int fd : {lectura, escritura}) if (fd >= 0) ::close(fd);
            if (dialogos.cancelaEsperas) { // the wait shown names the file
                ASSERT_EQ(dialogos.esperas.size(), esperas + 1) << nombre;
                EXPECT_TRUE(dialogos.esperas.back().contains(ruta)) << nombre;
            }
            const QString mensaje = dialogos.ultimoMensaje();
            dialogos.mensajes.clear();
            if (c.fallo == EscritorTarde) {
                EXPECT_TRUE(mensaje.isEmpty()) << nombre << ": " << mensaje.toStdString();
                EXPECT_TRUE(Contenido(enVentana).contains(QString::fromUtf8(c.palabra))) << nombre;
                continue;
            }
            EXPECT_TRUE(mensaje.startsWith(QString::fromStdString(lee ? MensajeErrorAbrirFichero : MensajeErrorGuardar))) << nombre;
            EXPECT_TRUE(mensaje.contains(QString::fromUtf8(c.palabra))) << nombre << ": " << mensaje.toStdString();
            EXPECT_EQ(Contenido(enVentana), antes) << nombre;
        }
    }
}

// The real wait: it stays up until the work is done, and Cancelar asks the work to stop and
// waits for it to end.
TEST(EsperaQt, TerminaOSeCancela) {
    DialogosQt dialogos;
    for (const bool cancela : {false, true}) {
        std::atomic<bool> terminado = false, pedido = false;
        std::thread trabajo([&] {
            for (int i = 0; i < 300 && !pedido; ++i) ::usleep(1000 * (cancela ? 100 : 1));
            terminado = true;
        });
        if (cancela)
            QTimer::singleShot(200, [] {
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (auto* d = qobject_cast<QProgressDialog*>(w); d && d->isVisible())
                        d->findChild<QPushButton*>()->click();
            });
        QElapsedTimer reloj;
        reloj.start();
        dialogos.espera(nullptr, QStringLiteral("Esperando"), [&] { return terminado.load(); }, [&] { pedido = true; });
        EXPECT_TRUE(terminado) << cancela;
        EXPECT_EQ(pedido.load(), cancela);
        if (cancela) { EXPECT_LT(reloj.elapsed(), 5000) << "Cancelar no detiene la espera"; }
        trabajo.join();
    }
}

} // namespace
