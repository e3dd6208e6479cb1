#include "dialogos_prueba.h"
#include "editor/editor.h"
#include "editor/reemplaza.h"
#include "ventana/dialogos_qt.h"
#include "texto/reemplazo.h"
#include "transformacion/salida.h"
#include "aplicacion/aplicacion.h"
#include "vectores.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString Pregunta = QStringLiteral(" \u00bfDesea guardar cambios? ");

class EditorPrueba : public ::testing::Test {
protected:
    DialogosPrueba dialogos;
    RutasCompartidas rutas;
    QTemporaryDir carpeta;
    QPointer<Editor> editor = new Editor(dialogos, rutas);

    ~EditorPrueba() override { delete editor; }

    QString Ruta(const QString& nombre) const { return carpeta.filePath(nombre); }
    QString Crea(const QString& nombre, const std::string& contenido) const {
        EscribeFichero(Ruta(nombre).toStdString(), contenido);
        return Ruta(nombre);
    }
    std::string Lee(const QString& ruta) const { return LeeFichero(ruta.toStdString()); }
    QAction* Accion(const char* nombre) const { return editor->findChild<QAction*>(QString::fromUtf8(nombre)); }
    void Abre(const QString& ruta) {
        dialogos.rutasAbrir.push_back(ruta);
        Accion("FicheroAbrir")->trigger();
    }
    Reemplaza* DialogoReemplazo() const { return editor->findChild<Reemplaza*>(); }
};

TEST_F(EditorPrueba, Abrir) {
    struct Caso {
        const char* nombre;
        std::string contenido;
        QString texto;
    } casos[] = {
        {"vacío", "", QString()},
        {"CR LF", "3\r\n1,2,3\r\n", QStringLiteral("3\n1,2,3\n")},
        {"LF", "3\n1,2,3", QStringLiteral("3\n1,2,3")},
        {"Latin-1", "a\xf1o\xa0", QStringLiteral("a\u00f1o\u00a0")},
        {"UTF-8 demasiado largo es Latin-1", "\xc1\x81", QStringLiteral("\u00c1\u0081")},
        {"UTF-8 de tres bytes demasiado largo es Latin-1", "\xe0\x80\xaf", QStringLiteral("\u00e0\u0080\u00af")},
        {"suplente en UTF-8 es Latin-1", "\xed\xa0\x80", QStringLiteral("\u00ed\u00a0\u0080")},
        {"UTF-8", "\xc3\xb1", QStringLiteral("\u00f1")},
    };
    for (const Caso& c : casos) {
        const QString ruta = Crea(QStringLiteral("f.txt"), c.contenido);
        Abre(ruta);
        EXPECT_EQ(editor->texto(), c.texto) << c.nombre;
        EXPECT_EQ(editor->TextoCargado(), c.texto) << c.nombre;
        EXPECT_EQ(editor->windowTitle(), QStringLiteral("Orvalo - Editor de texto - ") + ruta) << c.nombre;
        EXPECT_EQ(rutas.NombreAbrir, ruta) << c.nombre;
    }
    EXPECT_TRUE(dialogos.mensajes.empty());

    QFile grande(Ruta(QStringLiteral("grande.txt")));
    ASSERT_TRUE(grande.open(QIODevice::WriteOnly) && grande.resize(qint64(65) << 20));
    grande.close();
    struct Fallo {
        QString ruta;
        QString mensaje;
    } fallos[] = {
        {Ruta(QStringLiteral("no-existe.txt")), QStringLiteral(" \u00a1Se ha producido un error al abrir el archivo! ")},
        {grande.fileName(), QStringLiteral(" \u00a1El fichero es demasiado grande! ")},
    };
    for (const Fallo& f : fallos) {
        Abre(f.ruta);
        EXPECT_EQ(dialogos.ultimoMensaje(), f.mensaje) << f.ruta.toStdString();
        EXPECT_EQ(editor->texto(), QStringLiteral("\u00f1"));
    }
    dialogos.rutasAbrir.push_back(std::nullopt);
    Accion("FicheroAbrir")->trigger();
    EXPECT_EQ(editor->texto(), QStringLiteral("\u00f1"));
}

