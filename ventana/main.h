#pragma once

#include "transformacion/datos.h"
#include "ventana/dialogos.h"
#include "ventana/rutas.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>

class QPlainTextEdit;
class QPushButton;
class QGroupBox;

// The main window: eighteen coordinate boxes, six transform buttons, the command buttons.
class Main : public QWidget {
    Q_OBJECT
public:
    explicit Main(Dialogos& dialogos, QWidget* padre = nullptr);

    const ConjuntoDatos& datos() const { return datos_; }
    RutasCompartidas& rutas() { return rutas_; }
    QPlainTextEdit* caja(int k) const { return Coord[static_cast<std::size_t>(k)]; }
    int FormatoEntrada() const { return formatoEntrada_; }

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

private:
    void creaTitulos(class QVBoxLayout* l);
    void creaFormatos(class QVBoxLayout* l);
    QGroupBox* creaFormato(int formato, const QString& titulo, const QString& letras);
    void creaBotones(class QVBoxLayout* l);
    void ponCaja(int k, const QString& texto);
    void CargaColumnas(int formato, Columnas3 puntos);
    void avisa(const QString& texto, Icono icono, bool conPitido);

    Dialogos& dialogos_;
    ConjuntoDatos datos_;
    RutasCompartidas rutas_;
    int formatoEntrada_ = 0;
    std::array<QPlainTextEdit*, 18> Coord{};
    std::array<QPushButton*, 6> Transform{};
};
