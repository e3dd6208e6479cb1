#include "dialogos_prueba.h"
#include "shell/aplicacion.h"
#include "shell/informacion.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QString Texto(QWidget* w, const char* etiqueta) {
    auto* l = w->findChild<QLabel*>(QString::fromLatin1(etiqueta));
    return l ? l->text() : QStringLiteral("<falta %1>").arg(QString::fromLatin1(etiqueta));
}

TEST(VentanasDeInformacion, TextosFijos) {
    Inicio inicio(60000);
    About about;
    Ayuda ayuda;
    EditorAcerca editorAcerca;
    struct Caso {
        QWidget* ventana;
        const char* etiqueta; // nullptr: the caption
        QString texto;
    } casos[] = {
        {&inicio, nullptr, QStringLiteral("Programa de transformaci\u00f3n de Orvalo")},
        {&inicio, "Label1", QStringLiteral("ORVALO")},
        {&inicio, "Label2", QStringLiteral("Transformaci\u00f3n de ED50 a WGS84 en los diversos formatos de coordenadas")},
        {&about, nullptr, QStringLiteral(" Acerca  de  Orvalo")},
        {&about, "Label1", QStringLiteral("ORVALO")},
        {&about, "Label2", QStringLiteral("Transformaci\u00f3n de ED50 a WGS84 en los diversos formatos de coordenadas")},
        {&ayuda, nullptr, QStringLiteral("Orvalo - Ayuda")},
        {&ayuda, "Label1", QStringLiteral("Programa para la transformaci\u00f3n de coordenadas entre ED50 y WGS84")},
        {&ayuda, "Label2", QStringLiteral("Introduzca las coordenadas en cualquiera de los formatos permitidos y pulse TRANSFORMAR para convertir al resto de formatos.")},
        {&ayuda, "Label3", QStringLiteral("Tenga cuidado de no introducir una l\u00ednea en blanco al final de alguna columna de coordenadas.")},
        {&ayuda, "Label4", QStringLiteral("Las coordenadas X, Y, Z, h se dar\u00e1n en metros. La latitud y longitud en formato pseudosexagesimal: g.mmssffff g: grados sexagesimales; mm: minutos sexag.; ss: segundos sexag.; ffff: fracciones de segundos sexag.")},
        {&ayuda, "Label5", QStringLiteral("ENTRADA POR FICHERO")},
        {&ayuda, "Label6", QStringLiteral("Se permite la entrada de datos mediante fichero ASCII que contenga:")},
        {&ayuda, "Label7", QStringLiteral("- En la primera fila: un identificador del 1 al 6 que indique el formato de los datos de entrada, seg\u00fan:\n1: UTM huso 30,\n2: UTM huso 31,\n3: Geogr\u00e1ficas en ED50,\n4: Cartesianas en ED50,\n5: Geogr\u00e1ficas en WGS84,\n6: Cartesianas en WGS84")},
        {&ayuda, "Label8", QStringLiteral("- En cada una de las siguientes filas: las coordenadas de cada punto SEPARADAS POR COMAS.")},
        {&ayuda, "Label9", QStringLiteral("SALIDA POR FICHERO")},
        {&ayuda, "Label10", QStringLiteral("Se permite la salida de los datos a un fichero ASCII, que se puede abrir en el EDITOR, que contiene:")},
        {&ayuda, "Label11", QStringLiteral("En cada fila las coordenadas de un punto separadas por COMAS en cada uno de los formatos anteriores, que quedan separados por PUNTO Y COMA.")},
        {&editorAcerca, nullptr, QStringLiteral("Acerca del Editor")},
        {&editorAcerca, "Label2", QStringLiteral("Editor de texto")},
        {&editorAcerca, "Label3", QStringLiteral("Versi\u00f3n 1.1")},
        {&editorAcerca, "Label5", QStringLiteral("   Abril de 2000")},
    };
    for (const Caso& c : casos) {
        const QString real = c.etiqueta ? Texto(c.ventana, c.etiqueta) : c.ventana->windowTitle();
        EXPECT_EQ(real, c.texto) << c.ventana->objectName().toStdString() << " " << (c.etiqueta ? c.etiqueta : "t\xc3\xadtulo");
    }
    EXPECT_TRUE(Texto(&about, "Label3").endsWith(QStringLiteral("marzo de 2001")));
    EXPECT_TRUE(Texto(&editorAcerca, "Label4").startsWith(QStringLiteral("Por: ")));
    EXPECT_FALSE(editorAcerca.findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().isNull());
    for (QWidget* w : {static_cast<QWidget*>(&about), static_cast<QWidget*>(&ayuda), static_cast<QWidget*>(&editorAcerca)})
        EXPECT_EQ(w->findChildren<QPushButton*>().value(0)->text(), QStringLiteral("Aceptar"));
}

TEST(Inicio, SoloElTemporizadorDaPasoALaVentanaPrincipal) {
    EXPECT_EQ(Inicio().Timer1->interval(), 5000);
    Inicio inicio(1000);
    QSignalSpy terminado(&inicio, &Inicio::terminado);
    inicio.show();
    inicio.close(); // cannot be skipped
    EXPECT_TRUE(inicio.isVisible());
    EXPECT_EQ(terminado.count(), 0);
    EXPECT_TRUE(terminado.wait(10000));
    EXPECT_FALSE(inicio.isVisible());
}

TEST(Aplicacion, AyudaYAcercaDeNoTocanLosDatos) {
    DialogosPrueba dialogos;
    Aplicacion app(dialogos);
    Main& v = app.ventana();
    v.caja(6)->setPlainText(QStringLiteral("40\n41"));
    v.caja(7)->setPlainText(QStringLiteral("-3\n-3"));
    v.caja(8)->setPlainText(QStringLiteral("0\n0"));
    v.findChild<QPushButton*>(QStringLiteral("Transform_2"))->click();
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
            w->findChild<QPushButton*>()->click();
            EXPECT_FALSE(w->isVisible());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    EXPECT_EQ(v.datos().Columnas, antes.Columnas);
    for (int k = 0; k < 18; ++k) EXPECT_EQ(v.caja(k)->toPlainText(), cajas[k]);
    EXPECT_EQ(app.ultimaModal(), nullptr); // closed windows are gone
}

} // namespace
