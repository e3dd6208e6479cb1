// The main window as a spreadsheet: rows pasted at the cursor in the three boxes of a format,
// one Deshacer for the three, and "Copiar tabla".
#include "main.h"

#include "ventana/tabla.h"

#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QTextBlock>

namespace {

// The lines a paste replaces in a box: from `desde` up to, not including, `hasta`.
struct Tramo {
    int desde, hasta;
};

// At the cursor's line: an empty line is replaced; at the start of a line the rows go before
// it, elsewhere after it. A selection's lines are replaced.
Tramo TramoDelCursor(const QTextCursor& c) {
    const QTextDocument* d = c.document();
    if (c.hasSelection()) {
        const int desde = d->findBlock(c.selectionStart()).blockNumber();
        const QTextBlock ultimo = d->findBlock(c.selectionEnd());
        // a selection ending at the start of a line leaves that line out
        const int hasta = ultimo.blockNumber() + (c.selectionEnd() == ultimo.position() && ultimo.blockNumber() > desde ? 0 : 1);
        return {desde, hasta};
    }
    const QTextBlock b = c.block();
    if (b.text().trimmed().isEmpty()) return {b.blockNumber(), b.blockNumber() + 1};
    if (c.positionInBlock() == 0) return {b.blockNumber(), b.blockNumber()};
    return {b.blockNumber() + 1, b.blockNumber() + 1};
}

// The box's lines with `filas` in place of the lines of `t`; a shorter box gets empty lines up
// to the place.
QString ConFilas(const QString& texto, const QStringList& filas, Tramo t) {
    QStringList lineas = texto.isEmpty() ? QStringList() : texto.split(QLatin1Char('\n'));
    while (lineas.size() < t.desde) lineas << QString();
    const qsizetype quita = std::max<qsizetype>(0, std::min<qsizetype>(lineas.size(), t.hasta) - t.desde);
    lineas.remove(t.desde, quita);
    for (qsizetype i = 0; i < filas.size(); ++i) lineas.insert(t.desde + i, filas[i]);
    return lineas.join(QLatin1Char('\n'));
}

} // namespace

void Main::pegaTabla(int k, const QString& texto) {
    const int formato = k / 3 + 1;
    CajaCoordenada* caja = Coord[static_cast<std::size_t>(k)];
    const auto columnas = ColumnasPegadas(texto, formato, NumFormatos);
    if (!columnas) {
        caja->insertPlainText(texto);
        return;
    }
    const Tramo tramo = TramoDelCursor(caja->textCursor());
    Pegado pegado{formato, {}};
    for (int m = 0; m < 3; ++m) {
        CajaCoordenada* c = Coord[static_cast<std::size_t>(3 * (formato - 1) + m)];
        const QString nuevo = ConFilas(c->toPlainText(), (*columnas)[static_cast<std::size_t>(m)], tramo);
        // one undo step a box: the whole text replaced in one edit
        QTextCursor cursor(c->document());
        cursor.beginEditBlock();
        cursor.select(QTextCursor::Document);
        cursor.insertText(nuevo);
        cursor.endEditBlock();
        pegado.pasos[static_cast<std::size_t>(m)] = c->document()->availableUndoSteps();
    }
    pegado_ = pegado;
    // the cursor on the last row pasted
    const int ultima = tramo.desde + static_cast<int>(columnas->front().size()) - 1;
    caja->setTextCursor(QTextCursor(caja->document()->findBlockByNumber(ultima)));
    caja->moveCursor(QTextCursor::EndOfBlock);
}

// Deshacer right after a table was pasted restores the three boxes of its format.
void Main::deshace(int k) {
    const int formato = k / 3 + 1;
    bool tresCajas = pegado_ && pegado_->formato == formato;
    for (int m = 0; m < 3 && tresCajas; ++m)
        tresCajas = Coord[static_cast<std::size_t>(3 * (formato - 1) + m)]->document()->availableUndoSteps() ==
                    pegado_->pasos[static_cast<std::size_t>(m)];
    if (!tresCajas) {
        Coord[static_cast<std::size_t>(k)]->undo();
        return;
    }
    pegado_.reset();
    for (int m = 0; m < 3; ++m) Coord[static_cast<std::size_t>(3 * (formato - 1) + m)]->undo();
}

void Main::copiaTabla() {
    QStringList cabecera;
    std::vector<QStringList> columnas;
    for (int k = 0; k < NumCajas; ++k) {
        cabecera << QString::fromStdString(NombreColumna(k, rotulos()));
        const QString texto = Coord[static_cast<std::size_t>(k)]->toPlainText();
        columnas.push_back(texto.isEmpty() ? QStringList() : texto.split(QLatin1Char('\n')));
    }
    QApplication::clipboard()->setMimeData(DatosTabla(cabecera, columnas, QLocale().decimalPoint()));
}
