#include "editor_prueba.h"
#include "editor/reemplaza.h"
#include "aplicacion/aplicacion.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString Pregunta = QStringLiteral(" \u00bfDesea guardar cambios? ");

// What is read is shown as it stands, and saved back byte for byte, a missing final line end
// added in the file's own style (CR LF where it has none).
TEST_F(EditorPrueba, AbrirYGuardar) {
    struct Caso { const char* nombre; std::string contenido; QString texto; std::string guardado; } casos[] = {
        {"vac\u00edo", "", QString(), "\r\n"},
        {"CR LF", "3\r\n1,2,3\r\n", QStringLiteral("3\n1,2,3\n"), "3\r\n1,2,3\r\n"},
        {"CR LF sin final gana uno", "3\r\n1,2,3", QStringLiteral("3\n1,2,3"), "3\r\n1,2,3\r\n"},
        {"LF sin final gana uno", "3\n1,2,3", QStringLiteral("3\n1,2,3"), "3\n1,2,3\n"},
        {"finales mezclados", "a\r\nb\nc\rd\r\n", QStringLiteral("a\nb\nc\nd\n"), "a\r\nb\nc\rd\r\n"},
        {"Latin-1 y espacio duro", "a\xf1o\xa0\r\n", QStringLiteral("a\u00f1o\u00a0\n"), "a\xf1o\xa0\r\n"},
        {"UTF-8 demasiado largo es Latin-1", "\xc1\x81", QStringLiteral("\u00c1\u0081"), "\xc1\x81\r\n"},
        {"UTF-8 de tres bytes demasiado largo es Latin-1", "\xe0\x80\xaf", QStringLiteral("\u00e0\u0080\u00af"), "\xe0\x80\xaf\r\n"},
        {"suplente en UTF-8 es Latin-1", "\xed\xa0\x80", QStringLiteral("\u00ed\u00a0\u0080"), "\xed\xa0\x80\r\n"},
        {"UTF-8", "\xc3\xb1", QStringLiteral("\u00f1"), "\xc3\xb1\r\n"},
    };
    const QString copia = Ruta(QStringLiteral("copia.txt"));
    for (const Caso& c : casos) {
        const QString ruta = Crea(QStringLiteral("f.txt"), c.contenido);
        Abre(ruta);
        EXPECT_EQ(Texto(), c.texto) << c.nombre;
        EXPECT_EQ(editor->windowTitle(), QStringLiteral("Orvalo - Editor de texto - ") + ruta) << c.nombre;
        rutas.NombreGuardar.clear(); // as a new editor has it: Guardar asks for a name
        if (QFileInfo::exists(copia)) dialogos.respuestas = {true};
        Guarda(copia, "FicheroGu");
        Accion("FicheroGu")->trigger(); // saving again adds nothing
        EXPECT_EQ(Lee(copia), c.guardado) << c.nombre;
    }
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Orvalo - Editor de texto - ") + copia);
    EXPECT_TRUE(dialogos.mensajes.empty());

    // past the editor's limit (a missing file: the window's test), then cancelled: the text stays
    const QString grande = Crea(QStringLiteral("grande.txt"), "");
    ASSERT_TRUE(QFile::resize(grande, qint64(65) << 20));
    Abre(grande);
    EXPECT_EQ(dialogos.ultimoMensaje(), QStringLiteral(" \u00a1El fichero es demasiado grande! "));
    Abre(std::nullopt);
    EXPECT_EQ(Texto(), QStringLiteral("\u00f1"));
}

// A Latin-1 file stays Latin-1 with its line ends; when Latin-1 can no longer carry the text
// the editor asks once before saving it as UTF-8, and No saves nothing.
TEST_F(EditorPrueba, CambioDeCodificacionPreguntado) {
    const QString ruta = Crea(QStringLiteral("l.txt"), "a\xf1o\n");
    Abre(ruta);
    Pon(Texto() + QStringLiteral("b"));
    dialogos.respuestas = {true};
    Guarda(ruta);
    EXPECT_EQ(Lee(ruta), "a\xf1o\nb\n");
    Pon(QStringLiteral("a\u00f1o \u20ac\n"));
    dialogos.respuestas = {false}; // not as UTF-8
    Accion("FicheroGu")->trigger();
    EXPECT_TRUE(dialogos.preguntas.back().contains(QStringLiteral("UTF-8")));
    EXPECT_EQ(Lee(ruta), "a\xf1o\nb\n");
    dialogos.respuestas = {true};
    Accion("FicheroGu")->trigger();
    EXPECT_EQ(Lee(ruta), "a\xc3\xb1o \xe2\x82\xac\n");
    Pon(Texto() + QStringLiteral("\u03bb"));
    Accion("FicheroGu")->trigger(); // asked once: a second question has no answer
    EXPECT_EQ(Lee(ruta), "a\xc3\xb1o \xe2\x82\xac\n\xce\xbb\n");
}

