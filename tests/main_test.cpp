#include "dialogos_prueba.h"
#include "transformacion/entrada.h"
#include "transformacion/salida.h"
#include "vectores.h"
#include "ventana_prueba.h"

#include <QAction>
#include <QSettings>
#include <QStandardItemModel>
#include <QApplication>
#include <QFontDatabase>
#include <QThread>
#include <QClipboard>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The first line of text in `imagen` (its pixels unlike the top-left one), cut to its ink.
QImage PrimeraLineaDeTinta(const QImage& imagen) {
    QRect caja;
    for (int y = 0; y < imagen.height(); ++y) {
        QRect fila;
        for (int x = 0; x < imagen.width(); ++x)
            if (imagen.pixel(x, y) != imagen.pixel(0, 0)) fila |= QRect(x, y, 1, 1);
        if (fila.isNull() && caja.isValid()) break;
        caja |= fila;
    }
    return imagen.copy(caja);
}

class VentanaPrincipal : public ::testing::Test {
protected:
    DialogosPrueba dialogos;
    Main ventana{dialogos};
    QTemporaryDir carpeta;

    QString Ruta(const QString& nombre) const { return carpeta.filePath(nombre); }
    void Pulsa(const char* nombre) { ventana.findChild<QPushButton*>(QString::fromLatin1(nombre))->click(); }
    void Transforma(int indice) { ::Transforma(ventana, indice); }
    void Escribe(int k, const QString& texto) { ::Escribe(ventana, k, texto); }
    void Entra(int indice, const QString& a, const QString& b, const QString& c) { ::Entra(ventana, indice, a, b, c); }
    QString Caja(int k) const { return ::Caja(ventana, k)->toPlainText(); }
    std::string Fichero(const QString& ruta) const { return LeeFichero(ruta.toStdString()); }
    QScrollBar* Desplazamiento() const { return ventana.findChild<QScrollBar*>(QStringLiteral("Desplazamiento")); }
    // The format's title is bold: the points shown were entered there.
    bool Marcado(int formato) const {
        return ventana.findChild<QWidget*>(QStringLiteral("Titulo_%1").arg(formato))->font().bold();
    }

    // "Entrada por fichero" of a file `nombre` that holds `contenido`.
    void Lee(const QString& nombre, const std::string& contenido) {
        EscribeFichero(Ruta(nombre).toStdString(), contenido);
        dialogos.rutasAbrir.push_back(Ruta(nombre));
        Pulsa("Input");
    }
    // "Salida por fichero" to salida.txt, overwritten.
    std::string Salida() {
        dialogos.rutasGuardar.push_back(Ruta(QStringLiteral("salida.txt")));
        if (QFileInfo::exists(Ruta(QStringLiteral("salida.txt")))) dialogos.respuestas.push_back(true);
        Pulsa("Output");
        return Fichero(Ruta(QStringLiteral("salida.txt")));
    }
};

TEST_F(VentanaPrincipal, CadaFormatoPorLosBotonesYBorrarSoloVaciaLasCajas) {
    std::string salida;
    for (const char* nombre : {"1", "2", "3", "4", "5", "6", "3-lf"}) {
        // "Entrada por fichero", "< TRANSFORMAR >" of its format, "Salida por fichero"
        dialogos.rutasAbrir.push_back(QString::fromStdString(RutaDatos(std::string("entrada-") + nombre + ".txt")));
        Pulsa("Input");
        Transforma(nombre[0] - '1');
        salida = Salida();
        EXPECT_EQ(salida, LeeFichero(RutaDatos(std::string("salida-") + nombre + ".txt"))) << nombre;
        const QString puntos = Estado(ventana).section(QLatin1Char(' '), 0, 0);
        for (int k = 0; k < 18; ++k)
            EXPECT_EQ(QString::number(Caja(k).count(QLatin1Char('\n')) + 1), puntos) << nombre << " caja " << k;
    }
    EXPECT_TRUE(dialogos.mensajes.empty());
    Pulsa("Erase");
    for (int k = 0; k < Main::NumCajas; ++k) EXPECT_TRUE(Caja(k).isEmpty());
    dialogos.rutasGuardar.push_back(Ruta(QStringLiteral("otra.txt")));
    Pulsa("Output");
    EXPECT_EQ(Fichero(Ruta(QStringLiteral("otra.txt"))), salida);
}

TEST_F(VentanaPrincipal, LasCajasDeEntradaMuestranLoLeido) {
    Entra(0, QStringLiteral("500000,12345\n440000"), QStringLiteral("4500000\n4474000"), QStringLiteral(" 100 \n1e2"));
    Transforma(0);
    EXPECT_EQ(Cajas(ventana).mid(0, 3), (QStringList{QStringLiteral("  500000.123\n  440000.000"), QStringLiteral(" 4500000.000\n 4474000.000"),
                                                    QStringLiteral("   100.000\n   100.000")}));
    EXPECT_EQ(ventana.cursor().shape(), Qt::ArrowCursor);
}

