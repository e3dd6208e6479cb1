#include "editor.h"

#include "editor/reemplaza.h"
#include "transformacion/entrada.h"
#include "ventana/ficheros_qt.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace {

// Larger files are refused instead of exhausting memory.
constexpr qint64 MaximoBytes = qint64(64) << 20;

const QString MensajeErrorAbrirEditor =
    QStringLiteral(" \u00a1Se ha producido un error al abrir el archivo! ");
const QString PreguntaGuardarCambios = QStringLiteral(" \u00bfDesea guardar cambios? ");
const QString EntradaPorFichero = QStringLiteral("Entrada por fichero");
const QString SalidaPorFichero = QStringLiteral("Salida por fichero");
const QString SinImpresora = QStringLiteral(" No hay ninguna impresora disponible. ");
const QString OpcionNoDisponible = QStringLiteral(" Opci\u00f3n no disponible. ");

const char* const NombresFuentes[] = {"Courier New", "Arial", "Symbol"};
const int Tamanos[] = {8, 10, 12};

QFont Fuente(int indice, int puntos) {
    QFont f(QString::fromLatin1(NombresFuentes[indice]), puntos);
    // where the family is missing, fontconfig picks a face of the same kind
    f.setStyleHint(indice == 0 ? QFont::TypeWriter : QFont::SansSerif);
    return f;
}

} // namespace

Editor::Editor(Dialogos& dialogos, RutasCompartidas& rutas, QWidget* padre)
    : QMainWindow(padre), dialogos_(dialogos), rutas_(rutas) {
    setObjectName(QStringLiteral("Editor"));
    setAttribute(Qt::WA_DeleteOnClose);
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->installEventFilter(this);
    setCentralWidget(Text1);
    resize(649, 473 + menuBar()->sizeHint().height());
    creaMenus();
    Form_Load();
}

void Editor::Form_Load() {
    rutas_.NombreGuardar.clear();
    fuenteActual_ = 0;
    tamanoActual_ = 1;
    Text1->setFont(Fuente(0, 10));
    Text1->clear();
    textoCargado_ = texto();
    bytesCargados_.clear();
    codificacion_ = Codificacion{};
    setWindowTitle(TituloEditor);
    rutas_.NombreAbrir.clear();
}

QAction* Editor::accion(QMenu* menu, const char* nombre, const QString& texto, const QKeySequence& atajo) {
    QAction* a = menu->addAction(texto);
    a->setObjectName(QString::fromUtf8(nombre));
    a->setShortcut(atajo);
    return a;
}

