#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    // settings go to a folder of the tests' own
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setOrganizationName(QStringLiteral("OrvaloPruebas"));
    QApplication::setApplicationName(QStringLiteral("OrvaloPruebas"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
