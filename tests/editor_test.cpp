#include "dialogos_prueba.h"
#include "editor/editor.h"
#include "editor/reemplaza.h"
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

#include <unistd.h>

namespace {

const QString Pregunta = QStringLiteral(" \u00bfDesea guardar cambios? ");
const QString NoSeAbre = QStringLiteral(" \u00a1Se ha producido un error al abrir el archivo! ");
const QString NoSeGuarda = QStringLiteral(" \u00a1Se ha producido un error al guardar el archivo! ");
const QString PreguntaUtf8 =
    QStringLiteral(" El fichero se abri\u00f3 en Latin-1 y el texto tiene caracteres que Latin-1 no admite: "
                   "se guardar\u00e1 en UTF-8. \r\n \u00bfDesea guardarlo as\u00ed? ");

// The editor as a person uses it: its menu items and its text box, found by their names.
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
    QPlainTextEdit* Caja() const { return editor->findChild<QPlainTextEdit*>(QStringLiteral("Text1")); }
    // every character as it stands, no-break spaces too; lines ended by LF
    QString Texto() const { return Caja()->document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')); }
    void Pon(const QString& texto) const { Caja()->setPlainText(texto); }
    void Abre(const QString& ruta) {
        dialogos.rutasAbrir.push_back(ruta);
        Accion("FicheroAbrir")->trigger();
    }
    void Cierra() {
        editor->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    Reemplaza* DialogoReemplazo() const { return editor->findChild<Reemplaza*>(); }
    void Reemplazar(const QString& buscado, const QString& por) {
        Accion("Reemplazar")->trigger();
        DialogoReemplazo()->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(buscado);
        DialogoReemplazo()->findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(por);
        DialogoReemplazo()->findChild<QPushButton*>(QStringLiteral("btnAccept"))->click();
        delete DialogoReemplazo();
    }
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
        EXPECT_EQ(Texto(), c.texto) << c.nombre;
        EXPECT_EQ(editor->windowTitle(), QStringLiteral("Orvalo - Editor de texto - ") + ruta) << c.nombre;
        EXPECT_EQ(rutas.NombreAbrir, ruta) << c.nombre;
    }
    EXPECT_TRUE(dialogos.mensajes.empty());

    QFile grande(Ruta(QStringLiteral("grande.txt")));
    ASSERT_TRUE(grande.open(QIODevice::WriteOnly) && grande.resize(qint64(65) << 20));
    grande.close();
    const QString ilegible = Crea(QStringLiteral("ilegible.txt"), "x");
    QFile::setPermissions(ilegible, QFileDevice::WriteOwner);
    // the reason the file layer knows, on a line of its own
    struct Fallo {
        QString ruta;
        QString mensaje;
    } fallos[] = {
        {Ruta(QStringLiteral("no-existe.txt")), NoSeAbre + QStringLiteral("\r\n El fichero no existe.")},
        {carpeta.path(), NoSeAbre + QStringLiteral("\r\n Es una carpeta.")},
        {ilegible, NoSeAbre + QStringLiteral("\r\n No tiene permiso para leerlo.")},
        {grande.fileName(), QStringLiteral(" \u00a1El fichero es demasiado grande! ")},
    };
    for (const Fallo& f : fallos) {
        if (f.ruta == ilegible && ::geteuid() == 0) continue; // root reads it anyway
        Abre(f.ruta);
        EXPECT_EQ(dialogos.ultimoMensaje(), f.mensaje) << f.ruta.toStdString();
        EXPECT_EQ(Texto(), QStringLiteral("\u00f1"));
    }
    dialogos.rutasAbrir.push_back(std::nullopt);
    Accion("FicheroAbrir")->trigger();
    EXPECT_EQ(Texto(), QStringLiteral("\u00f1"));
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
    const QString copia = Ruta(QStringLiteral("copia.txt"));
    for (const Caso& c : casos) {
        delete editor;
        editor = new Editor(dialogos, rutas);
        Abre(Crea(QStringLiteral("g.txt"), c.contenido));
        dialogos.rutasGuardar.push_back(copia);
        if (QFileInfo::exists(copia)) dialogos.respuestas.push_back(true);
        Accion("FicheroGu")->trigger(); // right after Abrir it asks for a name
        EXPECT_EQ(Lee(copia), c.guardado) << c.nombre;
        Accion("FicheroGu")->trigger(); // saving again adds nothing
        EXPECT_EQ(Lee(copia), c.guardado) << c.nombre;
    }
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Orvalo - Editor de texto - ") + copia);
}

// A Latin-1 file stays Latin-1 with its line ends; when Latin-1 can no longer carry the text
// the editor asks once before saving it as UTF-8, and No saves nothing.
TEST_F(EditorPrueba, CambioDeCodificacionPreguntado) {
    const QString ruta = Crea(QStringLiteral("l.txt"), "a\xf1o\n");
    Abre(ruta);
    Pon(Texto() + QStringLiteral("b"));
    dialogos.rutasGuardar = {ruta};
    dialogos.respuestas = {true};
    Accion("FicheroGuardar")->trigger();
    EXPECT_EQ(Lee(ruta), "a\xf1o\nb\n");
    EXPECT_TRUE(dialogos.mensajes.empty());

    Pon(QStringLiteral("a\u00f1o \u20ac\n"));
    dialogos.respuestas = {false}; // not as UTF-8
    Accion("FicheroGu")->trigger();
    EXPECT_EQ(dialogos.preguntas.back(), PreguntaUtf8);
    EXPECT_EQ(Lee(ruta), "a\xf1o\nb\n");
    dialogos.respuestas = {true, false}; // closing: Yes to saving, No to UTF-8
    Cierra();
    ASSERT_FALSE(editor.isNull()); // the editor stays open with its text
    EXPECT_EQ(dialogos.preguntas.back(), PreguntaUtf8);
    const std::size_t preguntas = dialogos.preguntas.size();
    dialogos.respuestas = {true};
    Accion("FicheroGu")->trigger();
    EXPECT_EQ(Lee(ruta), "a\xc3\xb1o \xe2\x82\xac\n");
    Pon(Texto() + QStringLiteral("\u03bb"));
    Accion("FicheroGu")->trigger(); // asked once
    EXPECT_EQ(dialogos.preguntas.size(), preguntas + 1);
    EXPECT_EQ(Lee(ruta), "a\xc3\xb1o \xe2\x82\xac\n\xce\xbb\n");
}

TEST_F(EditorPrueba, GuardarComoPreguntaAntesDeSobreescribir) {
    const QString existente = Crea(QStringLiteral("e.txt"), "anterior");
    Pon(QStringLiteral("nuevo"));
    dialogos.rutasGuardar = {existente, std::nullopt};
    dialogos.respuestas = {false};
    Accion("FicheroGuardar")->trigger();
    EXPECT_EQ(Lee(existente), "anterior");
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Orvalo - Editor de texto"));
    // after No the dialog opens again where it was, with the same name
    EXPECT_EQ(dialogos.inicialesGuardar.back(), existente);

    dialogos.rutasGuardar = {existente};
    dialogos.respuestas = {true};
    Accion("FicheroGuardar")->trigger();
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
        if (c.cambia) Pon(QStringLiteral("1,2,3x"));
        dialogos.respuestas = c.respuestas;
        const std::size_t preguntas = dialogos.preguntas.size();
        Cierra();
        EXPECT_EQ(dialogos.preguntas.size(), preguntas + c.respuestas.size()) << c.nombre;
        if (c.cambia) { EXPECT_EQ(dialogos.preguntas.back(), Pregunta + QStringLiteral("\r\n ") + ruta) << c.nombre; }
        EXPECT_EQ(Lee(ruta), c.abierto) << c.nombre;
        EXPECT_TRUE(editor.isNull()) << c.nombre;
    }
    // nothing opened: Yes runs Save As; cancelling it keeps the editor open
    editor = new Editor(dialogos, rutas);
    editor->show();
    Pon(QStringLiteral("trabajo"));
    dialogos.respuestas = {true};
    dialogos.rutasGuardar = {std::nullopt};
    Cierra();
    ASSERT_FALSE(editor.isNull());
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(dialogos.preguntas.back(), Pregunta);
    // a Save As whose write fails keeps it open with its text too, and says why
    dialogos.respuestas = {true};
    dialogos.rutasGuardar = {Ruta(QStringLiteral("no/hay/carpeta.txt"))};
    Cierra();
    ASSERT_FALSE(editor.isNull());
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(Texto(), QStringLiteral("trabajo"));
    EXPECT_EQ(dialogos.ultimoMensaje(), NoSeGuarda + QStringLiteral("\r\n La carpeta no existe."));
}

