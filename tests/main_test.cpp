#include "dialogos_prueba.h"
#include "transformacion/entrada.h"
#include "transformacion/salida.h"
#include "vectores.h"
#include "ventana/main.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "ventana/ficheros_qt.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class VentanaPrincipal : public ::testing::Test {
protected:
    DialogosPrueba dialogos;
    Main ventana{dialogos};
    QTemporaryDir carpeta;

    QString Ruta(const QString& nombre) const { return carpeta.filePath(nombre); }
    void Pulsa(const char* nombre) { ventana.findChild<QPushButton*>(QString::fromLatin1(nombre))->click(); }
    void Transforma(int indice) { ventana.findChild<QPushButton*>(QStringLiteral("Transform_%1").arg(indice))->click(); }
    void Escribe(int k, const QString& texto) { ventana.caja(k)->setPlainText(texto); }
    QString Caja(int k) const { return ventana.caja(k)->toPlainText(); }
    std::string Fichero(const QString& ruta) const { return LeeFichero(ruta.toStdString()); }

    // "Entrada por fichero" of a file, "< TRANSFORMAR >" of its format, "Salida por fichero".
    std::string PorLosBotones(const std::string& entrada, int formato) {
        dialogos.rutasAbrir.push_back(QString::fromStdString(entrada));
        Pulsa("Input");
        Transforma(formato - 1);
        dialogos.rutasGuardar.push_back(Ruta(QStringLiteral("salida.txt")));
        if (QFileInfo::exists(Ruta(QStringLiteral("salida.txt")))) dialogos.respuestas.push_back(true);
        Pulsa("Output");
        return Fichero(Ruta(QStringLiteral("salida.txt")));
    }
};