TEST_F(EditorPrueba, GuardarDevuelveLosMismosBytes) {
    struct Caso {
        const char* nombre;
        std::string contenido, guardado;
    } casos[] = {
        {"CR LF sin final gana uno", "3\r\n1,2,3", "3\r\n1,2,3\r\n"},
        {"Latin-1 y espacio duro", "a\xf1o\xa0\r\n", "a\xf1o\xa0\r\n"},
        {"vacío guarda CR LF", "", "\r\n"},
        {"finales mezclados", "a\r\nb\nc\rd\r\n", "a\r\nb\nc\rd\r\n"},
    };
    for (const Caso& c : casos) {
        delete editor;
        editor = new Editor(dialogos, rutas);
        const QString ruta = Crea(QStringLiteral("g.txt"), c.contenido);
        Abre(ruta);
        dialogos.rutasGuardar.push_back(Ruta(QStringLiteral("copia.txt")));
        if (QFileInfo::exists(Ruta(QStringLiteral("copia.txt")))) dialogos.respuestas.push_back(true);
        Accion("FicheroGu")->trigger(); // right after Abrir it asks for a name
        EXPECT_EQ(Lee(Ruta(QStringLiteral("copia.txt"))), c.guardado) << c.nombre;
        Accion("FicheroGu")->trigger(); // saving again adds nothing
        EXPECT_EQ(Lee(Ruta(QStringLiteral("copia.txt"))), c.guardado) << c.nombre;
    }
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Orvalo - Editor de texto - ") + Ruta(QStringLiteral("copia.txt")));

    // a changed Latin-1 file stays Latin-1 with its line ends, unless Latin-1 cannot carry it
    Abre(Crea(QStringLiteral("l.txt"), "a\xf1o\n"));
    editor->ponTexto(editor->texto() + QStringLiteral("b"));
    Accion("FicheroGu")->trigger();
    EXPECT_EQ(Lee(Ruta(QStringLiteral("copia.txt"))), "a\xf1o\nb\n");
    editor->ponTexto(QStringLiteral("\u20ac\n"));
    Accion("FicheroGu")->trigger();
    EXPECT_EQ(Lee(Ruta(QStringLiteral("copia.txt"))), "\xe2\x82\xac\n");
}

TEST_F(EditorPrueba, GuardarComoPreguntaAntesDeSobreescribir) {
    const QString existente = Crea(QStringLiteral("e.txt"), "anterior");
    editor->ponTexto(QStringLiteral("nuevo"));
    dialogos.rutasGuardar = {existente, std::nullopt};
    dialogos.respuestas = {false};
    Accion("FicheroGuardar")->trigger();
    EXPECT_TRUE(editor->GuardarCancelado());
    EXPECT_EQ(Lee(existente), "anterior");

    dialogos.rutasGuardar = {existente};
    dialogos.respuestas = {true};
    Accion("FicheroGuardar")->trigger();
    EXPECT_FALSE(editor->GuardarCancelado());
    EXPECT_EQ(Lee(existente), "nuevo\r\n");
}

TEST_F(EditorPrueba, Cerrar) {
    struct Caso {
        const char* nombre;
        bool cambia;
        std::deque<bool> respuestas;
        std::string abierto; // the opened file afterwards
    } casos[] = {
        {"sin cambios cierra sin preguntar", false, {}, "1,2,3\r\n"},
        {"No cierra sin guardar", true, {false}, "1,2,3\r\n"},
        {"Sí guarda sobre el fichero abierto", true, {true}, "1,2,3x\r\n"},
    };
    for (const Caso& c : casos) {
        delete editor;
        editor = new Editor(dialogos, rutas);
        const QString ruta = Crea(QStringLiteral("c.txt"), "1,2,3\r\n");
        Abre(ruta);
        if (c.cambia) editor->ponTexto(QStringLiteral("1,2,3x"));
        dialogos.respuestas = c.respuestas;
        const std::size_t preguntas = dialogos.preguntas.size();
        editor->close();
        EXPECT_EQ(dialogos.preguntas.size(), preguntas + c.respuestas.size()) << c.nombre;
        EXPECT_EQ(Lee(ruta), c.abierto) << c.nombre;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(editor.isNull()) << c.nombre;
    }
    // nothing opened: Yes runs Save As; cancelling it keeps the editor open
    editor = new Editor(dialogos, rutas);
    editor->show();
    editor->ponTexto(QStringLiteral("trabajo"));
    dialogos.respuestas = {true};
    dialogos.rutasGuardar = {std::nullopt};
    editor->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(editor.isNull());
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(dialogos.preguntas.back(), Pregunta);
    // a Save As whose write fails keeps it open with its text too
    dialogos.respuestas = {true};
    dialogos.rutasGuardar = {Ruta(QStringLiteral("no/hay/carpeta.txt"))};
    editor->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(editor.isNull());
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->texto(), QStringLiteral("trabajo"));
    EXPECT_TRUE(dialogos.ultimoMensaje().startsWith(QString::fromStdString(MensajeErrorGuardar)));
}

