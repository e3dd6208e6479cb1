#pragma once

#include <QPlainTextEdit>
#include <QTextBlock>

class QMenu;

// A coordinate box: one value a line, scrolled with the other boxes by the window. It shows
// whole lines only. What a spreadsheet pastes (rows of tab-separated values) and Deshacer go
// to the window, which acts on the three boxes of the format; the context menu ends with
// "Copiar tabla".
class CajaCoordenada : public QPlainTextEdit {
    Q_OBJECT
public:
    // `caracteres`: the widest text of its column, shown whole.
    CajaCoordenada(int caracteres, QWidget* padre = nullptr);

    // The box's context menu with "Copiar tabla" at the end; the caller owns it.
    QMenu* menuContextual();
    // Lines in view, and the first of them (counted from 0).
    int lineasVisibles() const;
    int primeraVisible() const { return firstVisibleBlock().blockNumber(); }
    // Where line `linea` stands, in the viewport's coordinates, when the lines go on with the
    // same spacing beyond the text.
    int arribaDeLinea(int linea) const;

    // What a paste or a drop brings.
    void insertFromMimeData(const QMimeData* datos) override;

signals:
    // A block with tabs pasted, the cursor where it was.
    void tablaPegada(const QString& texto);
    void deshacerPedido();
    void copiarTabla();

protected:
    void contextMenuEvent(QContextMenuEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
};