// Closing saves where the user last saved, and asks nothing right after a save.
TEST_F(EditorPrueba, CerrarGuardaDondeSeGuardo) {
    const QString a = Crea(QStringLiteral("a.txt"), "original\r\n");
    const QString b = Ruta(QStringLiteral("b.txt"));
    Abre(a);
    dialogos.rutasGuardar = {b};
    Accion("FicheroGuardar")->trigger();
    Pon(Texto() + QStringLiteral("m\u00e1s"));
    Accion("FicheroGu")->trigger();
    EXPECT_EQ(Lee(b), "original\r\nm\u00e1s\r\n");
    Cierra();
    EXPECT_TRUE(editor.isNull()); // nothing asked: everything was saved
    EXPECT_TRUE(dialogos.preguntas.empty());

    editor = new Editor(dialogos, rutas);
    Abre(a);
    dialogos.rutasGuardar = {b};
    dialogos.respuestas = {true};
    Accion("FicheroGuardar")->trigger();
    Pon(QStringLiteral("otro"));
    dialogos.respuestas = {true};
    Cierra();
    EXPECT_TRUE(editor.isNull());
    EXPECT_EQ(dialogos.preguntas.back(), Pregunta + QStringLiteral("\r\n ") + b);
    EXPECT_EQ(Lee(b), "otro\r\n");
    EXPECT_EQ(Lee(a), "original\r\n");
}

