#include "dialogos_prueba.h"
#include "transformacion/entrada.h"
#include "transformacion/salida.h"
#include "vectores.h"
#include "ventana/main.h"
#include "ventana_prueba.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QSettings>
#include <QStandardItemModel>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class VentanaPrincipal : public ::testing::Test {
protected:
    DialogosPrueba dialogos;
    Main ventana{dialogos};
    QTemporaryDir carpeta;

    QString Ruta(const QString& nombre) const { return carpeta.filePath(nombre); }
    void Pulsa(const char* nombre) { ventana.findChild<QPushButton*>(QString::fromLatin1(nombre))->click(); }
    void Transforma(int indice) { ::Transforma(ventana, indice); }
    void Escribe(int k, const QString& texto) { ventana.caja(k)->setPlainText(texto); }
    void Entra(int indice, const QString& a, const QString& b, const QString& c) { ::Entra(ventana, indice, a, b, c); }
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
    Entra(0, QStringLiteral("500000.12345\n440000"), QStringLiteral("4500000\n4474000"), QStringLiteral(" 100 \n1e2"));
    Transforma(0);
    EXPECT_EQ(Caja(0), QStringLiteral("  500000.123\n  440000.000"));
    EXPECT_EQ(Caja(2), QStringLiteral("   100.000\n   100.000"));
    for (int k = 3; k < 18; ++k) EXPECT_EQ(Caja(k).count(QLatin1Char('\n')), 1) << k;

    Entra(2, QStringLiteral("40"), QStringLiteral("-3"), QStringLiteral("0"));
    Transforma(2);
    EXPECT_EQ(Caja(0), QStringLiteral("  500000.000"));
    EXPECT_LT(Caja(3).toDouble(), 500000);
    EXPECT_EQ(Caja(2), QStringLiteral("     0.000"));
    EXPECT_EQ(Caja(5), QStringLiteral("     0.000"));
    EXPECT_EQ(ventana.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(VentanaPrincipal, FallosDeLaTransformacionNoCambianNada) {
    Entra(2, QStringLiteral("40"), QStringLiteral("-3"), QStringLiteral("0"));
    Transforma(2);
    const ConjuntoDatos antes = ventana.datos();
    struct Caso {
        const char* nombre;
        int indice;
        QString a, b, c;
        std::string mensaje;
    } casos[] = {
        {"mensaje A, sin cambios", 0, QStringLiteral("1\n2"), QStringLiteral("1"), QStringLiteral("1\n2"), MensajeDistintoNumero},
        {"mensaje B nombra la línea y la columna", 1, QStringLiteral("1\n2"), QStringLiteral("1\n2,5"), QStringLiteral("1\n2"),
         MensajeNoNumerico + "\r\n L\xc3\xadnea 2 de la columna Y."},
        {"línea 1 de la columna h", 0, QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("h"),
         MensajeNoNumerico + "\r\n L\xc3\xadnea 1 de la columna h."},
        {"el punto 2 sobre el eje polar", 3, QStringLiteral("6378388\n0"), QStringLiteral("0\n0"), QStringLiteral("0\n6356911"),
         " \xc2\xa1" "Error aritm\xc3\xa9tico en la transformaci\xc3\xb3n! \r\n Punto 2 (entrado en Cartesianas geoc\xc3\xa9ntricas "
         "ED50): punto sobre el eje polar: divisi\xc3\xb3n por cero.\r\n No se ha modificado ning\xc3\xban dato."},
        {"latitud 1e301: se transforma pero no cabe en su columna", 2, QStringLiteral("1e301"), QStringLiteral("0"),
         QStringLiteral("0"), "Error aritm"},
    };
    for (const Caso& c : casos) {
        const int b = 3 * c.indice;
        Entra(c.indice, c.a, c.b, c.c);
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

}

TEST_F(VentanaPrincipal, BorrarSoloVaciaLasCajas) {
    const std::string salida = PorLosBotones(RutaDatos("entrada-4.txt"), 4);
    Pulsa("Erase");
    for (int k = 0; k < 18; ++k) EXPECT_TRUE(Caja(k).isEmpty());
    dialogos.rutasGuardar.push_back(Ruta(QStringLiteral("otra.txt")));
    Pulsa("Output");
    EXPECT_EQ(Fichero(Ruta(QStringLiteral("otra.txt"))), salida);
}

TEST_F(VentanaPrincipal, EntradaPorFichero) {
    EscribeFichero(Ruta(QStringLiteral("huso31.txt")).toStdString(), "2\r300000,4200000,10\r1,2,3\r4,5,-6"); // lone CR line ends
    Escribe(0, QStringLiteral("algo"));
    dialogos.rutasAbrir.push_back(Ruta(QStringLiteral("huso31.txt")));
    Pulsa("Input");
    EXPECT_EQ(Caja(3), QStringLiteral("  300000.000\n       1.000\n       4.000"));
    EXPECT_EQ(Caja(5), QStringLiteral("    10.000\n     3.000\n    -6.000"));
    for (int k : {0, 1, 2, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}) EXPECT_TRUE(Caja(k).isEmpty()) << k;
    EXPECT_EQ(ventana.datos().NumPuntos, 3);
    EXPECT_EQ(ventana.FormatoEntrada(), 2);
    EXPECT_EQ(ventana.formatoMarcado(), 2);
    EXPECT_TRUE(ventana.estado().startsWith(QStringLiteral("3 puntos desde UTM huso 31"))) << ventana.estado().toStdString();
    EXPECT_EQ(ventana.rutas().NombreAbrir, Ruta(QStringLiteral("huso31.txt")));
    const ConjuntoDatos antes = ventana.datos();

    const QString general = QString::fromStdString(MensajeErrorAbrir);
    struct Caso {
        const char* nombre;
        std::optional<std::string> contenido; // of f.txt; nothing: the path below as it is
        std::optional<QString> ruta;          // nothing: the dialog cancelled
        QString mensaje;                      // empty: nothing shown
    } casos[] = {
        {"identificador 7, citado con su blanco", "7 \r\n1,2,3", {}, QStringLiteral(" El indicador de tipo de datos 7  no es reconocido ")},
        {"identificador en Latin-1", "a\xf1o\r\n1,2,3", {}, QStringLiteral(" El indicador de tipo de datos a\u00f1o no es reconocido ")},
        {"línea en blanco al final", "2\r\n1,2,3\r\n\r\n", {}, general + QStringLiteral("\r\n L\u00ednea 3, l\u00ednea en blanco.")},
        {"comas decimales", "1\r\n440263,927,4475248,878,667,500", {}, general + QStringLiteral("\r\n L\u00ednea 2, se esperaban "
         "tres valores y hay 6 campos; \u00bfcomas decimales? Separe los valores con \u00ab;\u00bb.")},
        {"campo no numérico", "3\r\n40,-3,0\r\n40,-3x3,0", {},
         general + QStringLiteral("\r\n L\u00ednea 3, campo 2: \u00ab-3x3\u00bb no es un n\u00famero.")},
        {"texto en Latin-1 citado en el mensaje", "3\r\n40,Estaci\xf3n,0", {},
         general + QStringLiteral("\r\n L\u00ednea 2, campo 2: \u00abEstaci\u00f3n\u00bb no es un n\u00famero.")},
        {"valor que no cabe en su columna", "3\r\n1e305,0,0", {}, general},
        // a file that cannot be read says why, not that it holds a non-numeric value
        {"no existe", std::nullopt, Ruta(QStringLiteral("nada.txt")),
         QStringLiteral(" \u00a1Se ha producido un error al abrir el archivo! \r\n El fichero no existe.")},
        {"es una carpeta", std::nullopt, carpeta.path(),
         QStringLiteral(" \u00a1Se ha producido un error al abrir el archivo! \r\n Es una carpeta.")},
        {"cancelado", std::nullopt, std::nullopt, QString()},
    };
    for (const Caso& c : casos) {
        if (c.contenido) EscribeFichero(Ruta(QStringLiteral("f.txt")).toStdString(), *c.contenido);
        dialogos.mensajes.clear();
        dialogos.rutasAbrir.push_back(c.contenido ? Ruta(QStringLiteral("f.txt")) : c.ruta);
        Pulsa("Input");
        EXPECT_EQ(dialogos.ultimoMensaje(), c.mensaje) << c.nombre;
        if (!c.mensaje.isEmpty()) { EXPECT_EQ(dialogos.mensajes.back().icono, Icono::Ninguno) << c.nombre; }
        EXPECT_EQ(Caja(3).count(QLatin1Char('\n')), 2) << c.nombre;
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

    Entra(2, QStringLiteral("40\n41"), QStringLiteral("-3\n-3"), QStringLiteral("0\n0"));
    Transforma(2);
    dialogos.rutasGuardar.push_back(destino);
    dialogos.respuestas.push_back(true);
    Pulsa("Output");
    EXPECT_EQ(Fichero(destino).size(), 452u); // two lines of 225 bytes and a CR LF between them
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
    EXPECT_EQ(dialogos.ultimoMensaje().toStdString(), MensajeErrorGuardar + "\r\n La carpeta no existe.");
    dialogos.rutasGuardar.push_back(carpeta.path());
    dialogos.respuestas.push_back(true);
    Pulsa("Output");
    EXPECT_EQ(dialogos.ultimoMensaje().toStdString(), MensajeErrorGuardar + "\r\n Es una carpeta.");
    EXPECT_EQ(dialogos.mensajes.back().icono, Icono::Ninguno);
    EXPECT_EQ(Fichero(destino), "anterior");
    EXPECT_EQ(QDir(carpeta.path()).entryList(QDir::Files).size(), 1);
}

} // namespace

namespace {

TEST_F(VentanaPrincipal, CabeEnUnaPantallaDe1024x768) {
    ventana.show();
    EXPECT_LE(ventana.width(), 1000);
    EXPECT_LE(ventana.height(), 700);
    EXPECT_LE(ventana.minimumSizeHint().width(), 1000);
    EXPECT_LE(ventana.minimumSizeHint().height(), 700);
    ventana.resize(1000, 700);
    QCoreApplication::processEvents();
    Escribe(9, QStringLiteral("-4412345.678"));
    Escribe(13, QStringLiteral(" -180.00000000"));
    for (int k : {9, 13}) {
        const QPlainTextEdit* c = ventana.caja(k);
        const int texto = c->fontMetrics().horizontalAdvance(Caja(k));
        EXPECT_LE(texto, c->viewport()->width() - 2 * static_cast<int>(c->document()->documentMargin())) << k;
        EXPECT_FALSE(c->horizontalScrollBar()->isVisible()) << k;
    }
    ventana.resize(1600, 1000);
    QCoreApplication::processEvents();
    EXPECT_GT(ventana.caja(0)->height(), 100); // the boxes take the room
}

TEST_F(VentanaPrincipal, LaLineaKDeCadaCajaEsElPuntoK) {
    ventana.show();
    CuarentaPuntos(ventana);
    EXPECT_EQ(ventana.formatoMarcado(), 3);
    for (int f = 1; f <= 6; ++f) // the entry format's title in bold, no other
        EXPECT_EQ(ventana.findChild<QGroupBox*>(QStringLiteral("Frame2_%1").arg(f))->font().bold(), f == 3) << f;
    // one scroll position for the eighteen boxes, whichever box or bar moves
    ventana.desplazamiento()->setValue(20);
    for (int k = 0; k < 18; ++k) EXPECT_EQ(ventana.caja(k)->verticalScrollBar()->value(), 20) << k;
    ventana.caja(16)->verticalScrollBar()->setValue(5);
    for (int k = 0; k < 18; ++k) EXPECT_EQ(ventana.caja(k)->verticalScrollBar()->value(), 5) << k;
    EXPECT_EQ(ventana.desplazamiento()->value(), 5);
    // the point under the cursor is highlighted in all of them
    QTextCursor c(ventana.caja(1)->document()->findBlockByNumber(24));
    ventana.caja(1)->setTextCursor(c);
    EXPECT_EQ(ventana.puntoResaltado(), 24);
    for (int k = 0; k < 18; ++k) {
        ASSERT_EQ(ventana.caja(k)->extraSelections().size(), 1) << k;
        EXPECT_EQ(ventana.caja(k)->extraSelections()[0].cursor.blockNumber(), 24) << k;
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(ventana.caja(17)->verticalScrollBar()->value(), ventana.caja(1)->verticalScrollBar()->value());
    Escribe(0, QString());
    ventana.caja(1)->setTextCursor(QTextCursor(ventana.caja(1)->document()->findBlockByNumber(0)));
    EXPECT_TRUE(ventana.caja(0)->extraSelections().isEmpty()); // an empty box shows no bar
    // a point moved to just below the view of the shortest box is brought into its view
    CuarentaPuntos(ventana);
    ventana.desplazamiento()->setValue(0);
    QPlainTextEdit* alta = ventana.caja(0);
    QPlainTextEdit* corta = ventana.caja(0);
    for (int k = 0; k < 18; ++k) {
        if (ventana.caja(k)->viewport()->height() > alta->viewport()->height()) alta = ventana.caja(k);
        if (ventana.caja(k)->viewport()->height() < corta->viewport()->height()) corta = ventana.caja(k);
    }
    for (int linea = 0; linea < 40; ++linea) {
        alta->setTextCursor(QTextCursor(alta->document()->findBlockByNumber(linea)));
        const QRect r = corta->cursorRect(QTextCursor(corta->document()->findBlockByNumber(linea)));
        EXPECT_LE(r.bottom(), corta->viewport()->height()) << linea;
        EXPECT_GE(r.top(), 0) << linea;
    }
}

TEST_F(VentanaPrincipal, PegarYCopiarComoUnaHojaDeCalculo) {
    // a Spanish spreadsheet's block: three tab-separated values a row, decimal commas
    QMimeData bloque;
    bloque.setText(QStringLiteral("440263,927\t4475248,878\t667,5\r\n440000\t4474000\t100\r\n"));
    ventana.caja(1)->insertFromMimeData(&bloque);
    EXPECT_EQ(Caja(0), QStringLiteral("440263.927\n440000"));
    EXPECT_EQ(Caja(1), QStringLiteral("4475248.878\n4474000"));
    EXPECT_EQ(Caja(2), QStringLiteral("667.5\n100"));
    Transforma(0);
    EXPECT_TRUE(dialogos.mensajes.empty());
    EXPECT_EQ(ventana.datos().NumPuntos, 2);
    // one column ending with a line end (LF or CR LF) leaves no empty last line; a row of four
    // values is no table: it is pasted as it is
    struct Pegado {
        QString texto, caja;
    } pegados[] = {{QStringLiteral("1\n2\n"), QStringLiteral("1\n2")},
                   {QStringLiteral("1\r\n2\r\n"), QStringLiteral("1\n2")},
                   {QStringLiteral("1\t2\t3\t4"), QStringLiteral("1\t2\t3\t4")}};
    for (const Pegado& p : pegados) {
        QMimeData columna;
        columna.setText(p.texto);
        Escribe(3, QString());
        ventana.caja(3)->insertFromMimeData(&columna);
        EXPECT_EQ(Caja(3), p.caja) << p.texto.toStdString();
    }
    // "Copiar tabla": a header row and one row a point, tab-separated
    Transforma(2);
    QMenu* menu = ventana.caja(5)->menuContextual();
    menu->findChild<QAction*>(QStringLiteral("CopiarTabla"))->trigger();
    delete menu;
    const QStringList filas = QApplication::clipboard()->text().split(QLatin1Char('\n'));
    ASSERT_EQ(filas.size(), 4); // header, two points, the final line end
    EXPECT_EQ(filas[0].split(QLatin1Char('\t')).size(), 18);
    EXPECT_TRUE(filas[0].startsWith(QStringLiteral("UTM huso 30 X\tUTM huso 30 Y\tUTM huso 30 h\tUTM huso 31 X")));
    EXPECT_EQ(filas[1].split(QLatin1Char('\t')).value(0), QStringLiteral("440263.927"));
}

TEST_F(VentanaPrincipal, IntroPulsaElBotonConElFoco) {
    ventana.show();
    QApplication::setActiveWindow(&ventana);
    Entra(2, QStringLiteral("40"), QStringLiteral("-3"), QStringLiteral("0"));
    auto* boton = ventana.findChild<QPushButton*>(QStringLiteral("Transform_2"));
    boton->setFocus();
    QTest::keyClick(boton, Qt::Key_Return);
    EXPECT_EQ(ventana.datos().NumPuntos, 1);
    EXPECT_FALSE(Caja(0).isEmpty());
}

} // namespace

namespace {

// The method of formats 5 and 6: seven parameters (WGS84) or the IGN's grid (ETRS89).
TEST(Metodo, ElegidoVisibleYRecordado) {
    QSettings().remove(QStringLiteral("metodo"));
    DialogosPrueba dialogos;
    auto geodesicas = [](Main& v, const char* lat, const char* lon, const char* h) {
        Entra(v, 2, QString::fromLatin1(lat), QString::fromLatin1(lon), QString::fromLatin1(h));
        Transforma(v, 2);
    };
    {
        Main v(dialogos);
        EXPECT_EQ(v.metodo(), Main::Metodo::SieteParametros);
        EXPECT_EQ(v.eleccionMetodo()->currentText(), QStringLiteral("WGS84 \u2014 7 par\u00e1metros"));
        // Madrid (ED50, H = 100 m): the status says how far the seven parameters lie
        geodesicas(v, "40.250048", "-3.421368", "100");
        const QString siete = v.caja(12)->toPlainText();
        EXPECT_TRUE(v.estado().startsWith(QStringLiteral("1 punto desde Geod\u00e9sicas ED50. Diferencia con la rejilla oficial del IGN: hasta ")))
            << v.estado().toStdString();
        EXPECT_TRUE(v.estado().endsWith(QStringLiteral(" m (punto 1)"))) << v.estado().toStdString();
        // choosing the grid runs the transformation again: ETRS89, h = H + N
        v.eleccionMetodo()->setCurrentIndex(1);
        EXPECT_EQ(v.metodo(), Main::Metodo::RejillaOficial);
        EXPECT_EQ(v.caja(12)->toPlainText(), QStringLiteral(" 40.24562273"));
        EXPECT_EQ(v.caja(14)->toPlainText(), QStringLiteral("   151.112"));
        EXPECT_EQ(v.caja(6)->toPlainText(), QStringLiteral(" 40.25004800"));
        EXPECT_NE(v.caja(12)->toPlainText(), siete);
        // a point outside the grid: refused, named, nothing changes
        const ConjuntoDatos antes = v.datos();
        geodesicas(v, "40.25\n28.06", "-3.42\n-15.25", "0\n0");
        EXPECT_TRUE(dialogos.ultimoMensaje().contains(QStringLiteral("Punto 2 (entrado en Geod\u00e9sicas ED50)")))
            << dialogos.ultimoMensaje().toStdString();
        EXPECT_EQ(v.datos().Columnas, antes.Columnas);
        // Paris, outside the grid, before a point on the polar axis: the fault is named
        Entra(v, 3, QStringLiteral("4201673\n0"), QStringLiteral("172429\n0"), QStringLiteral("4779689\n6356911"));
        Transforma(v, 3);
        EXPECT_TRUE(dialogos.ultimoMensaje().contains(QStringLiteral("Punto 2 (entrado en Cartesianas geoc\u00e9ntricas ED50)")))
            << dialogos.ultimoMensaje().toStdString();
        EXPECT_EQ(v.datos().Columnas, antes.Columnas);
    }
    {
        Main v(dialogos); // the next run starts with the method chosen last
        EXPECT_EQ(v.metodo(), Main::Metodo::RejillaOficial);
        EXPECT_EQ(v.eleccionMetodo()->currentIndex(), 1);
    }
    // without the grids the official choice is disabled and names the missing file
    qputenv("ORVALO_REJILLAS", "/no/existe");
    {
        Main v(dialogos);
        EXPECT_EQ(v.metodo(), Main::Metodo::SieteParametros);
        const auto* modelo = qobject_cast<QStandardItemModel*>(v.eleccionMetodo()->model());
        EXPECT_FALSE(modelo->item(1)->isEnabled());
        EXPECT_TRUE(modelo->item(1)->toolTip().contains(QStringLiteral("es_ign_SPED2ETV2.tif")));
        geodesicas(v, "40.25", "-3.42", "0");
        EXPECT_EQ(v.estado(), QStringLiteral("1 punto desde Geod\u00e9sicas ED50"));
    }
    qunsetenv("ORVALO_REJILLAS");
    QSettings().remove(QStringLiteral("metodo"));
}

} // namespace

namespace {

// What the choice shows is the method in use, also after a refused change; the points of a
// file wait for their format's button, a change of method does not transform them.
TEST(Metodo, UnCambioRehusadoNoCambiaNada) {
    QSettings().remove(QStringLiteral("metodo"));
    QTemporaryDir carpeta;
    DialogosPrueba dialogos;
    Main v(dialogos);
    Entra(v, 2, QStringLiteral("28.06"), QStringLiteral("-15.25"), QStringLiteral("0")); // Tenerife: outside the grid
    Transforma(v, 2);
    v.eleccionMetodo()->setCurrentIndex(1);
    EXPECT_TRUE(dialogos.ultimoMensaje().contains(QStringLiteral("Punto 1 (entrado en Geod\u00e9sicas ED50)")));
    EXPECT_EQ(v.eleccionMetodo()->currentIndex(), 0);
    // a hundred times Madrid, by the seven parameters the choice shows
    Entra(v, 2, QStringLiteral("40.250048\n").repeated(99) + QStringLiteral("40.250048"),
          QStringLiteral("-3.421368\n").repeated(99) + QStringLiteral("-3.421368"), QStringLiteral("100\n").repeated(99) + QStringLiteral("100"));
    Transforma(v, 2);
    EXPECT_TRUE(v.estado().startsWith(QStringLiteral("100 puntos desde Geod\u00e9sicas ED50. Diferencia con la rejilla oficial del IGN: hasta ")))
        << v.estado().toStdString();
    v.eleccionMetodo()->setCurrentIndex(1);
    EXPECT_EQ(v.estado(), QStringLiteral("100 puntos desde Geod\u00e9sicas ED50"));
    EXPECT_EQ(v.caja(14)->toPlainText().section(QLatin1Char('\n'), 0, 0), QStringLiteral("   151.112"));
    const QString ruta = carpeta.filePath(QStringLiteral("f.txt"));
    EscribeFichero(ruta.toStdString(), "1\r\n440263.927,4475248.878,667.5");
    dialogos.rutasAbrir.push_back(ruta);
    v.findChild<QPushButton*>(QStringLiteral("Input"))->click();
    dialogos.mensajes.clear();
    v.eleccionMetodo()->setCurrentIndex(0);
    EXPECT_TRUE(dialogos.mensajes.empty()) << dialogos.ultimoMensaje().toStdString();
    EXPECT_EQ(v.metodo(), Main::Metodo::SieteParametros);
    EXPECT_TRUE(v.caja(6)->toPlainText().isEmpty());
    QSettings().remove(QStringLiteral("metodo"));
}

} // namespace
