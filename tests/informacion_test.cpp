#include "dialogos_prueba.h"
#include "aplicacion/aplicacion.h"
#include "aplicacion/informacion.h"
#include "ventana_prueba.h"
#include "vectores.h"

#include <QAction>
#include <QScreen>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

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
    const ConjuntoDatos antes = v.datos();
    QStringList cajas;
    for (int k = 0; k < 18; ++k) cajas << v.caja(k)->toPlainText();
    for (int vez = 0; vez < 3; ++vez) {
        for (const char* boton : {"Help", "Command1"}) {
            v.findChild<QPushButton*>(QString::fromLatin1(boton))->click();
            QWidget* w = app.ultimaModal();
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
    QWidget* acerca = app.ultimaModal();
    ASSERT_NE(acerca, app.editor());
    acerca->findChild<QPushButton*>()->click();
    EXPECT_FALSE(acerca->isVisible());
    app.editor()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(v.datos().Columnas, antes.Columnas);
    for (int k = 0; k < 18; ++k) EXPECT_EQ(v.caja(k)->toPlainText(), cajas[k]);
    EXPECT_EQ(app.ultimaModal(), nullptr); // closed windows are gone
    // the editor's Load, which clears the shared paths, runs before the window's file dialog
    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath(QStringLiteral("f.txt"));
    EscribeFichero(ruta.toStdString(), "3\r\n40,-3,0");
    dialogos.rutasAbrir.push_back(ruta);
    v.findChild<QPushButton*>(QStringLiteral("Input"))->click();
    v.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    EXPECT_EQ(v.rutas().NombreAbrir, ruta);
    app.editor()->close();
}

} // namespace