TEST_F(EditorPrueba, Edicion) {
    auto* menu = editor->findChild<QMenu*>(QStringLiteral("Men\u00faEdici\u00f3n"));
    auto activas = [&] { // Cortar, Copiar, Pegar as the menu opens
        emit menu->aboutToShow();
        return std::vector<bool>{Accion("Edici\u00f3nCortar")->isEnabled(), Accion("Edici\u00f3nCopiar")->isEnabled(),
                                 Accion("Edici\u00f3nPegar")->isEnabled()};
    };
    QApplication::clipboard()->clear();
    Pon(QStringLiteral("uno dos"));
    EXPECT_EQ(activas(), (std::vector<bool>{false, false, false}));
    QTextCursor c = Caja()->textCursor();
    c.setPosition(0);
    c.setPosition(3, QTextCursor::KeepAnchor);
    Caja()->setTextCursor(c);
    EXPECT_EQ(activas(), (std::vector<bool>{true, true, false}));
    Accion("Edici\u00f3nCopiar")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("uno"));
    Accion("Edici\u00f3nCortar")->trigger();
    EXPECT_EQ(Texto(), QStringLiteral(" dos"));
    EXPECT_EQ(activas(), (std::vector<bool>{false, false, true}));
    Caja()->moveCursor(QTextCursor::End);
    Accion("Edici\u00f3nPegar")->trigger();
    EXPECT_EQ(Texto(), QStringLiteral(" dosuno"));
    // one check mark a menu
    Accion("Tama\u00f1o_2")->trigger();
    EXPECT_FALSE(Accion("Tama\u00f1o_1")->isChecked());
    EXPECT_EQ(Caja()->font().pointSize(), 12);
}