// Guardar asks before writing over a file this editor never saw, chosen in Save As or by the
// main window's Salida por fichero; No goes on as Save As (after its own No, opened where it was).
TEST_F(EditorPrueba, GuardarPreguntaAntesDeSobreescribir) {
    struct Caso { const char* nombre; bool porVentana, existe; std::deque<bool> respuestas; std::string queda; } casos[] = {
        {"Guardar como, No", false, true, {false}, "anterior"},
        {"Guardar como, S\u00ed", false, true, {true}, "nuevo\r\n"},
        // once written it is the editor's own: saving again asks nothing
        {"de la ventana, S\u00ed", true, true, {true}, "nuevo\r\n"},
        {"de la ventana, sin fichero: nada que preguntar", true, false, {}, "nuevo\r\n"},
    };
    const QString ruta = Ruta(QStringLiteral("e.txt"));
    for (const Caso& c : casos) {
        QFile::remove(ruta);
        if (c.existe) Crea(QStringLiteral("e.txt"), "anterior");
        rutas.NombreGuardar = c.porVentana ? ruta : QString();
        rutas.guardarPorVentana = c.porVentana;
        Pon(QStringLiteral("nuevo"));
        dialogos.respuestas = c.respuestas;
        dialogos.rutasGuardar.clear();
        if (!c.porVentana) dialogos.rutasGuardar.push_back(ruta);
        const bool no = !c.respuestas.empty() && !c.respuestas.back();
        if (no) dialogos.rutasGuardar.push_back(std::nullopt);
        Accion("FicheroGu")->trigger();
        EXPECT_EQ(Lee(ruta), c.queda) << c.nombre;
        EXPECT_TRUE(dialogos.respuestas.empty() && dialogos.rutasGuardar.empty()) << c.nombre;
        if (no && !c.porVentana) { EXPECT_EQ(dialogos.inicialesGuardar.back(), ruta) << c.nombre; }
        if (!no) Accion("FicheroGu")->trigger();
    }
}