void Editor::creaMenus() {
    QMenu* fichero = menuBar()->addMenu(QStringLiteral("&Archivo "));
    fichero->setObjectName(QStringLiteral("Men\u00faFichero"));
    connect(accion(fichero, "FicheroAbrir", QStringLiteral("A&brir..."), QKeySequence(QStringLiteral("Ctrl+B"))),
            &QAction::triggered, this, &Editor::Abrir);
    connect(accion(fichero, "FicheroGu", QStringLiteral("&Guardar"), QKeySequence(QStringLiteral("Ctrl+G"))),
            &QAction::triggered, this, &Editor::Guardar);
    connect(accion(fichero, "FicheroGuardar", QStringLiteral("Guardar c&omo..."), QKeySequence(QStringLiteral("Ctrl+O"))),
            &QAction::triggered, this, &Editor::GuardarComo);
    fichero->addSeparator();
    connect(accion(fichero, "FicheroImprimir", QStringLiteral("&Imprimir..."), QKeySequence(QStringLiteral("Ctrl+I"))),
            &QAction::triggered, this, &Editor::Imprimir);
    fichero->addSeparator();
    connect(accion(fichero, "FicheroSalir", QStringLiteral("&Salir"), QKeySequence(QStringLiteral("Ctrl+S"))),
            &QAction::triggered, this, &QWidget::close);

    QMenu* edicion = menuBar()->addMenu(QStringLiteral("&Edici\u00f3n "));
    edicion->setObjectName(QStringLiteral("Men\u00faEdici\u00f3n"));
    cortar_ = accion(edicion, "Edici\u00f3nCortar", QStringLiteral("&Cortar"), QKeySequence(QStringLiteral("Ctrl+X")));
    copiar_ = accion(edicion, "Edici\u00f3nCopiar", QStringLiteral("C&opiar"), QKeySequence(QStringLiteral("Ctrl+C")));
    pegar_ = accion(edicion, "Edici\u00f3nPegar", QStringLiteral("&Pegar"), QKeySequence(QStringLiteral("Ctrl+V")));
    for (QAction* a : {cortar_, copiar_, pegar_}) a->setEnabled(false);
    connect(edicion, &QMenu::aboutToShow, this, &Editor::MenuEdicion_Abierto);
    connect(cortar_, &QAction::triggered, this, [this] {
        QApplication::clipboard()->setText(Text1->textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')));
        Text1->textCursor().removeSelectedText();
    });
    connect(copiar_, &QAction::triggered, this, [this] {
        QApplication::clipboard()->setText(Text1->textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')));
    });
    connect(pegar_, &QAction::triggered, this,
            [this] { Text1->textCursor().insertText(QApplication::clipboard()->text()); });

    QMenu* reemp = menuBar()->addMenu(QStringLiteral("&Reemplazar"));
    reemp->setObjectName(QStringLiteral("Reemp"));
    connect(accion(reemp, "Reemplazar", QStringLiteral("Reempla&zar caracteres"), QKeySequence(QStringLiteral("Ctrl+Z"))),
            &QAction::triggered, this, &Editor::Reemplazar);

    QMenu* menuTexto = menuBar()->addMenu(QStringLiteral("&Texto "));
    menuTexto->setObjectName(QStringLiteral("Men\u00faTexto"));
    QMenu* fuentes = menuTexto->addMenu(QStringLiteral("&Fuentes"));
    fuentes->setObjectName(QStringLiteral("OpTextoFuentes"));
    QMenu* tamanos = menuTexto->addMenu(QStringLiteral("T&ama\u00f1o"));
    tamanos->setObjectName(QStringLiteral("OpTextoTama\u00f1o"));
    for (int i = 0; i < 3; ++i) {
        fuentes_[static_cast<std::size_t>(i)] = fuentes->addAction(QString::fromLatin1(NombresFuentes[i]));
        fuentes_[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("Fuente_%1").arg(i));
        fuentes_[static_cast<std::size_t>(i)]->setCheckable(true);
        connect(fuentes_[static_cast<std::size_t>(i)], &QAction::triggered, this, [this, i] { eligeFuente(i); });
        tamanos_[static_cast<std::size_t>(i)] = tamanos->addAction(QString::number(Tamanos[i]));
        tamanos_[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("Tama\u00f1o_%1").arg(i));
        tamanos_[static_cast<std::size_t>(i)]->setCheckable(true);
        connect(tamanos_[static_cast<std::size_t>(i)], &QAction::triggered, this, [this, i] { eligeTamano(i); });
    }
    fuentes_[0]->setChecked(true);
    tamanos_[1]->setChecked(true);

    QMenu* ayuda = menuBar()->addMenu(QStringLiteral("A&cerca de"));
    ayuda->setObjectName(QStringLiteral("Men\u00faAyuda"));
    QAction* acerca = ayuda->addAction(QStringLiteral("Acerca de Editor"));
    acerca->setObjectName(QStringLiteral("AyudaAcercaDe"));
    connect(acerca, &QAction::triggered, this, [this] { if (abreAcercaDe) abreAcercaDe(); });
}

// The menu's Ctrl shortcuts win over the text box's own (Ctrl+Z is Reemplazar, Ctrl+S Salir).
bool Editor::eventFilter(QObject* objeto, QEvent* e) {
    if (objeto == Text1 && e->type() == QEvent::ShortcutOverride) {
        const auto* k = static_cast<QKeyEvent*>(e);
        const QKeySequence pulsada(k->keyCombination());
        for (QAction* a : findChildren<QAction*>()) {
            if (a->isEnabled() && !a->shortcut().isEmpty() && a->shortcut() == pulsada) {
                e->ignore();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(objeto, e);
}

QString Editor::texto() const {
    // raw text: no no-break space turned into a blank; paragraphs are the lines
    QString t = Text1->document()->toRawText();
    t.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return t;
}

void Editor::ponTexto(const QString& t) { Text1->setPlainText(t); }

void Editor::MenuEdicion_Abierto() {
    const bool seleccion = Text1->textCursor().hasSelection();
    cortar_->setEnabled(seleccion);
    copiar_->setEnabled(seleccion);
    pegar_->setEnabled(!QApplication::clipboard()->text().isEmpty());
}

void Editor::eligeFuente(int i) {
    fuentes_[static_cast<std::size_t>(fuenteActual_)]->setChecked(false);
    fuentes_[static_cast<std::size_t>(i)]->setChecked(true);
    fuenteActual_ = i;
    Text1->setFont(Fuente(i, Tamanos[tamanoActual_]));
}

void Editor::eligeTamano(int i) {
    tamanos_[static_cast<std::size_t>(tamanoActual_)]->setChecked(false);
    tamanos_[static_cast<std::size_t>(i)]->setChecked(true);
    tamanoActual_ = i;
    Text1->setFont(Fuente(fuenteActual_, Tamanos[i]));
}

void Editor::ponTitulo(const QString& ruta) { setWindowTitle(TituloEditor + QStringLiteral(" - ") + ruta); }

void Editor::Abrir() {
    const auto bytes = AbreElegido(dialogos_, this, rutas_, false, MaximoBytes, MensajeErrorAbrirEditor);
    if (!bytes) return;
    const TextoDeFichero leido = DecodificaFichero(std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
    ponTexto(QString::fromStdU16String(leido.texto));
    textoCargado_ = texto();
    bytesCargados_ = *bytes;
    codificacion_ = leido.codificacion;
    ponTitulo(rutas_.NombreAbrir);
}

bool Editor::escribe(const QString& ruta) {
    const std::string bytes =
        BytesAGuardar(std::string_view(bytesCargados_.constData(), static_cast<std::size_t>(bytesCargados_.size())),
                      textoCargado_.toStdU16String(), texto().toStdU16String(), codificacion_);
    const auto fallo = GuardaConEspera(dialogos_, this, ruta, bytes);
    if (fallo) dialogos_.mensaje(this, *fallo, Icono::Ninguno);
    return !fallo;
}

void Editor::GuardarComo() { guardarComo(); }

// Save As; true only when the file was written.
bool Editor::guardarComo() {
    const auto ruta = EligeDestino(dialogos_, this, rutas_, false);
    guardarCancelado_ = !ruta;
    if (!ruta || !escribe(*ruta)) return false;
    ponTitulo(*ruta);
    return true;
}

// A path only the main window's file commands chose may hold a file this editor never saw:
// ask before writing over it; No goes on as Save As.
bool Editor::confirmaSobreescritura(const QString& ruta, const QString& comando) {
    if (comando.isEmpty() || !QFileInfo::exists(ruta)) return true;
    return dialogos_.pregunta(this, PreguntaSobreescribirFichero(ruta, comando));
}

void Editor::Guardar() {
    if (rutas_.NombreGuardar.isEmpty()) {
        GuardarComo();
        return;
    }
    if (!confirmaSobreescritura(rutas_.NombreGuardar, rutas_.guardarPorVentana ? SalidaPorFichero : QString())) {
        GuardarComo();
        return;
    }
    guardarCancelado_ = false;
    if (escribe(rutas_.NombreGuardar)) rutas_.guardarPorVentana = false; // now the editor's own
}

void Editor::Imprimir() {
    if (!dialogos_.hayImpresora()) {
        dialogos_.mensaje(this, SinImpresora, Icono::Ninguno);
        return;
    }
    const auto opciones = dialogos_.dialogoImprimir(this);
    if (!opciones) return;
    if (opciones->aFichero) {
        dialogos_.mensaje(this, OpcionNoDisponible, Icono::Ninguno);
        return;
    }
    QString documento;
    const QString t = texto().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    for (int copia = 0; copia < opciones->copias; ++copia)
        documento += QStringLiteral("\r\n\r\n\r\n\r\n") + t + QStringLiteral("\r\n");
    QString error;
    if (!dialogos_.imprime(documento, error)) dialogos_.mensaje(this, error, Icono::Ninguno);
}

void Editor::Reemplazar() {
    auto* d = new Reemplaza(*this, dialogos_);
    d->setAttribute(Qt::WA_DeleteOnClose);
    d->setWindowModality(Qt::ApplicationModal);
    CentraSobre(d, this);
    d->show();
}

void Editor::closeEvent(QCloseEvent* e) {
    if (texto() == textoCargado_ || !dialogos_.pregunta(this, PreguntaGuardarCambios)) {
        e->accept();
        return;
    }
    bool guardado;
    if (!rutas_.NombreAbrir.isEmpty()) {
        rutas_.NombreGuardar = rutas_.NombreAbrir;
        rutas_.guardarPorVentana = rutas_.abrirPorVentana;
        if (confirmaSobreescritura(rutas_.NombreGuardar, rutas_.abrirPorVentana ? EntradaPorFichero : QString())) {
            guardado = escribe(rutas_.NombreGuardar);
        } else {
            guardado = guardarComo();
        }
    } else {
        guardado = guardarComo();
    }
    // a cancelled or failed save keeps the editor open: no work is lost
    if (guardado) {
        e->accept();
    } else {
        e->ignore();
    }
}
