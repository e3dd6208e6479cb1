#pragma once

#include "editor/editor.h"
#include "ventana/dialogos.h"
#include "ventana/main.h"

#include <QObject>
#include <QPointer>

// The program's dialogs, except that the next open dialog answers with a path already chosen
// (the file named on the command line) without showing itself.
class DialogosConRuta : public Dialogos {
public:
    explicit DialogosConRuta(Dialogos& dialogos) : dialogos_(dialogos) {}
    void eligeAntes(std::optional<QString> ruta) { ruta_ = std::move(ruta); }

    std::optional<QString> abrir(QWidget* padre, const QString& filtro, const QString& inicial) override;
    std::optional<QString> guardar(QWidget* padre, const QString& filtro, const QString& inicial) override {
        return dialogos_.guardar(padre, filtro, inicial);
    }
    void mensaje(QWidget* padre, const QString& texto, Icono icono) override { dialogos_.mensaje(padre, texto, icono); }
    bool pregunta(QWidget* padre, const QString& texto) override { return dialogos_.pregunta(padre, texto); }
    void pitido() override { dialogos_.pitido(); }
    bool hayImpresora() override { return dialogos_.hayImpresora(); }
    std::optional<Impresion> dialogoImprimir(QWidget* padre) override { return dialogos_.dialogoImprimir(padre); }
    Impreso imprime(const QString& texto, const QFont& fuente) override { return dialogos_.imprime(texto, fuente); }
    void espera(QWidget* padre, const QString& texto, const std::function<bool()>& terminado,
                const std::function<void()>& cancela) override {
        dialogos_.espera(padre, texto, terminado, cancela);
    }

private:
    Dialogos& dialogos_;
    std::optional<QString> ruta_;
};

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

    DialogosConRuta dialogos_;
    QPointer<Main> main_;
    QPointer<Editor> editor_;
};