// Closing saves where the user last saved (the opened file until then), and asks nothing right
// after a save.
TEST_F(EditorPrueba, Cerrar) {
    // pasos: C the text changed, G saved as b.txt; a, b: the files afterwards
    struct Caso { const char* nombre; const char* pasos; std::deque<bool> respuestas; std::string a, b; } casos[] = {
        {"sin cambios cierra sin preguntar", "", {}, "1,2,3\r\n", ""},
        {"No cierra sin guardar", "C", {false}, "1,2,3\r\n", ""},
        {"S\u00ed guarda sobre el fichero abierto", "C", {true}, "1,2,3x\r\n", ""},
        {"guardado: nada que preguntar", "CG", {}, "1,2,3\r\n", "1,2,3x\r\n"},
        {"S\u00ed guarda donde se guard\u00f3", "GC", {true}, "1,2,3\r\n", "1,2,3x\r\n"},
    };
    const QString b = Ruta(QStringLiteral("b.txt"));
    for (const Caso& c : casos) {
        delete editor;
        editor = new Editor(dialogos, rutas);
        QFile::remove(b);
        const QString a = Crea(QStringLiteral("a.txt"), "1,2,3\r\n");
        Abre(a);
        for (const char* p = c.pasos; *p; ++p) {
            if (*p == 'C') Pon(QStringLiteral("1,2,3x")); else Guarda(b);
        }
        dialogos.respuestas = c.respuestas;
        Cierra();
        EXPECT_TRUE(dialogos.respuestas.empty()) << c.nombre; // asked as often as answered
        if (!c.respuestas.empty()) {
            EXPECT_EQ(dialogos.preguntas.back(), Pregunta + QStringLiteral("\r\n ") + (c.b.empty() ? a : b)) << c.nombre;
        }
        EXPECT_EQ(Lee(a), c.a) << c.nombre;
        EXPECT_EQ(Lee(b), c.b) << c.nombre;
        EXPECT_TRUE(editor.isNull()) << c.nombre;
    }
    // nothing opened: Yes runs Save As; one whose write fails keeps the editor open with its
    // text, and says why
    editor = new Editor(dialogos, rutas);
    Pon(QStringLiteral("trabajo"));
    dialogos.respuestas = {true};
    dialogos.rutasGuardar = {Ruta(QStringLiteral("no/hay/carpeta.txt"))};
    Cierra();
    ASSERT_FALSE(editor.isNull());
    EXPECT_EQ(Texto(), QStringLiteral("trabajo"));
    EXPECT_EQ(dialogos.preguntas.back(), Pregunta);
    EXPECT_EQ(dialogos.ultimoMensaje(), QStringLiteral(" \u00a1Se ha producido un error al guardar el archivo! \r\n La carpeta no existe."));
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
    Caja()->selectAll();
    EXPECT_EQ(activas(), (std::vector<bool>{true, true, false}));
    Accion("Edici\u00f3nCopiar")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("uno dos"));
    Accion("Edici\u00f3nCortar")->trigger();
    EXPECT_EQ(Texto(), QString());
    EXPECT_EQ(activas(), (std::vector<bool>{false, false, true}));
    Accion("Edici\u00f3nPegar")->trigger();
    Accion("Edici\u00f3nPegar")->trigger();
    EXPECT_EQ(Texto(), QStringLiteral("uno dosuno dos"));
    // one check mark a menu
    Accion("Tama\u00f1o_2")->trigger();
    EXPECT_FALSE(Accion("Tama\u00f1o_1")->isChecked());
    EXPECT_EQ(Caja()->font().pointSize(), 12);
}

// The menu's Ctrl keys win over the box's own (Ctrl+Z is Reemplazar, Ctrl+S Salir). Reemplazar
// works on the text as its file holds it, a line end two characters ("x" CR LF "foo", "abc"
// for "x", gives "abcfoo"), in one undo step whose key the context menu's Deshacer shows.
TEST_F(EditorPrueba, TeclasYReemplazo) {
    editor->show();
    QApplication::setActiveWindow(editor);
    Caja()->setFocus();
    Pon(QStringLiteral("x\nfoo"));
    QTest::keyClick(Caja(), Qt::Key_Z, Qt::ControlModifier);
    Reemplaza* d = editor->findChild<Reemplaza*>();
    ASSERT_NE(d, nullptr);
    // the dialog shows its whole title, keeps its buttons off the edges, the two of one width
    EXPECT_GE(d->width(), d->fontMetrics().horizontalAdvance(d->windowTitle()) + 100);
    const auto botones = d->findChildren<QPushButton*>();
    ASSERT_EQ(botones.size(), 2);
    EXPECT_EQ(botones[0]->width(), botones[1]->width());
    for (QPushButton* b : botones)
        EXPECT_TRUE(d->rect().adjusted(9, 9, -9, -9).contains(b->geometry())) << b->text().toStdString();
    d->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("x"));
    d->findChild<QPushButton*>(QStringLiteral("btnAccept"))->click();
    EXPECT_EQ(dialogos.ultimoMensaje(), QStringLiteral("\u00a1Las dos celdas han de contener un caracter!"));
    EXPECT_TRUE(d->isVisible());
    d->findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QStringLiteral("abc"));
    d->findChild<QPushButton*>(QStringLiteral("btnAccept"))->click();
    delete editor->findChild<Reemplaza*>();
    Caja()->setFocus();
    ASSERT_EQ(Texto(), QStringLiteral("abcfoo"));
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
    menu->close();
    QTest::keySequence(Caja(), atajo);
    EXPECT_EQ(Texto(), QStringLiteral("x\nfoo"));
    EXPECT_EQ(editor->findChild<Reemplaza*>(), nullptr); // the key did not open Reemplazar
    dialogos.respuestas = {false};
    QTest::keyClick(Caja(), Qt::Key_S, Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(editor.isNull());
}

