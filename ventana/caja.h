#pragma once

#include <QPlainTextEdit>

#include <array>
#include <optional>

class QMenu;

// A coordinate box: one value a line, scrolled with the other seventeen by the window.
// What a spreadsheet pastes (rows of tab-separated values) goes to the window to fill the
// three boxes of the format; its context menu offers "Copiar tabla".
class CajaCoordenada : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CajaCoordenada(QWidget* padre = nullptr);

    // Rows of three tab-separated values as the boxes take them: one column a line, a decimal
    // comma turned into a point. Nothing when the text is not such a block.
    static std::optional<std::array<QString, 3>> ColumnasDeTabla(const QString& texto);
    // A pasted single column loses the line end after its last value.
    static QString SinFinalDeLinea(const QString& texto);

    // The box's context menu with "Copiar tabla" at the end; the caller owns it.
    QMenu* menuContextual();

    // What a paste or a drop brings.
    void insertFromMimeData(const QMimeData* datos) override;

signals:
    void tablaPegada(const std::array<QString, 3>& columnas);
    void copiarTabla();

protected:
    void contextMenuEvent(QContextMenuEvent* e) override;
};
