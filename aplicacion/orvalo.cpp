#include "aplicacion/aplicacion.h"
#include "aplicacion/informacion.h"
#include "ficheros/ficheros.h"
#include "ventana/dialogos_qt.h"

#include <QApplication>

#include <cstdio>
#include <memory>
#include <optional>

int main(int argc, char** argv) {
    IgnoraSenalesDeEscritura(); // a pipe whose reader quit or a file-size limit: a reported save error
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvalo"));
    QApplication::setOrganizationName(QStringLiteral("Orvalo")); // where the chosen method is kept
    QApplication::setWindowIcon(IconoOrvalo(64));
    // orvalo [FICHERO]: the file is read as "Entrada por fichero" reads it, once the window is up
    const QStringList argumentos = QApplication::arguments();
    if (argumentos.size() > 2) {
        std::fputs("uso: orvalo [FICHERO]\n", stderr);
        return 2;
    }
    const std::optional<QString> fichero =
        argumentos.size() == 2 ? std::optional<QString>(argumentos[1]) : std::nullopt;
    DialogosQt dialogos; // it installs Qt's Spanish catalogue: the standard dialogs and menus speak Spanish
    std::unique_ptr<Aplicacion> aplicacion;
    auto* inicio = new Inicio;
    inicio->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(inicio, &Inicio::terminado, [&] {
        aplicacion = std::make_unique<Aplicacion>(dialogos);
        aplicacion->ventana().show();
        if (fichero) aplicacion->cargaFichero(*fichero);
    });
    inicio->show();
    return QApplication::exec();
}