// Every file dialog opens in the folder of the path last chosen by any of them (an opened one:
// ConLaVentana), also in the next run.
TEST_F(EditorPrueba, LosDialogosAbrenDondeSeTrabaja) {
    Guarda(Ruta(QStringLiteral("s.txt")));
    delete editor; // the next run: only the settings remain
    editor = new Editor(dialogos, rutas);
    Abre(std::nullopt);
    EXPECT_EQ(dialogos.inicialesAbrir.back(), carpeta.path());
}

// The editor's lifecycle with the main window.
class ConLaVentana : public ::testing::Test {
protected:
    DialogosPrueba dialogos;
    Aplicacion app{dialogos};
    QTemporaryDir carpeta;
    void Pulsa(const char* nombre) { app.ventana().findChild<QPushButton*>(QString::fromLatin1(nombre))->click(); }
    QPlainTextEdit* Caja() const { return app.editor()->findChild<QPlainTextEdit*>(QStringLiteral("Text1")); }
};

// The file commands create the editor hidden; Editar shows it as it was. It never writes over
// the main window's files without asking.
TEST_F(ConLaVentana, LosFicherosDeLaVentana) {
    const QString entrada = carpeta.filePath(QStringLiteral("entrada.txt"));
    EscribeFichero(entrada.toStdString(), "3\r\n40,-3,0");
    EXPECT_EQ(app.editor(), nullptr);
    dialogos.rutasAbrir.push_back(entrada);
    Pulsa("Input");
    ASSERT_NE(app.editor(), nullptr);
    EXPECT_FALSE(app.editor()->isVisible());
    Caja()->setPlainText(QStringLiteral("otra cosa"));
    Pulsa("Command2");
    EXPECT_TRUE(app.editor()->isVisible());
    EXPECT_EQ(Caja()->toPlainText(), QStringLiteral("otra cosa"));
    EXPECT_EQ(app.editor()->windowModality(), Qt::ApplicationModal);
    // the editor's dialogs open where the main window's last chose
    dialogos.rutasAbrir = {std::nullopt};
    app.editor()->findChild<QAction*>(QStringLiteral("FicheroAbrir"))->trigger();
    EXPECT_EQ(dialogos.inicialesAbrir.back(), carpeta.path());
    // Yes to saving (the input file named), No to overwriting it, then Save As elsewhere
    dialogos.respuestas = {true, false};
    dialogos.rutasGuardar = {carpeta.filePath(QStringLiteral("otra.txt"))};
    app.editor()->close();
    EXPECT_EQ(dialogos.preguntas.front(), QStringLiteral(" \u00bfDesea guardar cambios? \r\n ") + entrada);
    EXPECT_EQ(LeeFichero(entrada.toStdString()), "3\r\n40,-3,0");
    EXPECT_EQ(LeeFichero(carpeta.filePath(QStringLiteral("otra.txt")).toStdString()), "otra cosa\r\n");
    // the question says which of the main window's commands chose the file
    EXPECT_EQ(dialogos.preguntas.back(), QStringLiteral(" \u00a1El Fichero ya existe! \r\n \u00bfDesea sobreescribirlo? \r\n ") + entrada +
                                             QStringLiteral(" \r\n (elegido con \u00abEntrada por fichero\u00bb de la ventana principal)"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app.editor(), nullptr);

    const QString salida = carpeta.filePath(QStringLiteral("salida.txt"));
    dialogos.rutasGuardar = {salida};
    Pulsa("Output");
    const std::string escrito = LeeFichero(salida.toStdString());
    Pulsa("Command2");
    EXPECT_EQ(Caja()->toPlainText(), QString()); // a new editor
    Caja()->setPlainText(QStringLiteral("texto"));
    dialogos.respuestas = {false};
    dialogos.rutasGuardar = {std::nullopt};
    app.editor()->findChild<QAction*>(QStringLiteral("FicheroGu"))->trigger();
    EXPECT_EQ(LeeFichero(salida.toStdString()), escrito);
    EXPECT_TRUE(dialogos.preguntas.back().endsWith(QStringLiteral("\u00abSalida por fichero\u00bb de la ventana principal)")));
}

} // namespace
