#include "ficheros/ficheros.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    IgnoraSenalesDeEscritura(); // as the program does
    QApplication app(argc, argv);
    // settings (the chosen method) in a folder of this process's own: tests run in parallel
    QTemporaryDir ajustes;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, ajustes.path());
    QApplication::setOrganizationName(QStringLiteral("OrvaloPruebas"));
    QApplication::setApplicationName(QStringLiteral("OrvaloPruebas"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
