#pragma once

#include <QString>

#include <string>

// Box and file texts between Qt (lines ended by LF) and the core (UTF-8, lines ended by CR LF).
inline std::string ACrLf(const QString& texto) {
    QString t = texto;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t.toStdString();
}

inline QString DeCrLf(const std::string& texto) {
    QString t = QString::fromStdString(texto);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}