// A refused transformation beeps, says why and changes nothing; the cursor goes to the line at
// fault (brought into view and highlighted as any line the cursor moves to), the value selected
// when one value is at fault.
TEST_F(VentanaPrincipal, FallosDeLaTransformacionNoCambianNadaYSenalanLaLinea) {
    ventana.show();
    CuarentaPuntos(ventana);
    const std::string escrito = Salida();
    const QString phi = Caja(6), lambda = Caja(7);
    QStringList lambdaMal = lambda.split(QLatin1Char('\n'));
    lambdaMal[29] = QStringLiteral("-3.3x");
    struct Caso {
        const char* nombre;
        int indice;
        QString a, b, c;
        std::string mensaje;
        int caja, linea; // where the cursor ends, line from 0; no box: not checked
        QString seleccion;
    } casos[] = {
        {"mensaje A, sin cambios", 0, QStringLiteral("1\n2"), QStringLiteral("1"), QStringLiteral("1\n2"), MensajeDistintoNumero, 1, 0, {}},
        {"línea 1 de la columna h", 0, QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("h"),
         MensajeNoNumerico + "\r\n L\xc3\xadnea 1 de la columna h.", 2, 0, QStringLiteral("h")},
        {"no numérico en la línea 30 de 40 de λ", 2, phi, lambdaMal.join(QLatin1Char('\n')), Caja(8),
         "L\xc3\xadnea 30 de la columna \xce\xbb.", 7, 29, QStringLiteral("-3.3x")},
        {"h con una línea menos", 2, phi, lambda, QStringLiteral("0\n0"), "\xcf\x86: 40 l\xc3\xadneas, \xce\xbb: 40, h: 2.", 8, 1, {}},
        {"el punto 2 sobre el eje polar", 3, QStringLiteral("6378388\n0"), QStringLiteral("0\n0"), QStringLiteral("0\n6356911"),
         " \xc2\xa1" "Error aritm\xc3\xa9tico en la transformaci\xc3\xb3n! \r\n Punto 2 (entrado en Cartesianas geoc\xc3\xa9ntricas "
         "ED50): punto sobre el eje polar: divisi\xc3\xb3n por cero.\r\n No se ha modificado ning\xc3\xban dato.", 9, 1, QStringLiteral("0")},
        {"latitud 1e301: se transforma pero no cabe en su columna", 2, QStringLiteral("1e301"), QStringLiteral("0"),
         QStringLiteral("0"), "Error aritm", -1, -1, {}},
    };
    for (const Caso& c : casos) {
        Entra(c.indice, c.a, c.b, c.c);
        const QStringList antes = Cajas(ventana);
        const int pitidos = dialogos.pitidos;
        Transforma(c.indice);
        EXPECT_EQ(dialogos.pitidos, pitidos + 1) << c.nombre;
        ASSERT_FALSE(dialogos.mensajes.empty());
        EXPECT_TRUE(dialogos.ultimoMensaje().toStdString().find(c.mensaje) != std::string::npos) << c.nombre;
        EXPECT_EQ(dialogos.mensajes.back().icono, Icono::Informacion) << c.nombre;
        EXPECT_EQ(dialogos.mensajes.back().cursor, Qt::BusyCursor) << c.nombre;
        EXPECT_EQ(ventana.cursor().shape(), Qt::ArrowCursor) << c.nombre;
        EXPECT_EQ(Cajas(ventana), antes) << c.nombre;
        if (c.caja < 0) continue;
        const CajaCoordenada* caja = ::Caja(ventana, c.caja);
        EXPECT_EQ(caja->textCursor().blockNumber(), c.linea) << c.nombre;
        EXPECT_EQ(caja->textCursor().selectedText(), c.seleccion) << c.nombre;
        EXPECT_TRUE(caja->hasFocus() || QApplication::focusWidget() == nullptr) << c.nombre;
    }
    EXPECT_EQ(Salida(), escrito); // the file still gets the last results
}