TEST_F(EditorPrueba, AtajosDelMenuGananAlCuadroDeTexto) {
    editor->show();
    QApplication::setActiveWindow(editor);
    Caja()->setFocus();
    Pon(QStringLiteral("abc"));
    QTest::keyClick(Caja(), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_NE(DialogoReemplazo(), nullptr);
    EXPECT_EQ(Texto(), QStringLiteral("abc"));
    DialogoReemplazo()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Caja()->setFocus();
    dialogos.respuestas = {false};
    QTest::keyClick(Caja(), Qt::Key_S, Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(editor.isNull());
}

// A replacement is one undo step, and the context menu's Deshacer shows a key that does it.
TEST_F(EditorPrueba, DeshacerUnReemplazo) {
    editor->show();
    QApplication::setActiveWindow(editor);
    Caja()->setFocus();
    Pon(QStringLiteral("1,5\n2,5"));
    Reemplazar(QStringLiteral(","), QStringLiteral("."));
    ASSERT_EQ(Texto(), QStringLiteral("1.5\n2.5"));
    // where a right click arrives: the box's viewport
    QContextMenuEvent abre(QContextMenuEvent::Mouse, QPoint(5, 5), Caja()->viewport()->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(Caja()->viewport(), &abre);
    auto* menu = Caja()->findChild<QMenu*>(QStringLiteral("MenuContextual"));
    ASSERT_NE(menu, nullptr);
    QAction* deshacer = menu->findChild<QAction*>(QStringLiteral("edit-undo"));
    ASSERT_NE(deshacer, nullptr);
    EXPECT_TRUE(deshacer->isEnabled());
    const QKeySequence atajo = QKeySequence::fromString(deshacer->text().section(QLatin1Char('\t'), 1), QKeySequence::NativeText);
    ASSERT_EQ(atajo.count(), 1) << deshacer->text().toStdString();
    EXPECT_NE(atajo, QKeySequence(QStringLiteral("Ctrl+Z")));
    menu->close();
    QTest::keySequence(Caja(), atajo);
    EXPECT_EQ(Texto(), QStringLiteral("1,5\n2,5"));
    EXPECT_EQ(DialogoReemplazo(), nullptr); // the key did not open Reemplazar
}

TEST_F(EditorPrueba, DialogoReemplazar) {
    const QString ruta = Crea(QStringLiteral("r.txt"), "1,5,2");
    Abre(ruta);
    Accion("Reemplazar")->trigger();
    Reemplaza* d = DialogoReemplazo();
    ASSERT_NE(d, nullptr);
    // the dialog shows its whole title, keeps its buttons off the edges, the two of one width
    d->show();
    EXPECT_GE(d->width(), d->fontMetrics().horizontalAdvance(d->windowTitle()) + 100);
    const auto botones = d->findChildren<QPushButton*>();
    ASSERT_EQ(botones.size(), 2);
    EXPECT_EQ(botones[0]->width(), botones[1]->width());
    for (QPushButton* b : botones)
        EXPECT_TRUE(d->rect().adjusted(9, 9, -9, -9).contains(b->geometry())) << b->text().toStdString();
    d->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral(","));
    d->findChild<QPushButton*>(QStringLiteral("btnAccept"))->click();
    EXPECT_EQ(dialogos.ultimoMensaje(), QStringLiteral("\u00a1Las dos celdas han de contener un caracter!"));
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(Texto(), QStringLiteral("1,5,2"));
    d->findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QStringLiteral("."));
    d->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
    EXPECT_EQ(Texto(), QStringLiteral("1,5,2"));
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
        Pon(c.texto);
        Reemplazar(c.buscado, c.por);
        EXPECT_EQ(Texto(), c.resultado) << c.texto.toStdString();
    }
    dialogos.respuestas = {false};
    editor->close();
    EXPECT_EQ(dialogos.preguntas.back(), Pregunta + QStringLiteral("\r\n ") + ruta);
    EXPECT_EQ(Lee(ruta), "1,5,2");
}

// Every file dialog opens in the folder of the path last chosen by any of them, also in the
// next run.
TEST_F(EditorPrueba, LosDialogosAbrenDondeSeTrabaja) {
    QTemporaryDir otra;
    const QString ruta = QDir(otra.path()).filePath(QStringLiteral("datos.txt"));
    EscribeFichero(ruta.toStdString(), "1");
    Abre(ruta);
    dialogos.rutasGuardar = {std::nullopt};
    Accion("FicheroGuardar")->trigger();
    EXPECT_EQ(dialogos.inicialesGuardar.back(), otra.path());

    dialogos.rutasGuardar = {carpeta.filePath(QStringLiteral("s.txt"))};
    Accion("FicheroGuardar")->trigger();
    delete editor; // the next run: only the settings remain
    editor = new Editor(dialogos, rutas);
    dialogos.rutasAbrir = {std::nullopt};
    Accion("FicheroAbrir")->trigger();
    EXPECT_EQ(dialogos.inicialesAbrir.back(), carpeta.path());
}

