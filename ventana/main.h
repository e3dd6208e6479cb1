#pragma once

#include "rejilla/rejilla.h"
#include "transformacion/datos.h"
#include "ventana/caja.h"
#include "ventana/dialogos.h"
#include "ventana/rutas.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

// The main window: eighteen coordinate boxes, six transform buttons, the command buttons.
class Main : public QWidget {
    Q_OBJECT
public:
    explicit Main(Dialogos& dialogos, QWidget* padre = nullptr);

    const ConjuntoDatos& datos() const { return datos_; }
    RutasCompartidas& rutas() { return rutas_; }
    CajaCoordenada* caja(int k) const { return Coord[static_cast<std::size_t>(k)]; }
    int FormatoEntrada() const { return formatoEntrada_; }
    // The line under the status of the last transformation or file input.
    QString estado() const;
    // The format whose frame is marked as the entry of the data shown (0: none).
    int formatoMarcado() const { return formatoMarcado_; }
    // The one vertical scroll bar of the eighteen boxes, and the point (line) highlighted.
    QScrollBar* desplazamiento() const { return desplazamiento_; }
    int puntoResaltado() const { return puntoResaltado_; }
    // The eighteen boxes as tab-separated rows under a header row, as "Copiar tabla" gives them.
    QString tabla() const;
    // How formats 5 and 6 are reached: the seven parameters (WGS84) or the IGN's grid (ETRS89).
    enum class Metodo { SieteParametros = 0, RejillaOficial = 1 };
    Metodo metodo() const { return metodo_; }
    QComboBox* eleccionMetodo() const { return eleccionMetodo_; }

    // The windows the buttons open; each builds and shows its own window.
    std::function<void()> abreEditor;   // "Editor de texto"
    std::function<void()> abreAyuda;    // "Ayuda"
    std::function<void()> abreAcercaDe; // "Acerca de"
    // Called before the first file dialog of "Entrada/Salida por fichero".
    std::function<void()> antesDeDialogoFichero;

public slots:
    void Transform_Click(int indice);
    void Input_Click();
    void Output_Click();
    void Erase_Click();
    void copiaTabla();
    void cambiaMetodo(int indice);

private:
    void creaTitulos(class QVBoxLayout* l);
    void creaFormatos(class QVBoxLayout* l);
    QGroupBox* creaFormato(int formato, const QString& titulo, const QString& letras);
    void creaBotones(class QVBoxLayout* l);
    void ponCaja(int k, const QString& texto);
    void CargaColumnas(int formato, Columnas3 puntos);
    void avisa(const QString& texto, Icono icono, bool conPitido);
    void desplazaTodas(int valor);
    void ajustaDesplazamiento();
    void resalta(int linea);
    void marca(int formato, const QString& estado);
    bool transforma(int indice);
    QWidget* creaMetodo(QWidget* padre);

    Dialogos& dialogos_;
    ConjuntoDatos datos_;
    RutasCompartidas rutas_;
    int formatoEntrada_ = 0;
    std::array<CajaCoordenada*, 18> Coord{};
    std::array<QPushButton*, 6> Transform{};
    std::array<QGroupBox*, 6> marcos_{};
    QScrollBar* desplazamiento_ = nullptr;
    QLabel* estado_ = nullptr;
    int formatoMarcado_ = 0;
    int puntoResaltado_ = -1;
    bool desplazando_ = false;
    Metodo metodo_ = Metodo::SieteParametros;
    QComboBox* eleccionMetodo_ = nullptr;
    std::unique_ptr<Rejilla> rejilla_; // null when the grids cannot be read
    int ultimoTransformado_ = -1;     // the index of the last transformation that succeeded
};
