#pragma once

#include "dialogos_prueba.h"
#include "editor/editor.h"
#include "vectores.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>

#include <optional>

// The editor as a person uses it: its menu items and its text box, found by their names.
class EditorPrueba : public ::testing::Test {
protected:
    DialogosPrueba dialogos;
    RutasCompartidas rutas;
    QTemporaryDir carpeta;
    QPointer<Editor> editor = new Editor(dialogos, rutas);

    ~EditorPrueba() override { delete editor; }

    QString Ruta(const QString& nombre) const { return carpeta.filePath(nombre); }
    QString Crea(const QString& nombre, const std::string& contenido) const { EscribeFichero(Ruta(nombre).toStdString(), contenido); return Ruta(nombre); }
    std::string Lee(const QString& ruta) const { return LeeFichero(ruta.toStdString()); }
    QAction* Accion(const char* nombre) const { return editor->findChild<QAction*>(QString::fromUtf8(nombre)); }
    QPlainTextEdit* Caja() const { return editor->findChild<QPlainTextEdit*>(QStringLiteral("Text1")); }
    // every character as it stands, no-break spaces too; lines ended by LF
    QString Texto() const { return Caja()->document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')); }
    void Pon(const QString& texto) const { Caja()->setPlainText(texto); }
    void Abre(const std::optional<QString>& ruta) { dialogos.rutasAbrir.push_back(ruta); Accion("FicheroAbrir")->trigger(); }
    // Guardar como (or another command that asks for a file to write) answered with `ruta`
    void Guarda(const std::optional<QString>& ruta, const char* accion = "FicheroGuardar") { dialogos.rutasGuardar = {ruta}; Accion(accion)->trigger(); }
    void Cierra() { editor->close(); QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};
