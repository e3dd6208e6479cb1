#pragma once

#include <QDialog>
#include <QWidget>

class QTimer;

// The start-up window: shown first, it closes itself when its timer fires and hands over to
// the main window. It cannot be skipped.
class Inicio : public QWidget {
    Q_OBJECT
public:
    explicit Inicio(int milisegundos = 5000, QWidget* padre = nullptr);
    QTimer* Timer1 = nullptr;

signals:
    void terminado(); // the timer has fired: show the main window

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void Timer1_Timer();
    bool disparado_ = false;
};

// " Acerca  de  Orvalo".
class About : public QDialog {
    Q_OBJECT
public:
    explicit About(QWidget* padre = nullptr);
};

// "Orvalo - Ayuda": the user documentation.
class Ayuda : public QDialog {
    Q_OBJECT
public:
    explicit Ayuda(QWidget* padre = nullptr);
};

// "Acerca del Editor".
class EditorAcerca : public QDialog {
    Q_OBJECT
public:
    explicit EditorAcerca(QWidget* padre = nullptr);
};

// The program's icon, drawn in code: a globe with a meridian grid.
QPixmap IconoOrvalo(int lado);
