#include "dialogos_qt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QAbstractTextDocumentLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QScreen>
#include <QTextDocument>

#include <algorithm>

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

void CentraSobre(QWidget* w, const QWidget* sobre) {
    if (w == nullptr || sobre == nullptr) return;
    if (!w->testAttribute(Qt::WA_Resized)) w->adjustSize();
    QRect r(QPoint(), w->size().expandedTo(w->minimumSizeHint()));
    r.moveCenter(sobre->frameGeometry().center());
    // never off the screen the main window is on
    if (const QScreen* pantalla = sobre->screen()) {
        const QRect disponible = pantalla->availableGeometry();
        r.moveLeft(std::clamp(r.left(), disponible.left(), std::max(disponible.left(), disponible.right() - r.width())));
        r.moveTop(std::clamp(r.top(), disponible.top(), std::max(disponible.top(), disponible.bottom() - r.height())));
    }
    w->move(r.topLeft());
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

bool DialogosQt::hayImpresora() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

std::optional<Impresion> DialogosQt::dialogoImprimir(QWidget* padre) {
    impresora_ = std::make_unique<QPrinter>();
    QPrintDialog d(impresora_.get(), padre);
    // every copy is printed whole: no page range, selection or current page
    d.setOption(QAbstractPrintDialog::PrintToFile, false);
    d.setOption(QAbstractPrintDialog::PrintPageRange, false);
    d.setOption(QAbstractPrintDialog::PrintSelection, false);
    d.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
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
    impresora_->setPrintRange(QPrinter::AllPages);
    QTextDocument doc;
    doc.setPlainText(documento);
    doc.setDefaultFont(QFont(QStringLiteral("Courier New"), 10));
    // page by page, so that a job that does not start or end is known
    QPainter p;
    if (!p.begin(impresora_.get())) {
        error = QStringLiteral(" No se ha podido empezar a imprimir. ");
        return false;
    }
    doc.documentLayout()->setPaintDevice(impresora_.get());
    const QSizeF pagina = impresora_->pageLayout().paintRectPixels(impresora_->resolution()).size();
    doc.setPageSize(pagina);
    bool entero = true; // every page begun
    for (int i = 0; i < doc.pageCount(); ++i) {
        if (i > 0 && !impresora_->newPage()) {
            entero = false;
            break;
        }
        p.save();
        p.translate(0, -i * pagina.height());
        doc.drawContents(&p, QRectF(0, i * pagina.height(), pagina.width(), pagina.height()));
        p.restore();
    }
    const bool terminado = p.end();
    if (!entero || !terminado || impresora_->printerState() == QPrinter::Error ||
        impresora_->printerState() == QPrinter::Aborted) {
        error = QStringLiteral(" No se ha podido imprimir el documento. ");
        return false;
    }
    return true;
}

void DialogosQt::espera(QWidget* padre, const QString& texto, const std::function<bool()>& terminado,
                        const std::function<void()>& cancela) {
    QProgressDialog d(texto, QStringLiteral("Cancelar"), 0, 0, padre);
    d.setWindowTitle(TituloMensajes);
    d.setWindowModality(Qt::WindowModal);
    d.setMinimumDuration(0);
    QTimer reloj;
    QObject::connect(&reloj, &QTimer::timeout, &d, [&] {
        if (terminado()) d.reset();
    });
    QObject::connect(&d, &QProgressDialog::canceled, &d, [&] { cancela(); });
    reloj.start(50);
    if (!terminado()) d.exec();
    while (!terminado()) QThread::msleep(10); // after Cancelar, the writer stops within a tenth of a second
}
