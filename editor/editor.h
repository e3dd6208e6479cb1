#pragma once

#include "texto/codificacion.h"
#include "ventana/dialogos.h"
#include "ventana/rutas.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <string>

class QAction;
class QMenu;
class QPlainTextEdit;

// The text editor: one text box, a menu bar, open, save, print and character replacement.
class Editor : public QMainWindow {
    Q_OBJECT
public:
    Editor(Dialogos& dialogos, RutasCompartidas& rutas, QWidget* padre = nullptr);

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
    void creaMenuArchivo();
    void creaMenuEdicion();
    void creaMenuTexto();
    QAction* accion(QMenu* menu, const char* nombre, const QString& texto, const QKeySequence& atajo);
    void MenuEdicion_Abierto();
    void muestraMenuContextual(const QPoint& donde);
    void eligeFuente(int i);
    void eligeTamano(int i);
    QString texto() const;
    void aplicaReemplazo(const QString& buscado, const QString& por);
    bool escribe(const QString& ruta);
    bool aceptaUtf8(const std::u16string& actual);
    bool guardarComo();
    bool guardaAlCerrar(const QString& destino, bool porVentana);
    bool confirmaSobreescritura(const QString& ruta, const QString& comando);
    void ponTitulo(const QString& ruta);
    QString documentoImpreso(int copias) const;
    void imprimePdf();

    Dialogos& dialogos_;
    RutasCompartidas& rutas_;
    QPlainTextEdit* Text1 = nullptr;
    QString rutaTitulo_;       // the file the caption names: last opened or saved as
    QString textoGuardado_;    // as last opened or saved: closing asks only when the text differs
    QString textoLeido_;       // as read, with the bytes it came from, for a byte-for-byte save
    QByteArray bytesLeidos_;
    Codificacion codificacion_;
    int fuenteActual_ = 0;
    int tamanoActual_ = 1;
    QAction *cortar_ = nullptr, *copiar_ = nullptr, *pegar_ = nullptr, *deshacer_ = nullptr;
    std::array<QAction*, 3> fuentes_{};
    std::array<QAction*, 3> tamanos_{};
};

inline const QString TituloEditor = QStringLiteral("Orvalo - Editor de texto");
