#pragma once

#include <QString>

#include <string>

// Box and file texts between Qt (lines ended by LF) and the core (UTF-8, lines ended by CR LF).

// Every line end, CR LF or LF, as CR LF.
inline QString ConCrLf(const QString& texto) {
    QString t = texto;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

// Every CR LF as LF.
inline QString SinCrLf(const QString& texto) {
    QString t = texto;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

inline std::string ACrLf(const QString& texto) { return ConCrLf(texto).toStdString(); }

inline QString DeCrLf(const std::string& texto) { return SinCrLf(QString::fromStdString(texto)); }
