#include "window/dialogos_qt.h"
#include "window/main.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvalo"));
    DialogosQt dialogos;
    Main ventana(dialogos);
    ventana.show();
    return QApplication::exec();
}
