#include "codificacion.h"

#include <QStringDecoder>

TextoDeFichero DecodificaFichero(const QByteArray& bytes) {
    TextoDeFichero r;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    r.texto = utf8(bytes);
    r.codificacion.utf8 = !utf8.hasError();
    if (!r.codificacion.utf8) r.texto = QString::fromLatin1(bytes);
    r.codificacion.crlf = bytes.contains("\r\n") || !bytes.contains('\n');
    r.texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    r.texto.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return r;
}

QByteArray BytesAGuardar(const QByteArray& original, const QString& leido, const QString& actual,
                         const Codificacion& codificacion) {
    QByteArray bytes;
    if (actual == leido) {
        bytes = original;
    } else {
        QString t = actual;
        if (codificacion.crlf) t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        bool cabeEnLatin1 = true;
        for (QChar c : t) cabeEnLatin1 = cabeEnLatin1 && c.unicode() <= 0xFF;
        bytes = codificacion.utf8 || !cabeEnLatin1 ? t.toUtf8() : t.toLatin1();
    }
    if (!bytes.endsWith('\n') && !bytes.endsWith('\r')) bytes += codificacion.crlf ? "\r\n" : "\n";
    return bytes;
}