TEST_F(VentanaPrincipal, CadaFormatoPorLosBotones) {
    struct Caso {
        const char* nombre;
        int formato;
    } casos[] = {{"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"5", 5}, {"6", 6}, {"3-lf", 3}};
    for (const Caso& c : casos) {
        const std::string salida = PorLosBotones(RutaDatos(std::string("entrada-") + c.nombre + ".txt"), c.formato);
        EXPECT_EQ(salida, LeeFichero(RutaDatos(std::string("salida-") + c.nombre + ".txt"))) << c.nombre;
        for (int k = 0; k < 18; ++k)
            EXPECT_EQ(Caja(k).count(QLatin1Char('\n')) + 1, ventana.datos().NumPuntos) << c.nombre << " caja " << k;
    }
    EXPECT_TRUE(dialogos.mensajes.empty());
}

TEST_F(VentanaPrincipal, LasCajasDeEntradaMuestranLoLeido) {
    Escribe(0, QStringLiteral("500000.12345\n440000"));
    Escribe(1, QStringLiteral("4500000\n4474000"));
    Escribe(2, QStringLiteral(" 100 \n1e2"));
    Transforma(0);
    EXPECT_EQ(Caja(0), QStringLiteral("  500000.123\n  440000.000"));
    EXPECT_EQ(Caja(2), QStringLiteral("   100.000\n   100.000"));
    for (int k = 3; k < 18; ++k) EXPECT_EQ(Caja(k).count(QLatin1Char('\n')), 1) << k;

    Escribe(6, QStringLiteral("40"));
    Escribe(7, QStringLiteral("-3"));
    Escribe(8, QStringLiteral("0"));
    Transforma(2);
    EXPECT_EQ(Caja(0), QStringLiteral("  500000.000"));
    EXPECT_LT(Caja(3).toDouble(), 500000);
    EXPECT_EQ(Caja(2), QStringLiteral("     0.000"));
    EXPECT_EQ(Caja(5), QStringLiteral("     0.000"));
    EXPECT_EQ(ventana.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(VentanaPrincipal, FallosDeLaTransformacionNoCambianNada) {
    Escribe(6, QStringLiteral("40"));
    Escribe(7, QStringLiteral("-3"));
    Escribe(8, QStringLiteral("0"));
    Transforma(2);
    const ConjuntoDatos antes = ventana.datos();
    struct Caso {
        const char* nombre;
        int indice;
        QString a, b, c;
        std::string mensaje;
    } casos[] = {
        {"mensaje A", 0, QStringLiteral("1\n2"), QStringLiteral("1"), QStringLiteral("1\n2"), MensajeDistintoNumero},
        {"mensaje B", 1, QStringLiteral("1\n2"), QStringLiteral("1\n2,5"), QStringLiteral("1\n2"), MensajeNoNumerico},
        {"eje polar", 3, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("6356911"), "Error aritm"},
        {"cerca del polo", 0, QStringLiteral("600000"), QStringLiteral("9999000"), QStringLiteral("0"), "Error aritm"},
        {"1e308 desborda", 2, QStringLiteral("1e308"), QStringLiteral("-3"), QStringLiteral("0"), "Error aritm"},
        {"latitud 1e301: se transforma pero no cabe en su columna", 2, QStringLiteral("1e301"), QStringLiteral("0"),
         QStringLiteral("0"), "Error aritm"},
        {"1e400", 2, QStringLiteral("1e400"), QStringLiteral("-3"), QStringLiteral("0"), MensajeNoNumerico},
        {"1.2.3", 2, QStringLiteral("1.2.3"), QStringLiteral("-3"), QStringLiteral("0"), MensajeNoNumerico},
        {"cifra de ancho completo", 2, QStringLiteral("\uff11"), QStringLiteral("-3"), QStringLiteral("0"), MensajeNoNumerico},
        {"cifra arábigo-índica", 2, QStringLiteral("\u0663"), QStringLiteral("-3"), QStringLiteral("0"), MensajeNoNumerico},
    };
    for (const Caso& c : casos) {
        const int b = 3 * c.indice;
        Escribe(b, c.a);
        Escribe(b + 1, c.b);
        Escribe(b + 2, c.c);
        const int pitidos = dialogos.pitidos;
        Transforma(c.indice);
        EXPECT_EQ(dialogos.pitidos, pitidos + 1) << c.nombre;
        ASSERT_FALSE(dialogos.mensajes.empty());
        EXPECT_TRUE(dialogos.ultimoMensaje().toStdString().find(c.mensaje) != std::string::npos) << c.nombre;
        EXPECT_EQ(dialogos.mensajes.back().icono, Icono::Informacion) << c.nombre;
        EXPECT_EQ(dialogos.mensajes.back().cursor, Qt::BusyCursor) << c.nombre;
        EXPECT_EQ(ventana.cursor().shape(), Qt::ArrowCursor) << c.nombre;
        EXPECT_EQ(Caja(b), c.a) << c.nombre;
        EXPECT_EQ(ventana.datos().NumPuntos, antes.NumPuntos) << c.nombre;
        EXPECT_EQ(ventana.datos().Columnas, antes.Columnas) << c.nombre;
    }
    for (const char* raro : {"1e-400", "-0", "+.5"}) { // odd, but numbers
        Escribe(6, QString::fromLatin1(raro));
        Transforma(2);
        EXPECT_EQ(ventana.datos().NumPuntos, 1) << raro;
        EXPECT_EQ(dialogos.mensajes.size(), std::size(casos)) << raro;
    }
}

TEST_F(VentanaPrincipal, BorrarSoloVaciaLasCajas) {
    Pulsa("Erase");
    for (int k = 0; k < 18; ++k) EXPECT_TRUE(Caja(k).isEmpty());
    EXPECT_TRUE(dialogos.mensajes.empty());
    const std::string salida = PorLosBotones(RutaDatos("entrada-4.txt"), 4);
    Pulsa("Erase");
    for (int k = 0; k < 18; ++k) EXPECT_TRUE(Caja(k).isEmpty());
    dialogos.rutasGuardar.push_back(Ruta(QStringLiteral("otra.txt")));
    Pulsa("Output");
    EXPECT_EQ(Fichero(Ruta(QStringLiteral("otra.txt"))), salida);
}

TEST_F(VentanaPrincipal, EntradaPorFichero) {
    EscribeFichero(Ruta(QStringLiteral("huso31.txt")).toStdString(), "2\r\n300000,4200000,10\r\n1,2,3\r\n4,5,-6");
    EscribeFichero(Ruta(QStringLiteral("id.txt")).toStdString(), "7\r\n1,2,3");
    EscribeFichero(Ruta(QStringLiteral("latin1.txt")).toStdString(), "a\xf1o\r\n1,2,3");
    EscribeFichero(Ruta(QStringLiteral("malo.txt")).toStdString(), "2\r\n1,2,3\r\n\r\n");
    EscribeFichero(Ruta(QStringLiteral("enorme.txt")).toStdString(), "3\r\n1e305,0,0");
    Escribe(0, QStringLiteral("algo"));
    dialogos.rutasAbrir.push_back(Ruta(QStringLiteral("huso31.txt")));
    Pulsa("Input");
    EXPECT_EQ(Caja(3), QStringLiteral("  300000.000\n       1.000\n       4.000"));
    EXPECT_EQ(Caja(5), QStringLiteral("    10.000\n     3.000\n    -6.000"));
    for (int k : {0, 1, 2, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}) EXPECT_TRUE(Caja(k).isEmpty()) << k;
    EXPECT_EQ(ventana.datos().NumPuntos, 3);
    EXPECT_EQ(ventana.FormatoEntrada(), 2);
    EXPECT_EQ(ventana.rutas().NombreAbrir, Ruta(QStringLiteral("huso31.txt")));
    const ConjuntoDatos antes = ventana.datos();

    struct Caso {
        const char* nombre;
        std::optional<QString> ruta;
        QString mensaje; // empty: nothing shown
    } casos[] = {
        {"identificador 7", Ruta(QStringLiteral("id.txt")), QStringLiteral(" El indicador de tipo de datos 7 no es reconocido ")},
        {"identificador en Latin-1", Ruta(QStringLiteral("latin1.txt")),
         QStringLiteral(" El indicador de tipo de datos a\u00f1o no es reconocido ")},
        {"línea en blanco al final", Ruta(QStringLiteral("malo.txt")), QString::fromStdString(MensajeErrorAbrir)},
        {"no existe", Ruta(QStringLiteral("nada.txt")), QString::fromStdString(MensajeErrorAbrir)},
        {"valor que no cabe en su columna", Ruta(QStringLiteral("enorme.txt")), QString::fromStdString(MensajeErrorAbrir)},
        {"es una carpeta", carpeta.path(), QString::fromStdString(MensajeErrorAbrir)},
        {"cancelado", std::nullopt, QString()},
    };
    for (const Caso& c : casos) {
        dialogos.mensajes.clear();
        dialogos.rutasAbrir.push_back(c.ruta);
        Pulsa("Input");
        EXPECT_EQ(dialogos.ultimoMensaje(), c.mensaje) << c.nombre;
        if (!c.mensaje.isEmpty()) {
            EXPECT_EQ(dialogos.mensajes.back().icono, Icono::Ninguno) << c.nombre;
        }
        EXPECT_EQ(Caja(3).count(QLatin1Char('\n')), 2) << c.nombre;
        EXPECT_EQ(ventana.datos().NumPuntos, 3) << c.nombre;
        EXPECT_EQ(ventana.datos().Columnas, antes.Columnas) << c.nombre;
    }
    EXPECT_EQ(dialogos.pitidos, 0);
}

TEST_F(VentanaPrincipal, SalidaPorFichero) {
    const QString destino = Ruta(QStringLiteral("s.txt"));
    dialogos.rutasGuardar.push_back(destino);
    Pulsa("Output");
    EXPECT_TRUE(QFileInfo::exists(destino));
    EXPECT_EQ(Fichero(destino), "");

    Escribe(6, QStringLiteral("40\n41"));
    Escribe(7, QStringLiteral("-3\n-3"));
    Escribe(8, QStringLiteral("0\n0"));
    Transforma(2);
    dialogos.rutasGuardar.push_back(destino);
    dialogos.respuestas.push_back(true);
    Pulsa("Output");
    const std::string dos = Fichero(destino);
    EXPECT_EQ(dos.size(), 452u);
    EXPECT_EQ(dos.substr(225, 2), "\r\n");
    EXPECT_EQ(dialogos.preguntas.back(), QStringLiteral(" \u00a1El Fichero ya existe! \r\n \u00bfDesea sobreescribirlo? \r\n ") + destino); // the question names the file

    // No shows the dialog again; cancelling it leaves the file as it was
    EscribeFichero(destino.toStdString(), "anterior");
    dialogos.rutasGuardar.push_back(destino);
    dialogos.respuestas.push_back(false);
    dialogos.rutasGuardar.push_back(std::nullopt);
    Pulsa("Output");
    EXPECT_EQ(Fichero(destino), "anterior");
    EXPECT_EQ(ventana.rutas().NombreGuardar, destino);

    // a failed write leaves no partial file and the previous one intact
    dialogos.rutasGuardar.push_back(Ruta(QStringLiteral("no/existe.txt")));
    Pulsa("Output");
    EXPECT_EQ(dialogos.ultimoMensaje().toStdString(), MensajeErrorGuardar);
    dialogos.rutasGuardar.push_back(carpeta.path());
    dialogos.respuestas.push_back(true);
    Pulsa("Output");
    EXPECT_EQ(dialogos.ultimoMensaje().toStdString(), MensajeErrorGuardar);
    EXPECT_EQ(dialogos.mensajes.back().icono, Icono::Ninguno);
    EXPECT_EQ(Fichero(destino), "anterior");
    EXPECT_EQ(QDir(carpeta.path()).entryList(QDir::Files).size(), 1);

    // a full disk (a file size limit in a child process): the save fails and says so, and the
    // previous file stays whole
    for (qint64 limite : {qint64(0), qint64(100), qint64(4096)}) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit r{static_cast<rlim_t>(limite), static_cast<rlim_t>(limite)};
            ::setrlimit(RLIMIT_FSIZE, &r);
            ::_exit(GuardaAtomico(destino, std::string(10000, 'x')) ? 1 : 0); // within one buffer
        }
        int estado = 0;
        ::waitpid(pid, &estado, 0);
        EXPECT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0) << limite;
        EXPECT_EQ(Fichero(destino), "anterior") << limite;
    }
}

} // namespace
