// Screenshots of the windows as a person sees them (run under Xvfb by scripts/capturas.sh):
// the main window with 40 points transformed and the cursor on point 25, the editor, its
// replacement dialog, the help and the About window.
#include "tests/dialogos_prueba.h"
#include "tests/ventana_prueba.h"
#include "aplicacion/aplicacion.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTimer>

#include <functional>
#include <vector>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    QStandardPaths::setTestModeEnabled(true); // the user's chosen method stays untouched
    const QString carpeta = QString::fromLocal8Bit(argv[1]);
    DialogosPrueba dialogos;
    Aplicacion aplicacion(dialogos);
    Main& v = aplicacion.ventana();
    v.show();
    CuarentaPuntos(v);
    Caja(v, 7)->setFocus();
    Caja(v, 7)->setTextCursor(QTextCursor(Caja(v, 7)->document()->findBlockByNumber(24)));

    auto captura = [&](const char* nombre) {
        QApplication::primaryScreen()->grabWindow(0).save(carpeta + QLatin1Char('/') + QLatin1String(nombre) + QStringLiteral(".png"));
    };
    auto pulsa = [&](const char* boton) { v.findChild<QPushButton*>(QLatin1String(boton))->click(); };
    const std::vector<std::function<void()>> pasos = {
        [&] { captura("ventana"); EleccionMetodo(v)->setCurrentIndex(1); },
        [&] { captura("ventana-rejilla"); EleccionMetodo(v)->setCurrentIndex(0); pulsa("Command2"); },
        [&] { captura("editor"); aplicacion.editor()->findChild<QAction*>(QStringLiteral("Reemplazar"))->trigger(); },
        [&] { captura("reemplaza"); QApplication::activeModalWidget()->close(); aplicacion.editor()->close(); pulsa("Help"); },
        [&] { captura("ayuda"); aplicacion.ultimaModal()->close(); pulsa("Command1"); },
        [&] { captura("acerca"); aplicacion.ultimaModal()->close(); v.resize(QApplication::primaryScreen()->availableSize()); },
        [&] { captura("ventana-grande"); QApplication::quit(); },
    };
    std::size_t paso = 0;
    QTimer reloj;
    QObject::connect(&reloj, &QTimer::timeout, [&] { pasos[paso++](); });
    reloj.start(800);
    return QApplication::exec();
}