// A file read fills its format's boxes, and empties the others; a file of the seventh format in
// zone 29 turns the zone choice to 29. A file refused changes nothing.
TEST_F(VentanaPrincipal, EntradaPorFichero) {
    auto* huso = ventana.findChild<QComboBox*>(QStringLiteral("Titulo_7"));
    huso->setCurrentIndex(huso->findData(30));
    Lee(QStringLiteral("h29.txt"), "7;29\r\n537000.5,4801000.25,80\r\n540000,4800000,-3");
    EXPECT_EQ(huso->currentText(), QStringLiteral("UTM WGS84 huso 29"));
    EXPECT_TRUE(Estado(ventana).startsWith(QStringLiteral("2 puntos desde UTM WGS84 huso 29"))) << Estado(ventana).toStdString();
    QSettings().remove(QStringLiteral("huso"));
    // points written and never transformed: kept on No, replaced on Yes
    Escribe(0, QStringLiteral("algo"));
    dialogos.respuestas = {false, true};
    Lee(QStringLiteral("huso31.txt"), "2\r300000,4200000,10\r1,2,3\r4,5,-6"); // lone CR line ends
    EXPECT_EQ(Caja(0), QStringLiteral("algo"));
    Lee(QStringLiteral("huso31.txt"), "2\r300000,4200000,10\r1,2,3\r4,5,-6");
    EXPECT_EQ(dialogos.preguntas.size(), 2u);
    EXPECT_EQ(Caja(3), QStringLiteral("  300000.000\n       1.000\n       4.000"));
    EXPECT_EQ(Caja(5), QStringLiteral("    10.000\n     3.000\n    -6.000"));
    for (int k = 0; k < Main::NumCajas; ++k) EXPECT_EQ(Caja(k).isEmpty(), k < 3 || k > 5) << k;
    EXPECT_TRUE(Marcado(2));
    EXPECT_TRUE(Estado(ventana).startsWith(QStringLiteral("3 puntos desde UTM huso 31"))) << Estado(ventana).toStdString();
    EXPECT_EQ(ventana.rutas().NombreAbrir, Ruta(QStringLiteral("huso31.txt")));
    const QStringList antes = Cajas(ventana);

    const QString general = QString::fromStdString(MensajeErrorAbrir);
    struct Caso {
        const char* nombre;
        std::optional<std::string> contenido; // of f.txt; nothing: the path below as it is
        std::optional<QString> ruta;          // nothing: the dialog cancelled
        QString mensaje;                      // empty: nothing shown
    } casos[] = {
        {"campo no numérico", "3\r\n40,-3,0\r\n40,-3x3,0", {},
         general + QStringLiteral("\r\n L\u00ednea 3, campo 2: \u00ab-3x3\u00bb no es un n\u00famero.")},
        // a file that cannot be read says why, not that it holds a non-numeric value
        {"no existe", std::nullopt, Ruta(QStringLiteral("nada.txt")),
         QStringLiteral(" \u00a1Se ha producido un error al abrir el archivo! \r\n El fichero no existe.")},
        {"cancelado", std::nullopt, std::nullopt, QString()},
    };
    for (const Caso& c : casos) {
        if (c.contenido) EscribeFichero(Ruta(QStringLiteral("f.txt")).toStdString(), *c.contenido);
        dialogos.mensajes.clear();
        dialogos.rutasAbrir.push_back(c.contenido ? Ruta(QStringLiteral("f.txt")) : c.ruta);
        Pulsa("Input");
        EXPECT_EQ(dialogos.ultimoMensaje(), c.mensaje) << c.nombre;
        if (!c.mensaje.isEmpty()) { EXPECT_EQ(dialogos.mensajes.back().icono, Icono::Ninguno) << c.nombre; }
        EXPECT_EQ(Cajas(ventana), antes) << c.nombre;
    }
    EXPECT_EQ(dialogos.pitidos, 0);
}

TEST_F(VentanaPrincipal, SalidaPorFichero) {
    const QString destino = Ruta(QStringLiteral("s.txt"));
    dialogos.rutasGuardar.push_back(destino);
    Pulsa("Output");
    EXPECT_TRUE(QFileInfo::exists(destino));
    EXPECT_EQ(Fichero(destino), "");
    // the question names the file (Yes overwrites: each format's output over the last, above)
    dialogos.rutasGuardar.push_back(destino);
    dialogos.respuestas.push_back(true);
    Pulsa("Output");
    EXPECT_EQ(dialogos.preguntas.back(), QStringLiteral(" \u00a1El Fichero ya existe! \r\n \u00bfDesea sobreescribirlo? \r\n ") + destino);

    // No shows the dialog again; cancelling it leaves the file as it was
    EscribeFichero(destino.toStdString(), "anterior");
    dialogos.rutasGuardar.push_back(destino);
    dialogos.respuestas.push_back(false);
    dialogos.rutasGuardar.push_back(std::nullopt);
    Pulsa("Output");
    EXPECT_EQ(Fichero(destino), "anterior");
    EXPECT_EQ(ventana.rutas().NombreGuardar, destino);

    // a failed write is reported
    dialogos.rutasGuardar.push_back(Ruta(QStringLiteral("no/existe.txt")));
    Pulsa("Output");
    EXPECT_EQ(dialogos.ultimoMensaje().toStdString(), MensajeErrorGuardar + "\r\n La carpeta no existe.");
    EXPECT_EQ(dialogos.mensajes.back().icono, Icono::Ninguno);
}