TEST_F(EditorPrueba, Edicion) {
    auto* menu = editor->findChild<QMenu*>(QStringLiteral("Men\u00faEdici\u00f3n"));
    auto activas = [&] { // Cortar, Copiar, Pegar as the menu opens
        emit menu->aboutToShow();
        return std::vector<bool>{Accion("Edici\u00f3nCortar")->isEnabled(), Accion("Edici\u00f3nCopiar")->isEnabled(),
                                 Accion("Edici\u00f3nPegar")->isEnabled()};
    };
    QApplication::clipboard()->clear();
    editor->ponTexto(QStringLiteral("uno dos"));
    EXPECT_EQ(activas(), (std::vector<bool>{false, false, false}));
    QTextCursor c = editor->Text1->textCursor();
    c.setPosition(0);
    c.setPosition(3, QTextCursor::KeepAnchor);
    editor->Text1->setTextCursor(c);
    EXPECT_EQ(activas(), (std::vector<bool>{true, true, false}));
    Accion("Edici\u00f3nCopiar")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("uno"));
    Accion("Edici\u00f3nCortar")->trigger();
    EXPECT_EQ(editor->texto(), QStringLiteral(" dos"));
    EXPECT_EQ(activas(), (std::vector<bool>{false, false, true}));
    editor->Text1->moveCursor(QTextCursor::End);
    Accion("Edici\u00f3nPegar")->trigger();
    EXPECT_EQ(editor->texto(), QStringLiteral(" dosuno"));
    // one check mark a menu
    Accion("Tama\u00f1o_2")->trigger();
    EXPECT_FALSE(Accion("Tama\u00f1o_1")->isChecked());
    EXPECT_EQ(editor->Text1->font().pointSize(), 12);
}

