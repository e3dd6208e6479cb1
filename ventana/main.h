#pragma once

#include "rejilla/rejilla.h"
#include "transformacion/avisos.h"
#include "transformacion/datos.h"
#include "ventana/caja.h"
#include "ventana/dialogos.h"
#include "ventana/rutas.h"

#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <variant>

class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QScrollBar;
class QVBoxLayout;
class MargenPuntos;

// The main window: the coordinate boxes, three a format, one transform button a format, the
// command buttons, the status line.
class Main : public QWidget {
    Q_OBJECT
public:
    explicit Main(Dialogos& dialogos, QWidget* padre = nullptr);

    static constexpr int NumFormatos = NumeroFormatos;
    static constexpr int NumCajas = 3 * NumFormatos;

    RutasCompartidas& rutas() { return rutas_; }

    // The windows the buttons open; each builds and shows its own window.
    std::function<void()> abreEditor;   // "Editor de texto"
    std::function<void()> abreAyuda;    // "Ayuda"
    std::function<void()> abreAcercaDe; // "Acerca de"
    // Called before the first file dialog of "Entrada/Salida por fichero".
    std::function<void()> antesDeDialogoFichero;

public slots:
    void Transform_Click(int indice);
    void Input_Click();
    // "Entrada por fichero" with the open dialog, or without it of `elegida` (a path already
    // chosen): the same checks and messages.
    void leeEntrada(const std::optional<QString>& elegida);
    void Output_Click();
    void Erase_Click();
    void copiaTabla();
    void cambiaMetodo(int indice);
    void cambiaHuso();

protected:
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* e) override;

private:
    // The points of an input file's bytes, shown in the boxes of its format to be transformed.
    void cargaEntrada(std::string_view bytes);
    // How formats 5 and 6 are reached: the seven parameters (WGS84) or the IGN's grid (ETRS89).
    enum class Metodo { SieteParametros = 0, RejillaOficial = 1 };
    // A transformation's outcome: the new data set and its box texts, or the message and the
    // box line (k, line from 0) at fault.
    struct Resultado {
        ConjuntoDatos datos;
        std::array<std::string, NumeroColumnas> textos;
    };
    struct Fallo {
        QString mensaje;
        int caja = -1, linea = -1;
        bool seleccion = false; // the line at fault selected, not only the cursor on it
    };

    // main_formatos.cpp: the widgets, their arrangement, the shared scrolling and highlight.
    void creaTitulos(QVBoxLayout* l);
    void creaFormatos(QVBoxLayout* l);
    QWidget* creaFormato(int formato, QWidget* cabecera);
    QWidget* creaMetodo(QWidget* padre);
    QComboBox* creaHuso(const char* clave, std::initializer_list<int> husos, int porOmision);
    void nombraHusos();
    void creaBotones(QVBoxLayout* l);
    void conectaCaja(CajaCoordenada* caja, int k);
    void organiza();
    void igualaFilas();
    void reparte();
    void desplazaTodas(int valor);
    void ajustaDesplazamiento();
    void resalta(int linea);
    void marca(int formato, const QString& estado);
    void senala(const Fallo& f);

    // main_tabla.cpp: paste and copy as a spreadsheet does, and the three boxes' Deshacer.
    void pegaTabla(int k, const QString& texto);
    void deshace(int k);

    // main.cpp: the commands.
    std::variant<Columnas3, Fallo> leeCajas(int indice) const;
    std::variant<Resultado, Fallo> calcula(int indice, const Columnas3& entrada);
    void muestra(int indice, Resultado r);
    bool transforma(int indice);
    bool recalcula();
    void dicePendiente(bool huso);
    int formatoDeHusoCambiado() const;
    // Whether the user changed a box since the window last filled them (an edit undone is none).
    bool escrito() const;
    void sinEscrito();
    QString estadoDeDatos(int indice);
    Rotulos rotulos() const { return {metodo_ == Metodo::RejillaOficial, husos_}; }
    QString nombreMetodo(Metodo m) const;
    bool muestraYa(int k, const QString& texto) const;
    void llenaCajas(const std::array<std::string, NumeroColumnas>& textos);
    void ponCaja(int k, const QString& texto);
    void avisa(const QString& texto, Icono icono, bool conPitido);

    Dialogos& dialogos_;
    ConjuntoDatos datos_;
    RutasCompartidas rutas_;
    std::array<CajaCoordenada*, NumCajas> Coord{};
    std::array<QPushButton*, NumFormatos> Transform{};
    std::array<QWidget*, NumFormatos> marcos_{};
    std::array<QWidget*, NumFormatos> titulos_{}; // each format's title, or its choice of zone
    QGridLayout* rejillaEd50_ = nullptr;
    QVBoxLayout* grupos_ = nullptr; // the ED50 group above the WGS84 one
    bool ancha_ = false; // the four ED50 formats in one row
    QScrollBar* desplazamiento_ = nullptr;
    MargenPuntos* margen_ = nullptr;
    QLabel* estado_ = nullptr;
    int puntoResaltado_ = -1;
    bool desplazando_ = false;
    Metodo metodo_ = Metodo::SieteParametros;
    QComboBox* eleccionMetodo_ = nullptr;
    // The zones of formats 2 and 7, chosen in their titles and remembered.
    QComboBox* husoEd50_ = nullptr;
    QComboBox* husoUtm_ = nullptr;
    Husos husos_;
    std::unique_ptr<Rejilla> rejilla_; // null when the grids cannot be read
    int ultimoTransformado_ = -1;      // the index of the last transformation that succeeded
    Metodo metodoResultados_ = Metodo::SieteParametros; // the method it used
    bool resultadosEnCajas_ = false;   // the boxes show what it wrote, unless escrito()
    bool escribiendo_ = false;         // the window itself writes the boxes
    // The status line before it said that a choice is not yet applied, and what it said then.
    QString estadoPrevio_, avisoPendiente_;
    // The last table pasted: its format and each box's undo steps right after it.
    struct Pegado {
        int formato;
        std::array<int, 3> pasos;
    };
    std::optional<Pegado> pegado_;
};
