#include "reemplaza.h"

#include "ventana/dialogos.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

Reemplaza::Reemplaza(QWidget* padre, Dialogos& dialogos) : QDialog(padre), dialogos_(dialogos) {
    setObjectName(QStringLiteral("Reemplaza"));
    setWindowTitle(QStringLiteral("Reemplazar caracteres"));
    auto* g = new QGridLayout(this);
    auto* l1 = new QLabel(QStringLiteral("Reemplazar caracter:"), this);
    auto* l2 = new QLabel(QStringLiteral("Por caracter:"), this);
    l1->setObjectName(QStringLiteral("Label1"));
    l2->setObjectName(QStringLiteral("Label2"));
    Text1 = new QLineEdit(this);
    Text2 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text2->setObjectName(QStringLiteral("Text2"));
    for (QLineEdit* t : {Text1, Text2}) t->setFixedWidth(t->fontMetrics().horizontalAdvance(QStringLiteral("MMM")));
    auto* aceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    auto* cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    aceptar->setObjectName(QStringLiteral("btnAccept"));
    cancelar->setObjectName(QStringLiteral("btnCancel"));
    aceptar->setDefault(true);
    // the two buttons of one width, side by side under the boxes
    const int ancho = std::max(aceptar->sizeHint().width(), cancelar->sizeHint().width()) + 24;
    auto* botones = new QHBoxLayout;
    for (QPushButton* b : {aceptar, cancelar}) {
        b->setFixedWidth(ancho);
        botones->addWidget(b);
    }
    g->addWidget(l1, 0, 0);
    g->addWidget(Text1, 0, 1);
    g->addWidget(l2, 1, 0);
    g->addWidget(Text2, 1, 1);
    g->addLayout(botones, 2, 0, 1, 2);
    setTabOrder(Text1, Text2);
    setTabOrder(Text2, aceptar);
    setTabOrder(aceptar, cancelar);
    // the title bar shows the whole title; the buttons keep clear of the edges
    g->setContentsMargins(18, 18, 18, 18);
    g->setHorizontalSpacing(12);
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + 160);
    connect(aceptar, &QPushButton::clicked, this, &Reemplaza::btnAccept_Click);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
}

void Reemplaza::btnAccept_Click() {
    if (Text1->text().isEmpty() || Text2->text().isEmpty()) {
        dialogos_.mensaje(this, QStringLiteral("\u00a1Las dos celdas han de contener un caracter!"), Icono::Ninguno);
        return;
    }
    emit elegido(Text1->text(), Text2->text());
    accept();
}
