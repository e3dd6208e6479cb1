#include "shell/aplicacion.h"
#include "shell/informacion.h"
#include "window/dialogos_qt.h"

#include <QApplication>

#include <memory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvalo"));
    QApplication::setWindowIcon(IconoOrvalo(64));
    DialogosQt dialogos;
    std::unique_ptr<Aplicacion> aplicacion;
    auto* inicio = new Inicio;
    inicio->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(inicio, &Inicio::terminado, [&] {
        aplicacion = std::make_unique<Aplicacion>(dialogos);
        aplicacion->ventana().show();
    });
    inicio->show();
    return QApplication::exec();
}
