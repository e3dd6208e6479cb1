#include "aplicacion.h"

#include "editor/editor.h"
#include "aplicacion/informacion.h"

Aplicacion::Aplicacion(Dialogos& dialogos) : dialogos_(dialogos), main_(new Main(dialogos_)) {
    main_->setAttribute(Qt::WA_DeleteOnClose);
    main_->setWindowIcon(IconoOrvalo(64));
    main_->antesDeDialogoFichero = [this] { creaEditorSiFalta(); };
    main_->abreEditor = [this] {
        creaEditorSiFalta();
        muestraModal(editor_);
    };
    main_->abreAyuda = [this] { muestraModal(new Ayuda(main_)); };
    main_->abreAcercaDe = [this] { muestraModal(new About(main_)); };
}

Aplicacion::~Aplicacion() { delete main_; }

void Aplicacion::cargaFichero(const QString& ruta) { main_->leeEntrada(ruta); }

// Modal without a nested event loop: the window blocks the others until it closes.
void Aplicacion::muestraModal(QWidget* w) {
    if (w != editor_) w->setAttribute(Qt::WA_DeleteOnClose);
    w->setWindowModality(Qt::ApplicationModal);
    CentraSobre(w, main_);
    w->show();
    w->raise();
    w->activateWindow();
}

void Aplicacion::creaEditorSiFalta() {
    if (editor_) return;
    // its Load runs now and clears the shared paths; the file dialogs set them after
    editor_ = new Editor(dialogos_, main_->rutas(), main_);
    editor_->setWindowIcon(IconoOrvalo(64));
    editor_->abreAcercaDe = [this] {
        auto* a = new EditorAcerca(editor_);
        muestraModal(a);
    };
}
