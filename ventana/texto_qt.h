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

// Core text with LF line ends; ASCII text, as every laid-out value is, in one pass.
inline QString DeCrLf(const std::string& texto) {
    QString t(static_cast<qsizetype>(texto.size()), Qt::Uninitialized);
    QChar* d = t.data();
    for (std::size_t i = 0; i < texto.size(); ++i) {
        const char c = texto[i];
        if (static_cast<unsigned char>(c) >= 0x80) return SinCrLf(QString::fromStdString(texto));
        if (c != '\r' || i + 1 == texto.size() || texto[i + 1] != '\n') *d++ = QLatin1Char(c);
    }
    t.truncate(d - t.constData());
    return t;
}
