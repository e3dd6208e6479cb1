// Screenshots of the windows as a person sees them (run under Xvfb by scripts/capturas.sh):
// the main window with 40 points transformed and the cursor on point 25, the editor, its
// replacement dialog, the open dialog, the editor's context menu and close question, the help
// and the About window.
#include "aplicacion/aplicacion.h"
#include "ventana/dialogos_qt.h"
#include "ventana/ficheros_qt.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

// 40 geodetic ED50 points, read as "Entrada por fichero" reads them and transformed.
void CuarentaPuntos(Aplicacion& aplicacion, const QTemporaryDir& carpeta) {
    const QString ruta = carpeta.filePath(QStringLiteral("puntos.txt"));
    std::string puntos = "3";
    for (int i = 0; i < 40; ++i)
        puntos += "\r\n40." + std::to_string(10 + i) + ",-3." + std::to_string(10 + i) + "," + std::to_string(100 + i);
    if (!GuardaAtomico(ruta, puntos)) return;
    aplicacion.cargaFichero(ruta);
    aplicacion.ventana().findChild<QPushButton*>(QStringLiteral("Transform_2"))->click();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    QStandardPaths::setTestModeEnabled(true); // the user's chosen method stays untouched
    const QString carpeta = QString::fromLocal8Bit(argv[1]);
    DialogosQt dialogos; // the real dialogs, as a person sees them
    Aplicacion aplicacion(dialogos);
    Main& v = aplicacion.ventana();
    v.show();
    QTemporaryDir temporal;
    CuarentaPuntos(aplicacion, temporal);
    auto* caja7 = v.findChild<QPlainTextEdit*>(QStringLiteral("Coord_7"));
    caja7->setFocus();
    caja7->setTextCursor(QTextCursor(caja7->document()->findBlockByNumber(24)));

    auto captura = [&](const char* nombre) {
        QApplication::primaryScreen()->grabWindow(0).save(carpeta + QLatin1Char('/') + QLatin1String(nombre) + QStringLiteral(".png"));
    };
    auto pulsa = [&](const char* boton) { v.findChild<QPushButton*>(QLatin1String(boton))->click(); };
    auto modal = [] { return QApplication::activeModalWidget(); };
    auto editor = [&] { return aplicacion.editor(); };
    // a real dialog blocks: it is opened from a timer of its own, so that the steps go on
    auto dispara = [&](const char* accion) {
        QTimer::singleShot(0, [&, accion] { editor()->findChild<QAction*>(QLatin1String(accion))->trigger(); });
    };
    auto* metodo = v.findChild<QComboBox*>(QStringLiteral("Metodo"));
    const std::vector<std::function<void()>> pasos = {
        [&] { captura("ventana"); metodo->setCurrentIndex(1); },
        [&] { captura("ventana-rejilla"); metodo->setCurrentIndex(0); pulsa("Command2"); },
        [&] { captura("editor"); editor()->findChild<QAction*>(QStringLiteral("Reemplazar"))->trigger(); },
        [&] { captura("reemplaza"); modal()->close(); dispara("FicheroAbrir"); },
        [&] {
            captura("dialogo-abrir");
            auto* d = qobject_cast<QFileDialog*>(modal());
            std::printf("di\u00e1logo de ficheros: %dx%d\n", d->width(), d->height());
            d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("README.md"));
            static_cast<QDialog*>(d)->accept();
        },
        [&] {
            auto* caja = editor()->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
            caja->appendPlainText(QStringLiteral("cambio"));
            QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(60, 60), caja->mapToGlobal(QPoint(60, 60)));
            QApplication::sendEvent(caja->viewport(), &menu);
        },
        [&] { captura("editor-menu"); QApplication::activePopupWidget()->close(); dispara("FicheroSalir"); },
        [&] { captura("editor-cerrar"); qobject_cast<QMessageBox*>(modal())->button(QMessageBox::No)->click(); pulsa("Help"); },
        [&] { captura("ayuda"); modal()->close(); pulsa("Command1"); },
        [&] { captura("acerca"); modal()->close(); v.resize(QApplication::primaryScreen()->availableSize()); },
        [&] { captura("ventana-grande"); QApplication::quit(); },
    };
    std::size_t paso = 0;
    QTimer reloj;
    QObject::connect(&reloj, &QTimer::timeout, [&] { pasos[paso++](); });
    reloj.start(800);
    return QApplication::exec();
}
