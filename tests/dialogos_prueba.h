#pragma once

#include "ventana/dialogos.h"

#include <QApplication>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>

#include <deque>
#include <vector>

// Scripted answers for every dialog, and a record of what was shown.
class DialogosPrueba : public Dialogos {
public:
    // cursor: the window's pointer while the message was up
    struct Mostrado { QString texto; Icono icono; Qt::CursorShape cursor; };

    std::deque<std::optional<QString>> rutasAbrir, rutasGuardar;
    std::deque<bool> respuestas;
    std::deque<std::optional<Impresion>> impresiones;
    Impreso impreso = Impreso::Si; // how every print job ends
    bool cancelaEsperas = false;   // Cancelar pressed as soon as a wait shows
    int impresoras = 1;

    std::vector<Mostrado> mensajes;
    std::vector<QString> preguntas;
    std::vector<QString> inicialesAbrir, inicialesGuardar; // where each file dialog opened
    std::vector<QString> documentos;                       // the texts printed
    std::vector<QString> esperas;                          // the waits shown
    int pitidos = 0;

    std::optional<QString> abrir(QWidget*, const QString&, const QString& inicial) override {
        inicialesAbrir.push_back(inicial);
        return Siguiente(rutasAbrir, "abrir");
    }
    std::optional<QString> guardar(QWidget*, const QString&, const QString& inicial) override {
        inicialesGuardar.push_back(inicial);
        return Siguiente(rutasGuardar, "guardar");
    }
    void mensaje(QWidget* padre, const QString& texto, Icono icono) override {
        const QWidget* ventana = padre ? padre->window() : nullptr;
        mensajes.push_back({texto, icono, ventana ? ventana->cursor().shape() : Qt::ArrowCursor});
    }
    bool pregunta(QWidget*, const QString& texto) override { preguntas.push_back(texto); return Siguiente(respuestas, "pregunta", texto); }
    void pitido() override { ++pitidos; }
    bool hayImpresora() override { return impresoras > 0; }
    std::optional<Impresion> dialogoImprimir(QWidget*) override { return Siguiente(impresiones, "imprimir"); }
    Impreso imprime(const QString& texto, const QFont&) override { if (impreso == Impreso::Si) documentos.push_back(texto); return impreso; }

    void espera(QWidget*, const QString& texto, const std::function<bool()>& terminado,
                const std::function<void()>& cancela) override {
        esperas.push_back(texto);
        if (cancelaEsperas) cancela();
        for (int i = 0; i < 1000 && !terminado(); ++i) QThread::msleep(10);
        if (!terminado()) ADD_FAILURE() << "la espera no termina: " << texto.toStdString();
        while (!terminado()) QThread::msleep(10);
    }

    QString ultimoMensaje() const { return mensajes.empty() ? QString() : mensajes.back().texto; }

private:
    // The next scripted answer; none left is a failure, taken as No or Cancelar.
    template <typename T>
    T Siguiente(std::deque<T>& cola, const char* que, const QString& texto = QString()) {
        if (cola.empty()) {
            ADD_FAILURE() << que << " sin respuesta " << texto.toStdString();
            return T();
        }
        T r = std::move(cola.front());
        cola.pop_front();
        return r;
    }
};
