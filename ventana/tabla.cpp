#include "tabla.h"

#include "geodesia/formato.h"

#include <QMimeData>
#include <QRegularExpression>

#include <algorithm>

QString ComaDecimal(const QString& valor) {
    const QString t = valor.trimmed();
    if (t.count(QLatin1Char(',')) != 1) return valor;
    const qsizetype coma = t.indexOf(QLatin1Char(','));
    QString entera = t.left(coma);
    if (entera.contains(QLatin1Char('.'))) {
        // every group after the first point holds three digits: 1.234.567,5
        const QStringList grupos = entera.split(QLatin1Char('.'));
        for (qsizetype i = 1; i < grupos.size(); ++i)
            if (grupos[i].size() != 3) return valor;
        entera = grupos.join(QString());
    }
    return entera + QLatin1Char('.') + t.mid(coma + 1);
}

QString ComasDecimales(const QString& texto) {
    if (!texto.contains(QLatin1Char(','))) return texto;
    QStringList lineas = texto.split(QLatin1Char('\n'));
    for (QString& l : lineas) l = ComaDecimal(l);
    return lineas.join(QLatin1Char('\n'));
}

namespace {

bool EsNumero(const QString& valor) { return NumeroValido(ComaDecimal(valor).toStdString()).has_value(); }

} // namespace

std::optional<std::array<QStringList, 3>> ColumnasPegadas(const QString& texto, int formato, int formatos) {
    if (!texto.contains(QLatin1Char('\t'))) return std::nullopt;
    QStringList filas = texto.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    while (!filas.isEmpty() && filas.back().trimmed().isEmpty()) filas.removeLast();
    if (!filas.isEmpty()) {
        const QStringList primera = filas.front().split(QLatin1Char('\t'));
        if (std::none_of(primera.begin(), primera.end(), EsNumero)) filas.removeFirst(); // a header row
    }
    if (filas.isEmpty()) return std::nullopt;
    const qsizetype ancho = filas.front().count(QLatin1Char('\t')) + 1;
    if (ancho != 3 && ancho != 3 * formatos) return std::nullopt;
    const qsizetype primera = ancho == 3 ? 0 : 3 * (formato - 1);
    std::array<QStringList, 3> columnas;
    for (const QString& fila : filas) {
        const QStringList valores = fila.split(QLatin1Char('\t'));
        if (valores.size() != ancho) return std::nullopt;
        for (qsizetype m = 0; m < 3; ++m)
            columnas[static_cast<std::size_t>(m)] << ComaDecimal(valores[primera + m].trimmed()).trimmed();
    }
    return columnas;
}

QMimeData* DatosTabla(const QStringList& cabecera, const std::vector<QStringList>& columnas, const QString& decimal) {
    qsizetype filas = 0;
    for (const QStringList& c : columnas) filas = std::max(filas, c.size());
    QString texto = cabecera.join(QLatin1Char('\t')) + QLatin1Char('\n');
    QString html = QStringLiteral("<table><tr>");
    for (const QString& nombre : cabecera) html += QStringLiteral("<th>") + nombre.toHtmlEscaped() + QStringLiteral("</th>");
    html += QStringLiteral("</tr>");
    for (qsizetype i = 0; i < filas; ++i) {
        QStringList fila;
        html += QStringLiteral("<tr>");
        for (const QStringList& c : columnas) {
            QString valor = c.value(i).trimmed();
            valor.replace(QLatin1Char('.'), decimal);
            fila << valor;
            html += QStringLiteral("<td>") + valor.toHtmlEscaped() + QStringLiteral("</td>");
        }
        texto += fila.join(QLatin1Char('\t')) + QLatin1Char('\n');
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    auto* datos = new QMimeData;
    datos->setText(texto);
    datos->setHtml(html);
    return datos;
}
