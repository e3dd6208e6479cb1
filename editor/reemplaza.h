#pragma once

#include <QDialog>

class Dialogos;
class Editor;
class QLineEdit;

// "Reemplazar caracteres": every occurrence of one character of the editor's text by another.
class Reemplaza : public QDialog {
    Q_OBJECT
public:
    Reemplaza(Editor& editor, Dialogos& dialogos);

    QLineEdit* Text1 = nullptr; // the character to replace
    QLineEdit* Text2 = nullptr; // the replacing character

public slots:
    void btnAccept_Click();

private:
    Editor& editor_;
    Dialogos& dialogos_;
};
