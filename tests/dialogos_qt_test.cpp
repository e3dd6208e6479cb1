// The real file dialog, as a person sees it: where it opens, its size, its columns, its words.
#include "vectores.h"
#include "ventana/dialogos_qt.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

// Runs `mira` on the file dialog once it is up, then cancels it.
void Mira(const std::function<void(QFileDialog&)>& mira) {
    QTimer::singleShot(0, [mira] { // a copy: the caller's function is gone once the dialog runs
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (d == nullptr) {
            ADD_FAILURE() << "no hay di\u00e1logo de ficheros";
            return;
        }
        mira(*d);
        d->reject();
    });
}

TEST(DialogosQt, ElDialogoDeFicherosSeVeEnteroYEnEspanol) {
    QTemporaryDir carpeta;
    QDir(carpeta.path()).mkdir(QStringLiteral("subcarpeta"));
    EscribeFichero(carpeta.filePath(QStringLiteral("coordenadas de la red.txt")).toStdString(), std::string(11500, 'x'));
    EscribeFichero(carpeta.filePath(QStringLiteral("puntos")).toStdString(), "1"); // no dot: listed all the same
    DialogosQt dialogos;
    EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"), QStringLiteral("Carpeta"));

    Mira([&](QFileDialog& d) {
        EXPECT_EQ(d.directory().absolutePath(), carpeta.path());
        // at least 800 x 500 where the screen has room, and within it
        const QRect pantalla = d.screen()->availableGeometry();
        EXPECT_GE(d.width(), std::min(800, pantalla.width() - 24));
        EXPECT_GE(d.height(), std::min(500, pantalla.height() - 48));
        EXPECT_TRUE(pantalla.contains(d.frameGeometry())) << d.width() << "x" << d.height();
        auto* lista = d.findChild<QTreeView*>(QStringLiteral("treeView"));
        ASSERT_NE(lista, nullptr);
        QAbstractItemModel* modelo = lista->model();
        ASSERT_TRUE(QTest::qWaitFor([&] { return modelo->rowCount(lista->rootIndex()) == 3; }, 5000));
        QApplication::processEvents();
        const QHeaderView* cabecera = lista->header();
        const int margen = 2 * cabecera->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, cabecera);
        for (int columna = 0; columna < modelo->columnCount(lista->rootIndex()); ++columna) {
            const QString titulo = modelo->headerData(columna, Qt::Horizontal).toString();
            EXPECT_GE(cabecera->sectionSize(columna), cabecera->fontMetrics().horizontalAdvance(titulo) + margen)
                << titulo.toStdString();
            int valores = 0; // the widest value of the column
            for (int fila = 0; fila < 3; ++fila)
                valores = std::max(valores, lista->fontMetrics().horizontalAdvance(
                                                modelo->index(fila, columna, lista->rootIndex()).data().toString()));
            if (columna > 0) { EXPECT_GE(cabecera->sectionSize(columna), valores + margen) << titulo.toStdString(); }
            EXPECT_FALSE(QStringList({QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Type"),
                                      QStringLiteral("Date Modified")}).contains(titulo)) << titulo.toStdString();
        }
    });
    EXPECT_EQ(dialogos.abrir(nullptr, FiltroFicheros, carpeta.path()), std::nullopt);

    // a path: its folder shown, its name offered
    const QString propuesta = carpeta.filePath(QStringLiteral("salida.txt"));
    Mira([&](QFileDialog& d) {
        EXPECT_EQ(d.directory().absolutePath(), carpeta.path());
        EXPECT_EQ(d.selectedFiles().value(0), propuesta);
    });
    EXPECT_EQ(dialogos.guardar(nullptr, FiltroFicheros, propuesta), std::nullopt);
}

} // namespace
