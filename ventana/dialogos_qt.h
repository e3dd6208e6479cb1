#pragma once

#include "dialogos.h"

#include <memory>

class QPrinter;

// The dialogs as a person sees them: QFileDialog, QMessageBox, QPrintDialog, QPrinter. Its
// construction installs Qt's Spanish catalogue.
class DialogosQt : public Dialogos {
public:
    DialogosQt();
    ~DialogosQt() override;
    std::optional<QString> abrir(QWidget* padre, const QString& filtro, const QString& inicial) override;
    std::optional<QString> guardar(QWidget* padre, const QString& filtro, const QString& inicial) override;
    void mensaje(QWidget* padre, const QString& texto, Icono icono) override;
    bool pregunta(QWidget* padre, const QString& texto) override;
    void pitido() override;
    bool hayImpresora() override;
    std::optional<Impresion> dialogoImprimir(QWidget* padre) override;
    Impreso imprime(const QString& texto, const QFont& fuente) override;
    void espera(QWidget* padre, const QString& texto, const std::function<bool()>& terminado,
                const std::function<void()>& cancela) override;

private:
    std::unique_ptr<QPrinter> impresora_;
};