TEST_F(VentanaPrincipal, CabeEnUnaPantallaDe1024x768) {
    ventana.show();
    EXPECT_LE(ventana.width(), 1000);
    EXPECT_LE(ventana.height(), 700);
    EXPECT_LE(ventana.minimumSizeHint().width(), 1000);
    EXPECT_LE(ventana.minimumSizeHint().height(), 700);
    ventana.resize(1000, 700);
    QCoreApplication::processEvents();
    Escribe(9, QStringLiteral("-4412345.678"));
    Escribe(13, QStringLiteral("-180.00000000")); // the widest a longitude is laid out
    for (int k : {9, 13}) {
        const QPlainTextEdit* c = ::Caja(ventana, k);
        const int texto = c->fontMetrics().horizontalAdvance(Caja(k));
        EXPECT_LE(texto, c->viewport()->width() - 2 * static_cast<int>(c->document()->documentMargin())) << k;
        EXPECT_FALSE(c->horizontalScrollBar()->isVisible()) << k;
    }
    // at least 8 whole lines a box, and 18 at 1600x1000, with a status line long enough to wrap
    CuarentaPuntos(ventana);
    auto* estado = ventana.findChild<QLabel*>(QStringLiteral("Estado"));
    for (const auto& [ancho, alto, lineas] : {std::tuple{1000, 700, 8}, std::tuple{1600, 1000, 18}}) {
        ventana.resize(ancho, alto);
        QCoreApplication::processEvents(); // laid out, then the status line grows
        estado->setText(QStringLiteral("32 766 puntos desde Geod\u00e9sicas ED50. Diferencia con la rejilla oficial del IGN: "
                                       "hasta 5,29 m (punto 3985). El punto 12172 queda a 3,00\u00b0 de longitud fuera del "
                                       "huso 30 (UTM WGS84 huso 30)")
                            .repeated(ancho / 800));
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
        ASSERT_EQ(estado->height(), estado->heightForWidth(estado->width())) << ancho;
        ASSERT_GT(estado->height(), 3 * estado->fontMetrics().height() / 2) << ancho; // two lines
        for (int k = 0; k < Main::NumCajas; ++k) EXPECT_GE(::Caja(ventana, k)->lineasVisibles(), lineas) << ancho << " " << k;
        if (ancho == 1000) { // the two groups' rows of boxes alike
            EXPECT_NEAR(::Caja(ventana, 0)->height(), ::Caja(ventana, 12)->height(), 3);
        }
    }
}

