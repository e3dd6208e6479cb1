// The editor's Imprimir: on the printer the print dialog chose, or, where no printer is
// installed, into a PDF file saved like every other file.
#include "editor.h"

#include "ventana/ficheros_qt.h"
#include "ventana/paginas.h"

#include <QFileInfo>
#include <QPlainTextEdit>

#include <algorithm>

namespace {

const QString OpcionNoDisponible = QStringLiteral(" Opci\u00f3n no disponible. ");
const QString NoEmpiezaImpresion = QStringLiteral(" No se ha podido empezar a imprimir. ");
const QString NoSeImprime = QStringLiteral(" No se ha podido imprimir el documento. ");

} // namespace

// Each copy: four blank lines, the text and one line end; all copies one document.
QString Editor::documentoImpreso(int copias) const {
    const QString copia = QStringLiteral("\n\n\n\n") + texto() + QLatin1Char('\n');
    return copia.repeated(std::max(copias, 1));
}

void Editor::Imprimir() {
    if (!dialogos_.hayImpresora()) {
        imprimePdf();
        return;
    }
    const auto opciones = dialogos_.dialogoImprimir(this);
    if (!opciones) return;
    if (opciones->aFichero) {
        dialogos_.mensaje(this, OpcionNoDisponible, Icono::Ninguno);
        return;
    }
    switch (dialogos_.imprime(documentoImpreso(opciones->copias), Text1->font())) {
    case Impreso::Si: return;
    case Impreso::NoEmpieza: dialogos_.mensaje(this, NoEmpiezaImpresion, Icono::Ninguno); return;
    case Impreso::Incompleto: dialogos_.mensaje(this, NoSeImprime, Icono::Ninguno); return;
    }
}

// One copy: the PDF is printed, as often as wanted, wherever it is taken.
void Editor::imprimePdf() {
    const QString nombre = rutaTitulo_.isEmpty() ? QStringLiteral("documento.pdf")
                                                 : QFileInfo(rutaTitulo_).completeBaseName() + QStringLiteral(".pdf");
    const auto ruta = EligeDestino(dialogos_, this, FiltroPdf, nombre);
    if (!ruta) return;
    const auto pdf = DocumentoPdf(documentoImpreso(1), Text1->font());
    if (!pdf) {
        dialogos_.mensaje(this, NoSeImprime, Icono::Ninguno);
        return;
    }
    if (const auto fallo = FalloAlGuardar(*ruta, std::string_view(pdf->constData(), static_cast<std::size_t>(pdf->size()))))
        dialogos_.mensaje(this, *fallo, Icono::Ninguno);
}
