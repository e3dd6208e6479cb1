#include "dialogos_prueba.h"
#include "editor/editor.h"
#include "transformacion/salida.h"
#include "vectores.h"
#include "ventana/dialogos_qt.h"
#include "ventana/main.h"
#include "ventana_prueba.h"

#include <QAction>
#include <QDir>
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QTimer>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The window's Salida por fichero and the editor's Save As, each with more than a pipe holds
// (64 KiB), into a FIFO whose reader quits, one whose reader stalls, and past the file-size
// limit: the program goes on, the message names the file and the fault, nothing is lost.
class GuardarConFallos : public ::testing::Test {
protected:
    DialogosPrueba dialogos;
    Main ventana{dialogos};
    RutasCompartidas rutas;
    Editor editor{dialogos, rutas};
    QTemporaryDir carpeta;
    QString Ruta(const char* nombre) const { return carpeta.filePath(QString::fromLatin1(nombre)); }

    // What a person sees of each program: every box, or the editor's text.
    QString Contenido(bool enVentana) {
        if (!enVentana) return editor.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText();
        QString t;
        for (int k = 0; k < 18; ++k) t += Caja(ventana, k)->toPlainText() + QLatin1Char('|');
        return t;
    }
    void Guarda(bool enVentana, const QString& ruta) {
        dialogos.rutasGuardar.push_back(ruta);
        if (QFileInfo::exists(ruta)) dialogos.respuestas.push_back(true);
        if (enVentana)
            ventana.findChild<QPushButton*>(QStringLiteral("Output"))->click();
        else
            editor.findChild<QAction*>(QStringLiteral("FicheroGuardar"))->trigger();
    }
};

TEST_F(GuardarConFallos, TuberiasYLimites) {
    QStringList lat, lon, h;
    for (int i = 0; i < 400; ++i) {
        lat << QStringLiteral("40.%1").arg(1000 + i);
        lon << QStringLiteral("-3.%1").arg(1000 + i);
        h << QString::number(100 + i);
    }
    Entra(ventana, 2, lat.join(QLatin1Char('\n')), lon.join(QLatin1Char('\n')), h.join(QLatin1Char('\n')));
    Transforma(ventana, 2);
    editor.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->setPlainText(QString(100000, QLatin1Char('t')));
    enum Fallo { LectorSeVa, LectorParado, Limite };
    struct Caso {
        const char* nombre;
        bool enVentana;
        Fallo fallo;
        const char* palabra; // of the reason's line
    } casos[] = {
        {"ventana, el lector se va", true, LectorSeVa, "tuber\u00eda"},
        {"editor, el lector se va", false, LectorSeVa, "tuber\u00eda"},
        {"ventana, el lector se para", true, LectorParado, "cancelado"},
        {"editor, el lector se para", false, LectorParado, "cancelado"},
        {"ventana, l\u00edmite de tama\u00f1o", true, Limite, "tama\u00f1o"},
        {"editor, l\u00edmite de tama\u00f1o", false, Limite, "tama\u00f1o"},
    };
    for (const Caso& c : casos) {
        const QString antes = Contenido(c.enVentana);
        const std::size_t esperas = dialogos.esperas.size();
        dialogos.cancelaEsperas = c.fallo == LectorParado;
        QString ruta = Ruta("fifo");
        if (c.fallo == Limite) {
            ruta = Ruta("anterior.txt");
            EscribeFichero(ruta.toStdString(), "anterior");
            rlimit limite{};
            ::getrlimit(RLIMIT_FSIZE, &limite);
            const rlimit antesLimite = limite;
            limite.rlim_cur = 4096;
            ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limite), 0);
            Guarda(c.enVentana, ruta);
            ::setrlimit(RLIMIT_FSIZE, &antesLimite);
            EXPECT_EQ(LeeFichero(ruta.toStdString()), "anterior") << c.nombre;
            EXPECT_EQ(QDir(carpeta.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << c.nombre;
        } else {
            QFile::remove(ruta);
            ASSERT_EQ(::mkfifo(QFile::encodeName(ruta).constData(), 0600), 0);
            const int lectura = ::open(QFile::encodeName(ruta).constData(), O_RDONLY | O_NONBLOCK);
            std::thread lector([&] {
                if (c.fallo != LectorSeVa) return;
                // takes a few bytes once the writer is there, then quits
                char bloque[10];
                for (int i = 0; i < 500 && ::read(lectura, bloque, sizeof bloque) <= 0; ++i) ::usleep(10000);
                ::close(lectura);
            });
            Guarda(c.enVentana, ruta);
            lector.join();
            if (c.fallo == LectorParado) {
                ::close(lectura);
                EXPECT_EQ(dialogos.esperas.size(), esperas + 1) << c.nombre;
            }
        }
        const QString mensaje = dialogos.ultimoMensaje();
        EXPECT_TRUE(mensaje.startsWith(QString::fromStdString(MensajeErrorGuardar))) << c.nombre;
        EXPECT_TRUE(mensaje.contains(QString::fromUtf8(c.palabra))) << c.nombre << ": " << mensaje.toStdString();
        EXPECT_EQ(Contenido(c.enVentana), antes) << c.nombre;
        dialogos.mensajes.clear();
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