TEST_F(VentanaPrincipal, LaLineaKDeCadaCajaEsElPuntoK) {
    ventana.show();
    CuarentaPuntos(ventana);
    // the margin beside the first line shows point 1, as "1" looks in the margin's font
    auto* margen = ventana.findChild<QWidget*>(QStringLiteral("Margen"));
    const QImage visto = margen->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage uno(margen->size(), QImage::Format_RGB32);
    uno.fill(visto.pixel(0, 0));
    QPainter pintor(&uno);
    pintor.setFont(margen->font());
    pintor.setPen(margen->palette().color(QPalette::PlaceholderText));
    pintor.drawText(uno.rect(), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("1"));
    pintor.end();
    EXPECT_EQ(PrimeraLineaDeTinta(visto), PrimeraLineaDeTinta(uno));
    // one scroll position for the eighteen boxes, whichever box or bar moves
    Desplazamiento()->setValue(20);
    for (int k = 0; k < 18; ++k) EXPECT_EQ(::Caja(ventana, k)->verticalScrollBar()->value(), 20) << k;
    ::Caja(ventana, 16)->verticalScrollBar()->setValue(5);
    for (int k = 0; k < 18; ++k) EXPECT_EQ(::Caja(ventana, k)->verticalScrollBar()->value(), 5) << k;
    EXPECT_EQ(Desplazamiento()->value(), 5);
    // the point under the cursor is highlighted in all of them
    QTextCursor c(::Caja(ventana, 1)->document()->findBlockByNumber(24));
    ::Caja(ventana, 1)->setTextCursor(c);
    for (int k = 0; k < 18; ++k) {
        ASSERT_EQ(::Caja(ventana, k)->extraSelections().size(), 1) << k;
        EXPECT_EQ(::Caja(ventana, k)->extraSelections()[0].cursor.blockNumber(), 24) << k;
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(::Caja(ventana, 17)->verticalScrollBar()->value(), ::Caja(ventana, 1)->verticalScrollBar()->value());
    Escribe(0, QString());
    ::Caja(ventana, 1)->setTextCursor(QTextCursor(::Caja(ventana, 1)->document()->findBlockByNumber(0)));
    EXPECT_TRUE(::Caja(ventana, 0)->extraSelections().isEmpty()); // an empty box shows no bar
    // a line moved to just below the view of a shorter box, in a taller one: both show it
    CuarentaPuntos(ventana);
    Desplazamiento()->setValue(0);
    CajaCoordenada* alta = ::Caja(ventana, 0);
    CajaCoordenada* corta = ::Caja(ventana, 20);
    corta->setMaximumHeight(corta->height() - 3 * corta->fontMetrics().lineSpacing());
    QCoreApplication::processEvents();
    ASSERT_LT(corta->lineasVisibles(), alta->lineasVisibles());
    for (int linea = 0; linea < 40; ++linea) {
        alta->setTextCursor(QTextCursor(alta->document()->findBlockByNumber(linea)));
        EXPECT_GE(linea, corta->primeraVisible()) << linea;
        EXPECT_LT(linea, corta->primeraVisible() + corta->lineasVisibles()) << linea;
    }
}

// Pasted as from a Spanish spreadsheet: rows of three tab-separated values fill the format's three
// boxes at the cursor or over the lines selected, thousands points dropped and decimal commas read;
// anything else is pasted as it is. One Deshacer in any of the three undoes the paste in all three.
TEST_F(VentanaPrincipal, PegarComoDeUnaHojaDeCalculo) {
    const QString x = QStringLiteral("1\n2\n3\n4\n5"), y = QStringLiteral("6\n7\n8\n9\n10"), h = QStringLiteral("0\n0\n0\n0\n0");
    struct Caso {
        const char* nombre;
        int caja, linea, hasta; // the cursor at the end of that line, or lines `linea` to `hasta` selected
        QString pegado;
        QStringList cajas; // the format's boxes after, from the first
    } casos[] = {
        {"una fila sobre las l\u00edneas 2 y 3", 0, 1, 2, QStringLiteral("9\t9\t9"), {QStringLiteral("1\n9\n4\n5")}},
        {"una columna con LF final", 3, 0, -1, QStringLiteral("1\n2\n"), {QStringLiteral("1\n2")}},
        {"una columna con CR LF final", 3, 0, -1, QStringLiteral("1\r\n2\r\n"), {QStringLiteral("1\n2")}},
        {"cuatro valores: no es una tabla", 3, 0, -1, QStringLiteral("1\t2\t3\t4"), {QStringLiteral("1\t2\t3\t4")}},
        {"una fila con un valor de m\u00e1s: no es una tabla", 3, 0, -1, QStringLiteral("1\t2\t3\n4\t5\t6\t7"),
         {QStringLiteral("1\t2\t3\n4\t5\t6\t7"), QString(), QString()}},
        {"dos filas al final de la caja Y", 1, 4, -1, QStringLiteral("440.263,927\t4.475.248,878\t-1.234,5\r\n440000\t4474000\t100\r\n"),
         {x + QStringLiteral("\n440263.927\n440000"), y + QStringLiteral("\n4475248.878\n4474000"), h + QStringLiteral("\n-1234.5\n100")}},
    };
    for (const Caso& c : casos) {
        Entra(0, x, y, h);
        Escribe(3, QString());
        QTextCursor cursor(::Caja(ventana, c.caja)->document()->findBlockByNumber(c.linea));
        if (c.hasta >= 0) cursor.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor, c.hasta - c.linea);
        cursor.movePosition(QTextCursor::EndOfBlock, c.hasta >= 0 ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
        ::Caja(ventana, c.caja)->setTextCursor(cursor);
        QMimeData pegado;
        pegado.setText(c.pegado);
        ::Caja(ventana, c.caja)->insertFromMimeData(&pegado);
        for (int m = 0; m < c.cajas.size(); ++m) EXPECT_EQ(Caja(c.caja / 3 * 3 + m), c.cajas[m]) << c.nombre << " " << m;
    }
    QTest::keyClick(::Caja(ventana, 2), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Cajas(ventana).mid(0, 3), (QStringList{x, y, h}));
}

// Rows of a Spanish spreadsheet pasted into the first box, transformed with the keyboard and
// copied back with "Copiar tabla" under the same locale; the table pasted into another format's
// box gives its points back.
TEST_F(VentanaPrincipal, FilasPegadasConElTecladoComoEnElLote) {
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    ventana.show();
    QApplication::setActiveWindow(&ventana);
    QString hoja;
    for (int i = 0; i < 100; ++i) {
        const QString x = QString::number(380000 + 13 * i), y = QString::number(4300000 + 29 * i), h = QString::number(i % 900);
        hoja += x + QStringLiteral(",125\t") + y + QStringLiteral(",5\t") + h + QStringLiteral(",25\r\n");
    }
    QApplication::clipboard()->setText(hoja);
    CajaCoordenada* primera = ::Caja(ventana, 0);
    primera->setFocus();
    QTest::keyClick(primera, Qt::Key_V, Qt::ControlModifier);
    auto* boton = ventana.findChild<QPushButton*>(QStringLiteral("Transform_0"));
    for (int i = 0; i < 6 && QApplication::focusWidget() != boton; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), boton);
    QTest::keyClick(boton, Qt::Key_Return); // Enter presses the focused button
    EXPECT_TRUE(Estado(ventana).startsWith(QStringLiteral("100 puntos desde UTM huso 30"))) << Estado(ventana).toStdString();
    QMenu* menu = primera->menuContextual();
    menu->findChild<QAction*>(QStringLiteral("CopiarTabla"))->trigger();
    delete menu;
    QLocale::setDefault(QLocale::c());
    const QMimeData* copiado = QApplication::clipboard()->mimeData();
    const QStringList tabla = copiado->text().split(QLatin1Char('\n'));
    EXPECT_TRUE(copiado->html().contains(QStringLiteral("<td>380000,125</td>"))) << copiado->html().left(400).toStdString();

    ASSERT_EQ(tabla.size(), 102); // the header, a row a point, the final line end
    EXPECT_TRUE(tabla[0].startsWith(QStringLiteral("UTM huso 30 X\tUTM huso 30 Y\tUTM huso 30 h\tUTM huso 31 X")));
    EXPECT_EQ(tabla[1].section(QLatin1Char('\t'), 0, 0), QStringLiteral("380000,125")); // without the boxes' padding
    const QStringList geodesicas = Cajas(ventana).mid(6, 3);
    Pulsa("Erase");
    ::Caja(ventana, 7)->insertFromMimeData(copiado);
    Transforma(2);
    EXPECT_EQ(Cajas(ventana).mid(6, 3), geodesicas);
}

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
        // Madrid (ED50, H = 100 m) with the method of a first run: the status says how far the seven
        // parameters lie
        geodesicas(v, "40.250048", "-3.421368", "100");
        EXPECT_TRUE(Estado(v).startsWith(QStringLiteral("1 punto desde Geod\u00e9sicas ED50. Diferencia con la rejilla oficial del IGN: hasta ")))
            << Estado(v).toStdString();
        EXPECT_TRUE(Estado(v).endsWith(QStringLiteral(" m (punto 1)"))) << Estado(v).toStdString();
        // choosing the grid runs the transformation again: ETRS89, h = H + N
        EleccionMetodo(v)->setCurrentIndex(1);
        EXPECT_EQ(Caja(v, 12)->toPlainText(), QStringLiteral(" 40.24562273"));
        EXPECT_EQ(Caja(v, 14)->toPlainText(), QStringLiteral("   151.112"));
        const QStringList antes = Cajas(v).mid(12); // formats 5 to 7 and the status line
        // Paris, outside the grid, before a point on the polar axis: the fault is named
        Entra(v, 3, QStringLiteral("4201673\n0"), QStringLiteral("172429\n0"), QStringLiteral("4779689\n6356911"));
        Transforma(v, 3);
        EXPECT_TRUE(dialogos.ultimoMensaje().contains(QStringLiteral("Punto 2 (entrado en Cartesianas geoc\u00e9ntricas ED50)")))
            << dialogos.ultimoMensaje().toStdString();
        EXPECT_EQ(Cajas(v).mid(12), antes);
    }
    {
        Main v(dialogos); // the next run starts with the method chosen last
        EXPECT_EQ(EleccionMetodo(v)->currentIndex(), 1);
    }
    // without the grids the official choice is disabled and names the missing file
    qputenv("ORVALO_REJILLAS", "/no/existe");
    {
        Main v(dialogos);
        const auto* modelo = qobject_cast<QStandardItemModel*>(EleccionMetodo(v)->model());
        EXPECT_FALSE(modelo->item(1)->isEnabled());
        EXPECT_TRUE(modelo->item(1)->toolTip().contains(QStringLiteral("es_ign_SPED2ETV2.tif")));
        geodesicas(v, "40.25", "-3.42", "0");
        EXPECT_EQ(Estado(v), QStringLiteral("1 punto desde Geod\u00e9sicas ED50"));
    }
    qunsetenv("ORVALO_REJILLAS");
    QSettings().remove(QStringLiteral("metodo"));
}

