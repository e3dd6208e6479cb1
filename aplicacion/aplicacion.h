#pragma once

#include "editor/editor.h"
#include "ventana/main.h"

#include <QObject>
#include <QPointer>

class Dialogos;

// The program's windows and how they reach each other: the main window, the editor (which
// the file commands bring into existence hidden), the help and About windows.
class Aplicacion : public QObject {
    Q_OBJECT
public:
    explicit Aplicacion(Dialogos& dialogos);
    ~Aplicacion() override;

    Main& ventana() { return *main_; }
    Editor* editor() const { return editor_; } // null while it does not exist
    // The window a button opened last (editor, help or About), for tests.
    QWidget* ultimaModal() const { return ultimaModal_; }

private:
    void creaEditorSiFalta();
    void muestraModal(QWidget* w);

    Dialogos& dialogos_;
    QPointer<Main> main_;
    QPointer<Editor> editor_;
    QPointer<QWidget> ultimaModal_;
};
