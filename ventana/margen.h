#pragma once

#include <QWidget>

#include <vector>

class CajaCoordenada;

// The point numbers beside the boxes, as a spreadsheet numbers its rows: line k of every box
// is point k. One margin serves every row of boxes it stands beside.
class MargenPuntos : public QWidget {
    Q_OBJECT
public:
    MargenPuntos(std::vector<CajaCoordenada*> cajas, QWidget* padre = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    std::vector<CajaCoordenada*> cajas_;
};