// The official method computes wherever its grid reaches, and says where that is official:
// Lisbon and Ceuta get results marked as not official; a point beyond the grid's rectangle is
// refused, the message naming the point and the rectangle. (The seven parameters' status line,
// with no such mark: ElegidoVisibleYRecordado.)
TEST_F(VentanaPrincipal, LoOficialSeDiceConVerdad) {
    EleccionMetodo(ventana)->setCurrentIndex(1);
    const QString noOficial = QStringLiteral("oficial solo en la Espa\u00f1a peninsular y las Islas Baleares");
    struct Caso {
        const char* nombre;
        QString latitud, longitud;
        bool convierte;
    } casos[] = {
        {"Lisboa", QStringLiteral("38.4312"), QStringLiteral("-9.0824"), true},
        {"Ceuta", QStringLiteral("35.5324"), QStringLiteral("-5.1912"), true},
        {"Las Palmas, fuera del rect\u00e1ngulo", QStringLiteral("40.25\n28.06"), QStringLiteral("-3.42\n-15.25"), false},
    };
    for (const Caso& c : casos) {
        dialogos.mensajes.clear();
        const QString h = QStringList(c.latitud.count(QLatin1Char('\n')) + 1, QStringLiteral("100")).join(QLatin1Char('\n'));
        Entra(2, c.latitud, c.longitud, h);
        Transforma(2);
        EXPECT_EQ(dialogos.mensajes.empty(), c.convierte) << c.nombre;
        if (c.convierte) {
            EXPECT_TRUE(Estado(ventana).contains(noOficial)) << c.nombre << ": " << Estado(ventana).toStdString();
            // the distance to the official grid, only for the seven parameters
            EXPECT_FALSE(Estado(ventana).contains(QStringLiteral("Diferencia con la rejilla"))) << c.nombre;
        } else {
            // the rectangle's words belong to the grid, checked with orvalo-lote
            const QString m = dialogos.ultimoMensaje();
            EXPECT_TRUE(m.contains(noOficial) && m.contains(QStringLiteral("Punto 2 (entrado en Geod\u00e9sicas ED50)"))) << m.toStdString();
            EXPECT_EQ(Caja(6), c.latitud) << c.nombre; // as typed, nothing changed
        }
    }
    QSettings().remove(QStringLiteral("metodo"));
}

