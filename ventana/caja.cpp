#include "caja.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpression>

CajaCoordenada::CajaCoordenada(QWidget* padre) : QPlainTextEdit(padre) {}

std::optional<std::array<QString, 3>> CajaCoordenada::ColumnasDeTabla(const QString& texto) {
    if (!texto.contains(QLatin1Char('\t'))) return std::nullopt;
    QStringList filas = texto.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    while (!filas.isEmpty() && filas.back().trimmed().isEmpty()) filas.removeLast();
    if (filas.isEmpty()) return std::nullopt;
    std::array<QStringList, 3> columnas;
    for (const QString& fila : filas) {
        const QStringList valores = fila.split(QLatin1Char('\t'));
        if (valores.size() != 3) return std::nullopt;
        for (int m = 0; m < 3; ++m) {
            // a Spanish spreadsheet copies 440263,927: inside the block the comma is decimal
            columnas[static_cast<std::size_t>(m)] << valores[m].trimmed().replace(QLatin1Char(','), QLatin1Char('.'));
        }
    }
    return std::array<QString, 3>{columnas[0].join(QLatin1Char('\n')), columnas[1].join(QLatin1Char('\n')),
                                  columnas[2].join(QLatin1Char('\n'))};
}

QString CajaCoordenada::SinFinalDeLinea(const QString& texto) {
    QString t = texto;
    if (t.endsWith(QStringLiteral("\r\n"))) t.chop(2);
    else if (t.endsWith(QLatin1Char('\n')) || t.endsWith(QLatin1Char('\r'))) t.chop(1);
    return t;
}

void CajaCoordenada::insertFromMimeData(const QMimeData* datos) {
    const QString texto = datos->text();
    if (const auto columnas = ColumnasDeTabla(texto)) {
        emit tablaPegada(*columnas);
        return;
    }
    insertPlainText(SinFinalDeLinea(texto));
}

QMenu* CajaCoordenada::menuContextual() {
    QMenu* menu = createStandardContextMenu();
    menu->addSeparator();
    QAction* copiar = menu->addAction(QStringLiteral("Copiar tabla"));
    copiar->setObjectName(QStringLiteral("CopiarTabla"));
    connect(copiar, &QAction::triggered, this, &CajaCoordenada::copiarTabla);
    return menu;
}

void CajaCoordenada::contextMenuEvent(QContextMenuEvent* e) {
    QMenu* menu = menuContextual();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(e->globalPos());
}
