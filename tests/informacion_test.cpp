#include "dialogos_prueba.h"
#include "aplicacion/aplicacion.h"
#include "aplicacion/informacion.h"
#include "transformacion/entrada.h"
#include "vectores.h"
#include "ventana_prueba.h"

#include <QAction>
#include <QLabel>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QScreen>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The top-level window of that object name, as a person finds it on the screen; null if none.
QWidget* Ventana(const QString& nombre) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == nombre) return w;
    return nullptr;
}

TEST(Inicio, SoloElTemporizadorDaPasoALaVentanaPrincipal) {
    Inicio inicio(1000);
    QSignalSpy terminado(&inicio, &Inicio::terminado);
    inicio.show();
    inicio.close(); // cannot be skipped
    EXPECT_TRUE(inicio.isVisible());
    EXPECT_EQ(terminado.count(), 0);
    EXPECT_TRUE(terminado.wait(10000));
    EXPECT_FALSE(inicio.isVisible());
    QTest::qWait(1500);
    EXPECT_EQ(terminado.count(), 1); // once
}

TEST(Aplicacion, CadaVentanaAbreYCierraSinTocarLosDatos) {
    DialogosPrueba dialogos;
    Aplicacion app(dialogos);
    Main& v = app.ventana();
    CuarentaPuntos(v);
    const QStringList antes = Cajas(v);
    for (int vez = 0; vez < 3; ++vez) {
        for (auto [boton, ventana] : {std::pair{"Help", "Ayuda"}, std::pair{"Command1", "About"}}) {
            v.findChild<QPushButton*>(QString::fromLatin1(boton))->click();
            QWidget* w = Ventana(QString::fromLatin1(ventana));
            ASSERT_NE(w, nullptr);
            EXPECT_TRUE(w->isVisible());
            EXPECT_EQ(w->windowModality(), Qt::ApplicationModal);
            // centred over the main window, and on the screen
            EXPECT_LE((w->frameGeometry().center() - v.frameGeometry().center()).manhattanLength(), 4) << boton;
            EXPECT_TRUE(w->screen()->availableGeometry().contains(w->frameGeometry())) << boton;
            w->findChild<QPushButton*>()->click();
            EXPECT_FALSE(w->isVisible());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    // the editor's About window opens and closes the same way
    v.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    app.editor()->findChild<QAction*>(QStringLiteral("AyudaAcercaDe"))->trigger();
    QWidget* acerca = Ventana(QStringLiteral("EditorAcerca"));
    ASSERT_NE(acerca, nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), acerca);
    acerca->findChild<QPushButton*>()->click();
    EXPECT_FALSE(acerca->isVisible());
    app.editor()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Cajas(v), antes);
    for (const char* nombre : {"Ayuda", "About", "EditorAcerca"}) // closed windows are gone
        EXPECT_EQ(Ventana(QString::fromLatin1(nombre)), nullptr) << nombre;
}

// orvalo FICHERO: the file read as "Entrada por fichero" reads it, with no dialog shown (the
// dialogs have no path queued: one asked for fails the test).
TEST(Aplicacion, ElFicheroDeLaLineaDeOrdenesSeLeeComoEntradaPorFichero) {
    QTemporaryDir carpeta;
    const QString bueno = carpeta.filePath(QStringLiteral("huso31.txt"));
    EscribeFichero(bueno.toStdString(), "2\r\n500000,4400000,10\r\n500001,4400001,11");
    for (const QString& ruta : {bueno, carpeta.filePath(QStringLiteral("nada.txt"))}) {
        DialogosPrueba dialogos;
        Aplicacion app(dialogos);
        Main& v = app.ventana();
        app.cargaFichero(ruta);
        const bool leido = ruta == bueno; // read, nothing shown
        EXPECT_EQ(dialogos.ultimoMensaje(), leido ? QString() : QString::fromStdString(MensajeErrorAbrirFichero) + QStringLiteral("\r\n El fichero no existe."));
        EXPECT_EQ(Caja(v, 3)->toPlainText(), leido ? QStringLiteral("  500000.000\n  500001.000") : QString());
        EXPECT_EQ(v.rutas().NombreAbrir, ruta); // as if the dialog had chosen it
        // the next "Entrada por fichero" shows its dialog again
        dialogos.rutasAbrir.push_back(std::nullopt);
        v.findChild<QPushButton*>(QStringLiteral("Input"))->click();
        EXPECT_TRUE(dialogos.rutasAbrir.empty());
    }
}

// The credit of the grids keeps its licence's name whole on one line, whatever the width.
TEST(About, LaLicenciaNoSeParte) {
    About acerca;
    const auto* credito = acerca.findChild<QLabel*>(QStringLiteral("CreditoIgn"));
    ASSERT_NE(credito, nullptr);
    QTextDocument doc;
    doc.setDefaultFont(credito->font());
    doc.setPlainText(credito->text());
    // any hyphen and space: what matters is where the lines break
    const qsizetype inicio = doc.toRawText().indexOf(QRegularExpression(QStringLiteral("CC.BY.4\\.0")));
    ASSERT_GE(inicio, 0);
    for (int ancho = 100; ancho <= 700; ancho += 10) {
        doc.setTextWidth(ancho);
        doc.size(); // laid out
        const QTextBlock bloque = doc.findBlock(static_cast<int>(inicio));
        const QTextLayout* l = bloque.layout();
        const int primera = static_cast<int>(inicio) - bloque.position();
        EXPECT_EQ(l->lineForTextPosition(primera).lineNumber(), l->lineForTextPosition(primera + 8).lineNumber()) << ancho;
    }
}

} // namespace
