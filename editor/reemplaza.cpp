#include "reemplaza.h"

#include "editor/editor.h"
#include "texto/reemplazo.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

Reemplaza::Reemplaza(Editor& editor, Dialogos& dialogos)
    : QDialog(&editor), editor_(editor), dialogos_(dialogos) {
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
    g->addWidget(l1, 0, 0);
    g->addWidget(Text1, 0, 1);
    g->addWidget(l2, 1, 0);
    g->addWidget(Text2, 1, 1);
    g->addWidget(aceptar, 2, 0);
    g->addWidget(cancelar, 2, 1);
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
    // on the text as its file holds it: a line end is CR LF, two characters
    const QString crlf = editor_.texto().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const std::u16string r =
        ReemplazaCaracteres(crlf.toStdU16String(), Text1->text().toStdU16String(), Text2->text().toStdU16String());
    QString nuevo = QString::fromStdU16String(r);
    nuevo.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (nuevo != editor_.texto()) editor_.ponTexto(nuevo);
    accept();
}