TEST_F(EditorPrueba, AtajosDelMenuGananAlCuadroDeTexto) {
    editor->show();
    QApplication::setActiveWindow(editor);
    editor->Text1->setFocus();
    editor->ponTexto(QStringLiteral("abc"));
    QTest::keyClick(editor->Text1, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_NE(DialogoReemplazo(), nullptr);
    EXPECT_EQ(editor->texto(), QStringLiteral("abc"));
    DialogoReemplazo()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    editor->Text1->setFocus();
    dialogos.respuestas = {false};
    QTest::keyClick(editor->Text1, Qt::Key_S, Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(editor.isNull());
}

TEST_F(EditorPrueba, Imprimir) {
    editor->ponTexto(QStringLiteral("a\nb"));
    dialogos.impresiones = {Impresion{2, false}};
    Accion("FicheroImprimir")->trigger();
    ASSERT_EQ(dialogos.documentos.size(), 1u);
    EXPECT_EQ(dialogos.documentos[0], QStringLiteral("\r\n\r\n\r\n\r\na\r\nb\r\n\r\n\r\n\r\n\r\na\r\nb\r\n"));

    dialogos.impresiones = {Impresion{1, true}, std::nullopt};
    Accion("FicheroImprimir")->trigger();
    EXPECT_EQ(dialogos.ultimoMensaje(), QStringLiteral(" Opci\u00f3n no disponible. "));
    Accion("FicheroImprimir")->trigger();
    dialogos.impresoraFalla = true;
    dialogos.impresiones = {Impresion{1, false}};
    Accion("FicheroImprimir")->trigger();
    EXPECT_EQ(dialogos.ultimoMensaje(), QStringLiteral("La impresora no responde"));
    EXPECT_EQ(dialogos.documentos.size(), 1u);
    // no printer at all: said before any dialog
    dialogos.impresoras = 0;
    Accion("FicheroImprimir")->trigger();
    EXPECT_EQ(dialogos.ultimoMensaje(), QStringLiteral(" No hay ninguna impresora disponible. "));
    EXPECT_TRUE(dialogos.impresiones.empty());
}

// The real printer path: a job that cannot start is an error, never a silent success.
TEST(DialogosQt, UnTrabajoQueNoEmpiezaEsUnError) {
    DialogosQt d;
    if (d.hayImpresora()) GTEST_SKIP() << "hay una impresora instalada";
    QString error;
    EXPECT_FALSE(d.imprime(QStringLiteral("texto"), error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(ReemplazaCaracteres, Algoritmo) {
    struct Caso {
        const char16_t *texto, *buscado, *por, *resultado;
    } casos[] = {
        {u"1,5,2", u",", u".", u"1.5.2"},
        {u"abc", u"b", u"b", u"abc"},
        {u"abc", u"x", u"y", u"abc"},
        {u"abab", u"ab", u"x", u"xbxb"},
        {u"a,b", u",", u"XYZ", u"aXY"},
        {u"aaa", u"a", u"aa", u"aaa"},
        {u"Aa", u"a", u"b", u"Ab"},
        {u"", u"a", u"b", u""},
        // the search goes on after the overwritten stretch, and the length never changes
        {u"ab", u"a", u"xa", u"xa"},
        {u"aab", u"a", u"xa", u"xab"},
        {u"abc", u"b", u"", u"abc"}, // empty replacement: unchanged, no endless loop
    };
    for (const Caso& c : casos)
        EXPECT_EQ(ReemplazaCaracteres(c.texto, c.buscado, c.por), std::u16string(c.resultado));
}

TEST_F(EditorPrueba, DialogoReemplazar) {
    const QString ruta = Crea(QStringLiteral("r.txt"), "1,5,2");
    Abre(ruta);
    Accion("Reemplazar")->trigger();
    Reemplaza* d = DialogoReemplazo();
    ASSERT_NE(d, nullptr);
    // the dialog shows its whole title and keeps its buttons off the edges
    d->show();
    EXPECT_GE(d->width(), d->fontMetrics().horizontalAdvance(d->windowTitle()) + 100);
    for (QPushButton* b : d->findChildren<QPushButton*>())
        EXPECT_TRUE(d->rect().adjusted(9, 9, -9, -9).contains(b->geometry())) << b->text().toStdString();
    d->Text1->setText(QStringLiteral(","));
    d->findChild<QPushButton*>(QStringLiteral("btnAccept"))->click();
    EXPECT_EQ(dialogos.ultimoMensaje(), QStringLiteral("\u00a1Las dos celdas han de contener un caracter!"));
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(editor->texto(), QStringLiteral("1,5,2"));
    Accion("Reemplazar")->trigger();
    DialogoReemplazo()->Text1->setText(QStringLiteral("."));
    DialogoReemplazo()->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
    EXPECT_EQ(editor->texto(), QStringLiteral("1,5,2"));
    delete DialogoReemplazo();

    struct Caso {
        QString texto, buscado, por, resultado;
    } casos[] = {
        {QStringLiteral("1,5,2"), QStringLiteral(","), QStringLiteral("."), QStringLiteral("1.5.2")},
        // on the text as its file holds it, a line end two characters: "x" CR LF "foo" gives "abcfoo"
        {QStringLiteral("x\nfoo"), QStringLiteral("x"), QStringLiteral("abc"), QStringLiteral("abcfoo")},
        {QStringLiteral("x\nfoo"), QStringLiteral("x"), QStringLiteral("ab"), QStringLiteral("ab\nfoo")},
    };
    for (const Caso& c : casos) {
        editor->ponTexto(c.texto);
        Accion("Reemplazar")->trigger();
        DialogoReemplazo()->Text1->setText(c.buscado);
        DialogoReemplazo()->Text2->setText(c.por);
        DialogoReemplazo()->findChild<QPushButton*>(QStringLiteral("btnAccept"))->click();
        EXPECT_EQ(editor->texto(), c.resultado) << c.texto.toStdString();
        delete DialogoReemplazo();
    }
    dialogos.respuestas = {false};
    editor->close();
    EXPECT_EQ(dialogos.preguntas.back(), Pregunta);
    EXPECT_EQ(Lee(ruta), "1,5,2");
}

// The editor's lifecycle with the main window.
class ConLaVentana : public ::testing::Test {
protected:
    DialogosPrueba dialogos;
    Aplicacion app{dialogos};
    QTemporaryDir carpeta;
    void Pulsa(const char* nombre) { app.ventana().findChild<QPushButton*>(QString::fromLatin1(nombre))->click(); }
    std::string Lee(const QString& ruta) const { return LeeFichero(ruta.toStdString()); }
};

TEST_F(ConLaVentana, LosComandosDeFicheroCreanElEditorOculto) {
    EXPECT_EQ(app.editor(), nullptr);
    dialogos.rutasAbrir.push_back(std::nullopt);
    Pulsa("Input");
    ASSERT_NE(app.editor(), nullptr);
    EXPECT_FALSE(app.editor()->isVisible());
    app.editor()->ponTexto(QStringLiteral("estado"));
    Pulsa("Command2");
    EXPECT_TRUE(app.editor()->isVisible());
    EXPECT_EQ(app.editor()->texto(), QStringLiteral("estado"));
    EXPECT_EQ(app.editor()->windowModality(), Qt::ApplicationModal);
    dialogos.respuestas = {false};
    app.editor()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app.editor(), nullptr);
    Pulsa("Command2");
    ASSERT_NE(app.editor(), nullptr);
    EXPECT_EQ(app.editor()->texto(), QString());
}

TEST_F(ConLaVentana, ElEditorNoSobreescribeEnSilencioLosFicherosDeLaVentana) {
    const QString entrada = carpeta.filePath(QStringLiteral("entrada.txt"));
    EscribeFichero(entrada.toStdString(), "3\r\n40,-3,0");
    dialogos.rutasAbrir.push_back(entrada);
    Pulsa("Input");
    EXPECT_EQ(app.ventana().rutas().NombreAbrir, entrada);
    Pulsa("Command2");
    app.editor()->ponTexto(QStringLiteral("otra cosa"));
    // Yes to saving, No to overwriting the input file, then Save As elsewhere
    dialogos.respuestas = {true, false};
    dialogos.rutasGuardar = {carpeta.filePath(QStringLiteral("otra.txt"))};
    app.editor()->close();
    EXPECT_EQ(Lee(entrada), "3\r\n40,-3,0");
    EXPECT_EQ(Lee(carpeta.filePath(QStringLiteral("otra.txt"))), "otra cosa\r\n");
    // the question says which of the main window's commands chose the file
    EXPECT_EQ(dialogos.preguntas.back(), QStringLiteral(" \u00a1El Fichero ya existe! \r\n \u00bfDesea sobreescribirlo? \r\n ") + entrada +
                                             QStringLiteral(" \r\n (elegido con \u00abEntrada por fichero\u00bb de la ventana principal)"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app.editor(), nullptr);

    const QString salida = carpeta.filePath(QStringLiteral("salida.txt"));
    dialogos.rutasGuardar = {salida};
    Pulsa("Output");
    const std::string escrito = Lee(salida);
    Pulsa("Command2");
    app.editor()->ponTexto(QStringLiteral("texto"));
    dialogos.respuestas = {false};
    dialogos.rutasGuardar = {std::nullopt};
    app.editor()->findChild<QAction*>(QStringLiteral("FicheroGu"))->trigger();
    EXPECT_EQ(Lee(salida), escrito);
    EXPECT_TRUE(app.editor()->GuardarCancelado());
    EXPECT_TRUE(dialogos.preguntas.back().endsWith(QStringLiteral("\u00abSalida por fichero\u00bb de la ventana principal)")));
    dialogos.respuestas = {true};
    app.editor()->findChild<QAction*>(QStringLiteral("FicheroGu"))->trigger();
    EXPECT_EQ(Lee(salida), "texto\r\n");
    app.editor()->findChild<QAction*>(QStringLiteral("FicheroGu"))->trigger(); // its own file now
    EXPECT_EQ(dialogos.preguntas.size(), 4u);
}

} // namespace
