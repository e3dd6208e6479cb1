#pragma once

#include <QDialog>

class Dialogos;
class QLineEdit;

// "Reemplazar caracteres": asks which character of the editor's text to replace by which.
// Aceptar with both boxes filled emits `elegido` and closes; the editor does the replacing.
class Reemplaza : public QDialog {
    Q_OBJECT
public:
    Reemplaza(QWidget* padre, Dialogos& dialogos);

signals:
    void elegido(const QString& buscado, const QString& por);

public slots:
    void btnAccept_Click();

private:
    Dialogos& dialogos_;
    QLineEdit* Text1 = nullptr; // the character to replace
    QLineEdit* Text2 = nullptr; // the replacing character
};
