#include "dialogos_qt.h"

#include "ventana/paginas.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QScreen>
#include <QTranslator>
#include <QTreeView>

#include <algorithm>

namespace {

const QString TituloMensajes = QStringLiteral("Orvalo");

// The words Qt's own Spanish catalogue lacks: the type of a folder in the file dialog.
class TraduccionComplementaria : public QTranslator {
public:
    QString translate(const char* contexto, const char* texto, const char*, int) const override {
        if (qstrcmp(contexto, "QAbstractFileIconProvider") != 0 && qstrcmp(contexto, "QFileIconProvider") != 0)
            return {};
        if (qstrcmp(texto, "Folder") == 0) return QStringLiteral("Carpeta");
        if (qstrcmp(texto, "Drive") == 0) return QStringLiteral("Unidad");
        if (qstrcmp(texto, "Unknown") == 0) return QStringLiteral("Desconocido");
        return {};
    }
    bool isEmpty() const override { return false; }
};

// Qt's Spanish catalogue and the words it lacks, once for the whole program.
void CargaTraducciones() {
    static bool cargadas = false;
    if (cargadas || QCoreApplication::instance() == nullptr) return;
    cargadas = true;
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (qt->load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    QCoreApplication::installTranslator(new TraduccionComplementaria);
    // Qt's own words by locale (a file's kind, month names) in Spanish too; numbers are read
    // and written without a locale everywhere in the program
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
}

// The file list's sizes and dates, which Qt writes in the system's locale, in Spanish.
class EnEspanol : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& indice, int papel) const override {
        const auto* ficheros = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (papel != Qt::DisplayRole || ficheros == nullptr || (indice.column() != 1 && indice.column() != 3))
            return QIdentityProxyModel::data(indice, papel);
        const QFileInfo info = ficheros->fileInfo(mapToSource(indice));
        if (indice.column() == 3) return QLocale().toString(info.lastModified(), QLocale::ShortFormat);
        return info.isDir() ? QString() : QLocale().formattedDataSize(info.size());
    }
};

// Room for every column of the file list: at least 800 x 500, within the screen.
void Dimensiona(QFileDialog& d, const QWidget* padre) {
    const QScreen* pantalla = padre ? padre->screen() : QGuiApplication::primaryScreen();
    QSize tamano(960, 640);
    if (pantalla) tamano = tamano.boundedTo(pantalla->availableGeometry().size() - QSize(24, 48));
    d.resize(tamano);
    if (auto* lista = d.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        // size, type and date as wide as their headers and values; the name takes the rest
        QHeaderView* cabecera = lista->header();
        cabecera->setStretchLastSection(false);
        cabecera->setSectionResizeMode(QHeaderView::ResizeToContents);
        cabecera->setSectionResizeMode(0, QHeaderView::Stretch);
    }
}

std::optional<QString> DialogoFichero(QWidget* padre, const QString& filtro, bool guardar, const QString& inicial) {
    // "*.*" means every file where the filter comes from; here it would hide names without a dot
    QString filtros = filtro;
    filtros.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
    QString propuesta = inicial;
    while (true) {
        QFileDialog d(padre);
        // Qt's own dialog: in Spanish and laid out the same on every desktop
        d.setOption(QFileDialog::DontUseNativeDialog, true);
        d.setNameFilter(filtros);
        d.selectNameFilter(filtros.split(QStringLiteral(";;")).constLast());
        // the folder must exist; the file itself need not (a missing one fails on reading)
        d.setFileMode(QFileDialog::AnyFile);
        d.setAcceptMode(guardar ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        d.setOption(QFileDialog::DontConfirmOverwrite, true);
        const QFileInfo info(propuesta);
        if (info.isDir()) {
            d.setDirectory(propuesta);
        } else {
            d.setDirectory(info.absolutePath());
            d.selectFile(info.fileName());
        }
        d.setProxyModel(new EnEspanol(&d));
        Dimensiona(d, padre);
        if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
        const QString ruta = d.selectedFiles().constFirst();
        propuesta = ruta;
        const QFileInfo elegido(ruta);
        if (!elegido.dir().exists()) continue;
        if (guardar && elegido.exists() && !elegido.isWritable()) continue; // no read-only file
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

DialogosQt::DialogosQt() { CargaTraducciones(); }
DialogosQt::~DialogosQt() = default;

std::optional<QString> DialogosQt::abrir(QWidget* padre, const QString& filtro, const QString& inicial) {
    return DialogoFichero(padre, filtro, false, inicial);
}

std::optional<QString> DialogosQt::guardar(QWidget* padre, const QString& filtro, const QString& inicial) {
    return DialogoFichero(padre, filtro, true, inicial);
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

Impreso DialogosQt::imprime(const QString& texto, const QFont& fuente) {
    if (!impresora_) impresora_ = std::make_unique<QPrinter>();
    // the copies are already in the text: one job
    impresora_->setCopyCount(1);
    impresora_->setPrintRange(QPrinter::AllPages);
    QPainter p;
    if (!p.begin(impresora_.get())) return Impreso::NoEmpieza;
    // page by page, so that a job that does not start or end is known
    const bool entero = PintaPaginas(p, *impresora_, impresora_->resolution(), texto, fuente);
    const bool terminado = p.end();
    if (!entero || !terminado || impresora_->printerState() == QPrinter::Error ||
        impresora_->printerState() == QPrinter::Aborted)
        return Impreso::Incompleto;
    return Impreso::Si;
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
    reloj.start(50);
    if (!terminado()) d.exec();
    // closed before the end: Cancelar, Escape or the window's close button
    if (!terminado()) cancela();
    while (!terminado()) QThread::msleep(10); // the writer stops within a tenth of a second
}