// The editor's lifecycle with the main window.
class ConLaVentana : public ::testing::Test {
protected:
    DialogosPrueba dialogos;
    Aplicacion app{dialogos};
    QTemporaryDir carpeta;
    void Pulsa(const char* nombre) { app.ventana().findChild<QPushButton*>(QString::fromLatin1(nombre))->click(); }
    std::string Lee(const QString& ruta) const { return LeeFichero(ruta.toStdString()); }
    QPlainTextEdit* Caja() const { return app.editor()->findChild<QPlainTextEdit*>(QStringLiteral("Text1")); }
};

TEST_F(ConLaVentana, LosComandosDeFicheroCreanElEditorOculto) {
    EXPECT_EQ(app.editor(), nullptr);
    dialogos.rutasAbrir.push_back(std::nullopt);
    Pulsa("Input");
    ASSERT_NE(app.editor(), nullptr);
    EXPECT_FALSE(app.editor()->isVisible());
    Caja()->setPlainText(QStringLiteral("estado"));
    Pulsa("Command2");
    EXPECT_TRUE(app.editor()->isVisible());
    EXPECT_EQ(Caja()->toPlainText(), QStringLiteral("estado"));
    EXPECT_EQ(app.editor()->windowModality(), Qt::ApplicationModal);
    dialogos.respuestas = {false};
    app.editor()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app.editor(), nullptr);
    Pulsa("Command2");
    ASSERT_NE(app.editor(), nullptr);
    EXPECT_EQ(Caja()->toPlainText(), QString());
}

TEST_F(ConLaVentana, ElEditorNoSobreescribeEnSilencioLosFicherosDeLaVentana) {
    const QString entrada = carpeta.filePath(QStringLiteral("entrada.txt"));
    EscribeFichero(entrada.toStdString(), "3\r\n40,-3,0");
    dialogos.rutasAbrir.push_back(entrada);
    Pulsa("Input");
    Pulsa("Command2");
    // the editor's dialogs open where the main window's last chose
    dialogos.rutasAbrir = {std::nullopt};
    app.editor()->findChild<QAction*>(QStringLiteral("FicheroAbrir"))->trigger();
    EXPECT_EQ(dialogos.inicialesAbrir.back(), carpeta.path());
    Caja()->setPlainText(QStringLiteral("otra cosa"));
    // Yes to saving (the input file named), No to overwriting it, then Save As elsewhere
    dialogos.respuestas = {true, false};
    dialogos.rutasGuardar = {carpeta.filePath(QStringLiteral("otra.txt"))};
    app.editor()->close();
    EXPECT_EQ(dialogos.preguntas.front(), QStringLiteral(" \u00bfDesea guardar cambios? \r\n ") + entrada);
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
    Caja()->setPlainText(QStringLiteral("texto"));
    dialogos.respuestas = {false};
    dialogos.rutasGuardar = {std::nullopt};
    app.editor()->findChild<QAction*>(QStringLiteral("FicheroGu"))->trigger();
    EXPECT_EQ(Lee(salida), escrito);
    EXPECT_TRUE(dialogos.preguntas.back().endsWith(QStringLiteral("\u00abSalida por fichero\u00bb de la ventana principal)")));
    dialogos.respuestas = {true};
    app.editor()->findChild<QAction*>(QStringLiteral("FicheroGu"))->trigger();
    EXPECT_EQ(Lee(salida), "texto\r\n");
    app.editor()->findChild<QAction*>(QStringLiteral("FicheroGu"))->trigger(); // its own file now
    EXPECT_EQ(dialogos.preguntas.size(), 4u);
}

} // namespace
