#include "margen.h"

#include "ventana/caja.h"

#include <QFontDatabase>
#include <QPainter>
#include <QTextDocument>

#include <algorithm>
#include <map>

MargenPuntos::MargenPuntos(std::vector<CajaCoordenada*> cajas, QWidget* padre) : QWidget(padre), cajas_(std::move(cajas)) {
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

// Room for "32766", the most points the window takes.
QSize MargenPuntos::sizeHint() const { return {fontMetrics().horizontalAdvance(QStringLiteral("32766")) + 6, 0}; }

void MargenPuntos::paintEvent(QPaintEvent*) {
    int lineas = 0;
    for (const CajaCoordenada* c : cajas_)
        if (!c->document()->isEmpty()) lineas = std::max(lineas, c->document()->blockCount());
    // each row of boxes by the top of its view; the box with most lines tells where they stand
    std::map<int, const CajaCoordenada*> filas;
    for (const CajaCoordenada* c : cajas_) {
        if (!c->isVisible()) continue;
        const int arriba = mapFrom(window(), c->viewport()->mapTo(window(), QPoint(0, 0))).y();
        auto [fila, nueva] = filas.try_emplace(arriba, c);
        if (!nueva && c->document()->blockCount() > fila->second->document()->blockCount()) fila->second = c;
    }
    QPainter p(this);
    p.setPen(palette().color(QPalette::PlaceholderText));
    const int alto = fontMetrics().lineSpacing();
    for (const auto& [arriba, c] : filas) {
        const int primera = c->primeraVisible();
        for (int i = primera; i < std::min(lineas, primera + c->lineasVisibles()); ++i) {
            const QRect linea(0, arriba + c->arribaDeLinea(i), width() - 3, alto);
            p.drawText(linea, Qt::AlignRight | Qt::AlignVCenter, QString::number(i + 1));
        }
    }
}