// The window as a worksheet: nothing typed is lost, errors take the user to the line.
TEST_F(VentanaPrincipal, CambiarDeMetodoNoPierdeNiRechaza) {
    if (!EleccionMetodo(ventana)->model()->index(1, 0).flags().testFlag(Qt::ItemIsEnabled)) GTEST_SKIP() << "sin rejillas";
    const int antes = EleccionMetodo(ventana)->currentIndex();
    EleccionMetodo(ventana)->setCurrentIndex(0);
    Entra(2, QStringLiteral("40.25"), QStringLiteral("-3.42"), QStringLiteral("100"));
    Transforma(2);
    // a file refused for a value too large for its column changes nothing: the results shown
    // are still recomputed for the other method
    Lee(QStringLiteral("grande.txt"), "3\r\n1e308,-3.42,100");
    ASSERT_EQ(dialogos.mensajes.size(), 1u);
    const QString siete = Caja(12);
    EleccionMetodo(ventana)->setCurrentIndex(1);
    EXPECT_NE(Caja(12), siete);
    EleccionMetodo(ventana)->setCurrentIndex(0);
    dialogos.mensajes.clear();
    // back to the method of the results, the status line says again what they are; an edit
    // undone is no edit: the results are recomputed
    const QString hecho = Estado(ventana);
    CajaCoordenada* caja = ::Caja(ventana, 12);
    QTest::keyClicks(caja, QStringLiteral("7"));
    EleccionMetodo(ventana)->setCurrentIndex(1);
    EXPECT_EQ(Caja(12), QStringLiteral("7") + siete);
    EXPECT_NE(Estado(ventana), hecho);
    EleccionMetodo(ventana)->setCurrentIndex(0);
    EXPECT_EQ(Estado(ventana), hecho);
    QTest::keyClick(caja, Qt::Key_Z, Qt::ControlModifier);
    EleccionMetodo(ventana)->setCurrentIndex(1);
    EXPECT_NE(Caja(12), siete);
    EXPECT_TRUE(Estado(ventana).startsWith(QStringLiteral("1 punto"))) << Estado(ventana).toStdString();
    EleccionMetodo(ventana)->setCurrentIndex(0);
    EXPECT_EQ(Caja(12), siete);
    // typed since: the boxes stay, the choice is taken and the status line says so
    Entra(0, QStringLiteral("440000\n441000"), QStringLiteral("4474000\n4475000"), QStringLiteral("1\n2"));
    EleccionMetodo(ventana)->setCurrentIndex(1);
    EXPECT_EQ(Caja(0), QStringLiteral("440000\n441000"));
    EXPECT_EQ(EleccionMetodo(ventana)->currentIndex(), 1);
    EXPECT_TRUE(Estado(ventana).contains(QStringLiteral("\u00ab< TRANSFORMAR >\u00bb aplica \u00abETRS89"))) << Estado(ventana).toStdString();
    // after Borrar likewise, with no message box
    Pulsa("Erase");
    EXPECT_TRUE(Estado(ventana).startsWith(QStringLiteral("Cajas vaciadas"))) << Estado(ventana).toStdString();
    EleccionMetodo(ventana)->setCurrentIndex(0);
    EXPECT_EQ(EleccionMetodo(ventana)->currentIndex(), 0);
    EXPECT_TRUE(Caja(12).isEmpty());
    EXPECT_TRUE(dialogos.mensajes.empty());
    // a file read since: nothing in the boxes was computed, the status line stays as read
    Lee(QStringLiteral("f.txt"), "1\r\n440000,4474000,1");
    const QString leido = Estado(ventana);
    EleccionMetodo(ventana)->setCurrentIndex(1);
    EXPECT_EQ(Estado(ventana).toStdString(), leido.toStdString());
    EleccionMetodo(ventana)->setCurrentIndex(antes);
}

// As many points as a file may hold, transformed from the boxes (one more LeeCajas refuses)
// and shown whole in every box.
TEST_F(VentanaPrincipal, TreintaYDosMilSetecientosSesentaYSeisPuntos) {
    const qsizetype n = 32766;
    QStringList x;
    for (int i = 0; i < n; ++i) x << QString::number(400000 + i);
    Entra(0, x.join(QLatin1Char('\n')), QStringList(n, QStringLiteral("4400000")).join(QLatin1Char('\n')),
          QStringList(n, QStringLiteral("1")).join(QLatin1Char('\n')));
    Transforma(0);
    EXPECT_TRUE(dialogos.mensajes.empty()) << dialogos.ultimoMensaje().toStdString();
    for (int k = 0; k < Main::NumCajas; ++k) EXPECT_EQ(Caja(k).count(QLatin1Char('\n')), n - 1) << k;
    EXPECT_TRUE(Estado(ventana).startsWith(QStringLiteral("32 766 puntos desde UTM huso 30")));
}

