#include "paginas.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextDocument>
#include <QTextOption>

bool PintaPaginas(QPainter& pintor, QPagedPaintDevice& dispositivo, int resolucion, const QString& texto,
                  const QFont& fuente) {
    QTextDocument doc;
    // laid out with the device's own metrics, so that what fits the page is what prints
    doc.documentLayout()->setPaintDevice(&dispositivo);
    doc.setDefaultFont(fuente);
    QTextOption opcion;
    opcion.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    doc.setDefaultTextOption(opcion);
    doc.setDocumentMargin(0);
    doc.setPlainText(texto);
    const QSizeF pagina = dispositivo.pageLayout().paintRectPixels(resolucion).size();
    // a page size makes the layout move a line that would straddle two pages to the next one
    doc.setPageSize(pagina);
    doc.documentLayout()->pageCount(); // lays the whole text out
    // line by line, each on the one page it falls on: drawing whole pages through a clip
    // would put a line at a page's foot into the next page too, hidden but there to copy
    int actual = 0;
    for (QTextBlock bloque = doc.begin(); bloque.isValid(); bloque = bloque.next()) {
        const QTextLayout* disposicion = bloque.layout();
        for (int i = 0; i < disposicion->lineCount(); ++i) {
            const QTextLine linea = disposicion->lineAt(i);
            if (linea.textLength() == 0) continue; // blank lines print nothing and add no page at the end
            const int hoja = static_cast<int>((disposicion->position().y() + linea.y()) / pagina.height());
            for (; actual < hoja; ++actual)
                if (!dispositivo.newPage()) return false;
            linea.draw(&pintor, disposicion->position() - QPointF(0, hoja * pagina.height()));
        }
    }
    return true;
}

std::optional<QByteArray> DocumentoPdf(const QString& texto, const QFont& fuente) {
    QByteArray bytes;
    {
        QBuffer destino(&bytes);
        if (!destino.open(QIODevice::WriteOnly)) return std::nullopt;
        QPdfWriter pdf(&destino);
        pdf.setCreator(QStringLiteral("Orvalo"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20),
                                      QPageLayout::Millimeter));
        QPainter pintor;
        if (!pintor.begin(&pdf)) return std::nullopt;
        const bool entero = PintaPaginas(pintor, pdf, pdf.resolution(), texto, fuente);
        if (!pintor.end() || !entero) return std::nullopt;
    }
    return bytes;
}
