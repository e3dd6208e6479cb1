#include "dialogos_qt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

namespace {

const QString TituloMensajes = QStringLiteral("Orvalo");

std::optional<QString> DialogoFichero(QWidget* padre, const QString& filtro, bool guardar) {
    // "*.*" means every file where the filter comes from; here it would hide names without a dot
    QString filtros = filtro;
    filtros.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
    while (true) {
        QFileDialog d(padre);
        d.setNameFilter(filtros);
        d.selectNameFilter(filtros.split(QStringLiteral(";;")).value(2));
        // the folder must exist; the file itself need not (a missing one fails on reading)
        d.setFileMode(QFileDialog::AnyFile);
        d.setAcceptMode(guardar ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        d.setOption(QFileDialog::DontConfirmOverwrite, true);
        if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
        const QString ruta = d.selectedFiles().constFirst();
        const QFileInfo info(ruta);
        if (!info.dir().exists()) continue;
        if (guardar && info.exists() && !info.isWritable()) continue; // no read-only file
        return ruta;
    }
}

} // namespace

QString PreguntaSobreescribirFichero(const QString& ruta, const QString& comando) {
    QString t = QStringLiteral(" \u00a1El Fichero ya existe! \r\n \u00bfDesea sobreescribirlo? \r\n ") + ruta;
    if (!comando.isEmpty())
        t += QStringLiteral(" \r\n (elegido con \u00ab%1\u00bb de la ventana principal)").arg(comando);
    return t;
}

DialogosQt::DialogosQt() = default;
DialogosQt::~DialogosQt() = default;

std::optional<QString> DialogosQt::abrir(QWidget* padre, const QString& filtro) {
    return DialogoFichero(padre, filtro, false);
}

std::optional<QString> DialogosQt::guardar(QWidget* padre, const QString& filtro) {
    return DialogoFichero(padre, filtro, true);
}

void DialogosQt::mensaje(QWidget* padre, const QString& texto, Icono icono) {
    QMessageBox m(icono == Icono::Informacion ? QMessageBox::Information : QMessageBox::NoIcon,
                  TituloMensajes, texto, QMessageBox::Ok, padre);
    m.exec();
}

bool DialogosQt::pregunta(QWidget* padre, const QString& texto) {
    QMessageBox m(QMessageBox::Information, TituloMensajes, texto,
                  QMessageBox::Yes | QMessageBox::No, padre);
    m.setDefaultButton(QMessageBox::No);
    m.button(QMessageBox::Yes)->setText(QStringLiteral("S\u00ed"));
    return m.exec() == QMessageBox::Yes;
}

void DialogosQt::pitido() { QApplication::beep(); }

std::optional<Impresion> DialogosQt::dialogoImprimir(QWidget* padre) {
    impresora_ = std::make_unique<QPrinter>();
    QPrintDialog d(impresora_.get(), padre);
    d.setOption(QAbstractPrintDialog::PrintToFile, false);
    if (d.exec() != QDialog::Accepted) return std::nullopt;
    Impresion r;
    r.copias = impresora_->copyCount();
    r.aFichero = !impresora_->outputFileName().isEmpty();
    return r;
}

bool DialogosQt::imprime(const QString& documento, QString& error) {
    if (!impresora_) impresora_ = std::make_unique<QPrinter>();
    // the copies are already in the document: one job
    impresora_->setCopyCount(1);
    QTextDocument doc;
    doc.setPlainText(documento);
    doc.setDefaultFont(QFont(QStringLiteral("Courier New"), 10));
    doc.print(impresora_.get());
    if (impresora_->printerState() == QPrinter::Error) {
        error = QStringLiteral("No se ha podido imprimir el documento.");
        return false;
    }
    return true;
}