// A box's document holds the lines, and takes edits, as one that Qt filled itself.
TEST(DocumentoDeCaja, ComoElQueLlenaQt) {
    const QFont fuente = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (const QString& texto : {QString(), QStringLiteral("1"), QStringLiteral("\n\n"), QStringLiteral("440263.927\n-3.5\n"),
                                 QStringLiteral("1\r\n2\r3"), QStringLiteral("1\u20292\u20283"),
                                 QStringLiteral("1\ufdd02\ufdd1")}) {
        QTextDocument qt;
        qt.setPlainText(texto);
        CajaCoordenada caja(10);
        caja.ponDocumento(DocumentoDeCaja(texto, fuente, QThread::currentThread()));
        const QTextDocument& d = *caja.document();
        ASSERT_EQ(d.blockCount(), qt.blockCount()) << texto.toStdString();
        for (QTextBlock b = d.firstBlock(), q = qt.firstBlock(); b.isValid(); b = b.next(), q = q.next()) {
            EXPECT_EQ(b.text(), q.text()) << texto.toStdString();
            EXPECT_TRUE(b.charFormat() == q.charFormat() && b.blockFormat() == q.blockFormat()) << texto.toStdString();
        }
        caja.moveCursor(QTextCursor::End);
        QTest::keyClicks(&caja, QStringLiteral("7"));
        QTest::keyClick(&caja, Qt::Key_Return);
        EXPECT_EQ(caja.toPlainText(), qt.toPlainText() + QStringLiteral("7\n")) << texto.toStdString();
    }
}

// The seventh format, its zone and the second ED50 format's zone, remembered between runs.
TEST(Husos, SeptimoFormatoYHusoElegidos) {
    for (const char* clave : {"huso", "husoEd50", "metodo"}) QSettings().remove(QString::fromLatin1(clave));
    DialogosPrueba dialogos;
    {
        Main v(dialogos);
        auto* huso = v.findChild<QComboBox*>(QStringLiteral("Titulo_7"));
        auto* husoEd50 = v.findChild<QComboBox*>(QStringLiteral("Titulo_2"));
        EXPECT_EQ(huso->currentText(), QStringLiteral("UTM WGS84 huso 30"));
        EXPECT_EQ(husoEd50->currentText(), QStringLiteral("UTM huso 31"));
        // A Coruña in ED50 geodetic: zone 29 in both systems, the status line warns of zone 30
        Entra(v, 2, QStringLiteral("43.22"), QStringLiteral("-8.24"), QStringLiteral("100"));
        Transforma(v, 2);
        EXPECT_TRUE(Estado(v).contains(QStringLiteral("fuera del huso"))) << Estado(v).toStdString();
        huso->setCurrentIndex(huso->findData(29));
        husoEd50->setCurrentIndex(husoEd50->findData(29));
        const QString x29 = Caja(v, 18)->toPlainText(), y29 = Caja(v, 19)->toPlainText();
        EXPECT_NE(Caja(v, 3)->toPlainText(), Caja(v, 0)->toPlainText());
        // entered in format 7 it gives back the same point
        const QString lat = Caja(v, 6)->toPlainText();
        Entra(v, 6, x29, y29, Caja(v, 20)->toPlainText());
        Transforma(v, 6);
        EXPECT_TRUE(dialogos.mensajes.empty()) << dialogos.ultimoMensaje().toStdString();
        EXPECT_EQ(Caja(v, 6)->toPlainText(), lat);
        EXPECT_TRUE(Estado(v).startsWith(QStringLiteral("1 punto desde UTM WGS84 huso 29"))) << Estado(v).toStdString();
    }
    {
        Main v(dialogos); // the next run starts with the zones chosen last
        EXPECT_EQ(v.findChild<QComboBox*>(QStringLiteral("Titulo_7"))->currentData().toInt(), 29);
        EXPECT_EQ(v.findChild<QComboBox*>(QStringLiteral("Titulo_2"))->currentText(), QStringLiteral("UTM huso 29"));
        if (EleccionMetodo(v)->model()->index(1, 0).flags().testFlag(Qt::ItemIsEnabled)) {
            EleccionMetodo(v)->setCurrentIndex(1);
            EXPECT_EQ(v.findChild<QComboBox*>(QStringLiteral("Titulo_7"))->currentText(), QStringLiteral("UTM ETRS89 huso 29"));
        }
    }
    for (const char* clave : {"huso", "husoEd50", "metodo"}) QSettings().remove(QString::fromLatin1(clave));
}

} // namespace
