#pragma once

#include "texto/codificacion.h"
#include "ventana/dialogos.h"
#include "ventana/rutas.h"

#include <QMainWindow>

#include <array>
#include <functional>

class QAction;
class QMenu;
class QPlainTextEdit;

// The text editor: one text box, a menu bar, open, save, print and character replacement.
class Editor : public QMainWindow {
    Q_OBJECT
public:
    Editor(Dialogos& dialogos, RutasCompartidas& rutas, QWidget* padre = nullptr);

    QPlainTextEdit* Text1 = nullptr;
    // The editor's text, lines ended by LF, every character as it stands.
    QString texto() const;
    void ponTexto(const QString& texto);
    const QString& TextoCargado() const { return textoCargado_; }
    bool GuardarCancelado() const { return guardarCancelado_; }
    int FuenteActual() const { return fuenteActual_; }
    int TamanoActual() const { return tamanoActual_; }

    // "Acerca de Editor": shows the editor's About window.
    std::function<void()> abreAcercaDe;

public slots:
    void Abrir();
    void Guardar();
    void GuardarComo();
    void Imprimir();
    void Reemplazar();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* e) override;

private:
    void Form_Load();
    void creaMenus();
    QAction* accion(QMenu* menu, const char* nombre, const QString& texto, const QKeySequence& atajo);
    void MenuEdicion_Abierto();
    void eligeFuente(int i);
    void eligeTamano(int i);
    bool escribe(const QString& ruta);
    bool guardarComo();
    bool confirmaSobreescritura(const QString& ruta, const QString& comando);
    void ponTitulo(const QString& ruta);

    Dialogos& dialogos_;
    RutasCompartidas& rutas_;
    QString textoCargado_;
    QByteArray bytesCargados_; // the file as read, for a byte-for-byte save
    Codificacion codificacion_;
    int fuenteActual_ = 0;
    int tamanoActual_ = 1;
    bool guardarCancelado_ = false;
    QAction *cortar_ = nullptr, *copiar_ = nullptr, *pegar_ = nullptr;
    std::array<QAction*, 3> fuentes_{};
    std::array<QAction*, 3> tamanos_{};
};

inline const QString TituloEditor = QStringLiteral("Orvalo - Editor de texto");
