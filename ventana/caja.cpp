#include "caja.h"

#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QThread>
#include <QTextBlock>
#include <QtGui/private/qtextdocument_p.h>

#include <algorithm>

namespace {

// Pixels between the frame and the text; the view itself has no margin, so that the lines
// start at its top however far the box is scrolled.
constexpr int Margen = 1;

// The lines go in through the document's own insertion (Qt's private text classes), with the
// formats of its first block, as a QTextCursor would insert them: the cursor would walk the
// document's set of cursors twice a line, a third of the time a full box takes.
void InsertaLineas(QTextDocument& documento, const QString& texto) {
    if (texto.isEmpty()) return;
    // other paragraph ends, and frame marks, are Qt's to read
    const auto otroFin = [](QChar c) {
        return c == u'\r' || c == QChar::ParagraphSeparator || c == QTextBeginningOfFrame || c == QTextEndOfFrame;
    };
    if (std::any_of(texto.begin(), texto.end(), otroFin)) {
        QTextCursor(&documento).insertText(texto);
        return;
    }
    QTextDocumentPrivate* d = QTextDocumentPrivate::get(&documento);
    const QTextBlock primera = documento.firstBlock();
    const int caracteres = primera.charFormatIndex(), bloque = primera.blockFormatIndex();
    d->beginEditBlock();
    int posicion = 0;
    for (qsizetype desde = 0;;) {
        const qsizetype fin = texto.indexOf(QLatin1Char('\n'), desde);
        const qsizetype hasta = fin < 0 ? texto.size() : fin;
        if (hasta > desde) {
            d->insert(posicion, texto.mid(desde, hasta - desde), caracteres);
            posicion += static_cast<int>(hasta - desde);
        }
        if (fin < 0) break;
        d->insertBlock(posicion++, bloque, caracteres);
        desde = fin + 1;
    }
    d->endEditBlock();
}

} // namespace

CajaCoordenada::CajaCoordenada(int caracteres, QWidget* padre) : QPlainTextEdit(padre) {
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    document()->setDocumentMargin(0);
    setBackgroundRole(QPalette::Base); // the margins around the view look like the view
    setAutoFillBackground(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int borde = 2 * (Margen + frameWidth());
    setMinimumWidth(fontMetrics().horizontalAdvance(QString(caracteres, QLatin1Char('0'))) + borde + 1);
    setMinimumHeight(3 * fontMetrics().lineSpacing() + borde);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

int CajaCoordenada::lineasVisibles() const {
    return std::max(1, viewport()->height() / fontMetrics().lineSpacing());
}

int CajaCoordenada::arribaDeLinea(int linea) const {
    const QTextBlock primera = firstVisibleBlock();
    const auto arriba = static_cast<int>(blockBoundingGeometry(primera).translated(contentOffset()).top());
    return arriba + (linea - primera.blockNumber()) * fontMetrics().lineSpacing();
}

// The room below the last whole line is left out of the view: no line shows cut.
void CajaCoordenada::resizeEvent(QResizeEvent* e) {
    const int alto = height() - 2 * frameWidth() - 2 * Margen;
    setViewportMargins(Margen, Margen, Margen, Margen + std::max(0, alto % fontMetrics().lineSpacing()));
    QPlainTextEdit::resizeEvent(e);
}

void CajaCoordenada::insertFromMimeData(const QMimeData* datos) {
    QString texto = datos->text();
    if (texto.contains(QLatin1Char('\t'))) {
        emit tablaPegada(texto);
        return;
    }
    // a pasted column loses the line end after its last value
    if (texto.endsWith(QStringLiteral("\r\n"))) texto.chop(2);
    else if (texto.endsWith(QLatin1Char('\n')) || texto.endsWith(QLatin1Char('\r'))) texto.chop(1);
    insertPlainText(texto);
}

void CajaCoordenada::ponDocumento(std::unique_ptr<QTextDocument> documento) {
    setExtraSelections({}); // no selection left on the document that goes
    QTextDocument* anterior = document();
    const bool propio = anterior->parent() == this; // the first one its editor deletes itself
    documento->setParent(this);
    documento->setDocumentLayout(new QPlainTextDocumentLayout(documento.get()));
    setDocument(documento.release());
    if (propio) delete anterior;
}

std::unique_ptr<QTextDocument> DocumentoDeCaja(const QString& texto, const QFont& fuente, QThread* destino) {
    auto d = std::make_unique<QTextDocument>();
    d->setDocumentMargin(0);
    d->setDefaultFont(fuente);
    QTextOption opcion = d->defaultTextOption();
    opcion.setWrapMode(QTextOption::NoWrap); // as the box has it: the box lays nothing out again
    d->setDefaultTextOption(opcion);
    d->setUndoRedoEnabled(false); // the text is not an edit to undo
    InsertaLineas(*d, texto);
    d->setUndoRedoEnabled(true);
    d->moveToThread(destino);
    return d;
}

void CajaCoordenada::keyPressEvent(QKeyEvent* e) {
    if (e->matches(QKeySequence::Undo)) {
        emit deshacerPedido();
        e->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

QMenu* CajaCoordenada::menuContextual() {
    QMenu* menu = createStandardContextMenu();
    // Deshacer goes through the window, which may undo a paste in the three boxes
    if (QAction* deshacer = menu->findChild<QAction*>(QStringLiteral("edit-undo"))) {
        disconnect(deshacer, &QAction::triggered, nullptr, nullptr);
        connect(deshacer, &QAction::triggered, this, &CajaCoordenada::deshacerPedido);
    }
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
