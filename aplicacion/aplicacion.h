#pragma once

#include "editor/editor.h"
#include "ventana/dialogos.h"
#include "ventana/main.h"

#include <QObject>
#include <QPointer>
#include <QString>

// The program's windows and how they reach each other: the main window, the editor (which
// the file commands bring into existence hidden), the help and About windows.
class Aplicacion : public QObject {
    Q_OBJECT
public:
    explicit Aplicacion(Dialogos& dialogos);
    ~Aplicacion() override;

    Main& ventana() { return *main_; }
    Editor* editor() const { return editor_; } // null while it does not exist
    // "Entrada por fichero" of the file `ruta` without its dialog: the same checks and messages.
    void cargaFichero(const QString& ruta);

private:
    void creaEditorSiFalta();
    void muestraModal(QWidget* w);

    Dialogos& dialogos_;
    QPointer<Main> main_;
    QPointer<Editor> editor_;
};
