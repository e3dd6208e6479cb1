#include "editor.h"

#include "editor/reemplaza.h"
#include "texto/reemplazo.h"
#include "ventana/ficheros_qt.h"
#include "ventana/texto_qt.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

namespace {

// Larger files are refused instead of exhausting memory.
constexpr qint64 MaximoBytes = qint64(64) << 20;

const QString PreguntaGuardarCambios = QStringLiteral(" \u00bfDesea guardar cambios? ");
const QString PreguntaUtf8 =
    QStringLiteral(" El fichero se abri\u00f3 en Latin-1 y el texto tiene caracteres que Latin-1 no admite: "
                   "se guardar\u00e1 en UTF-8. \r\n \u00bfDesea guardarlo as\u00ed? ");
const QString EntradaPorFichero = QStringLiteral("Entrada por fichero");
const QString SalidaPorFichero = QStringLiteral("Salida por fichero");

const char* const NombresFuentes[] = {"Courier New", "Arial", "Symbol"};
const int Tamanos[] = {8, 10, 12};

QFont Fuente(int indice, int puntos) {
    QFont f(QString::fromLatin1(NombresFuentes[indice]), puntos);
    // where the family is missing, fontconfig picks a face of the same kind
    f.setStyleHint(indice == 0 ? QFont::TypeWriter : QFont::SansSerif);
    return f;
}

// A question with the file it is about on a line of its own.
QString Nombrando(const QString& pregunta, const QString& ruta) {
    return ruta.isEmpty() ? pregunta : pregunta + QStringLiteral("\r\n ") + ruta;
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
    Text1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Text1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& donde) { muestraMenuContextual(Text1->viewport()->mapToGlobal(donde)); });
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
    textoGuardado_ = textoLeido_ = texto();
    bytesLeidos_.clear();
    codificacion_ = Codificacion{};
    rutaTitulo_.clear();
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
    creaMenuArchivo();
    creaMenuEdicion();
    QMenu* reemp = menuBar()->addMenu(QStringLiteral("&Reemplazar"));
    reemp->setObjectName(QStringLiteral("Reemp"));
    connect(accion(reemp, "Reemplazar", QStringLiteral("Reempla&zar caracteres"), QKeySequence(QStringLiteral("Ctrl+Z"))),
            &QAction::triggered, this, &Editor::Reemplazar);
    creaMenuTexto();
    QMenu* ayuda = menuBar()->addMenu(QStringLiteral("A&cerca de"));
    ayuda->setObjectName(QStringLiteral("Men\u00faAyuda"));
    QAction* acerca = ayuda->addAction(QStringLiteral("Acerca de Editor"));
    acerca->setObjectName(QStringLiteral("AyudaAcercaDe"));
    connect(acerca, &QAction::triggered, this, [this] { if (abreAcercaDe) abreAcercaDe(); });
}

void Editor::creaMenuArchivo() {
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
}

void Editor::creaMenuEdicion() {
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
    // Ctrl+Z is Reemplazar: the box's undo gets a key of its own, shown in its context menu
    deshacer_ = new QAction(this);
    deshacer_->setObjectName(QStringLiteral("Deshacer"));
    deshacer_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Backspace));
    addAction(deshacer_);
    connect(deshacer_, &QAction::triggered, Text1, &QPlainTextEdit::undo);
}

void Editor::creaMenuTexto() {
    QMenu* menuTexto = menuBar()->addMenu(QStringLiteral("&Texto "));
    menuTexto->setObjectName(QStringLiteral("Men\u00faTexto"));
    QMenu* fuentes = menuTexto->addMenu(QStringLiteral("&Fuentes"));
    fuentes->setObjectName(QStringLiteral("OpTextoFuentes"));
    QMenu* tamanos = menuTexto->addMenu(QStringLiteral("T&ama\u00f1o"));
    tamanos->setObjectName(QStringLiteral("OpTextoTama\u00f1o"));
    for (std::size_t i = 0; i < 3; ++i) {
        const int n = static_cast<int>(i);
        fuentes_[i] = fuentes->addAction(QString::fromLatin1(NombresFuentes[i]));
        fuentes_[i]->setObjectName(QStringLiteral("Fuente_%1").arg(n));
        connect(fuentes_[i], &QAction::triggered, this, [this, n] { eligeFuente(n); });
        tamanos_[i] = tamanos->addAction(QString::number(Tamanos[i]));
        tamanos_[i]->setObjectName(QStringLiteral("Tama\u00f1o_%1").arg(n));
        connect(tamanos_[i], &QAction::triggered, this, [this, n] { eligeTamano(n); });
        for (QAction* a : {fuentes_[i], tamanos_[i]}) a->setCheckable(true);
    }
    fuentes_[0]->setChecked(true);
    tamanos_[1]->setChecked(true);
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

// The box's own menu, its Deshacer showing the key that does it.
void Editor::muestraMenuContextual(const QPoint& donde) {
    QMenu* menu = Text1->createStandardContextMenu();
    menu->setObjectName(QStringLiteral("MenuContextual"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (auto* undo = menu->findChild<QAction*>(QStringLiteral("edit-undo"))) {
        undo->setText(undo->text().section(QLatin1Char('\t'), 0, 0) + QLatin1Char('\t') +
                      deshacer_->shortcut().toString(QKeySequence::NativeText));
    }
    menu->popup(donde);
}

QString Editor::texto() const {
    // raw text: no no-break space turned into a blank; paragraphs are the lines
    QString t = Text1->document()->toRawText();
    t.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return t;
}

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

void Editor::ponTitulo(const QString& ruta) {
    rutaTitulo_ = ruta;
    setWindowTitle(TituloEditor + QStringLiteral(" - ") + ruta);
}

void Editor::Abrir() {
    const auto bytes = AbreElegido(dialogos_, this, rutas_, false, MaximoBytes);
    if (!bytes) return;
    const TextoDeFichero leido = DecodificaFichero(std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
    Text1->setPlainText(QString::fromStdU16String(leido.texto));
    textoGuardado_ = textoLeido_ = texto();
    bytesLeidos_ = *bytes;
    codificacion_ = leido.codificacion;
    ponTitulo(rutas_.NombreAbrir);
}

// A Latin-1 file whose text Latin-1 can no longer carry is saved as UTF-8 only when the user
// agrees; asked once.
bool Editor::aceptaUtf8(const std::u16string& actual) {
    if (codificacion_.utf8 || CabeEnLatin1(actual)) return true;
    if (!dialogos_.pregunta(this, PreguntaUtf8)) return false;
    codificacion_.utf8 = true;
    return true;
}

bool Editor::escribe(const QString& ruta) {
    const QString actual = texto();
    if (actual != textoLeido_ && !aceptaUtf8(actual.toStdU16String())) return false;
    const std::string bytes =
        BytesAGuardar(std::string_view(bytesLeidos_.constData(), static_cast<std::size_t>(bytesLeidos_.size())),
                      textoLeido_.toStdU16String(), actual.toStdU16String(), codificacion_);
    if (const auto fallo = GuardaConEspera(dialogos_, this, ruta, bytes)) {
        dialogos_.mensaje(this, *fallo, Icono::Ninguno);
        return false;
    }
    textoGuardado_ = actual;
    return true;
}

void Editor::GuardarComo() { guardarComo(); }

// Save As; true only when the file was written.
bool Editor::guardarComo() {
    const auto ruta = EligeDestino(dialogos_, this, rutas_, false);
    if (!ruta || !escribe(*ruta)) return false;
    ponTitulo(*ruta);
    return true;
}

// A path only the main window's file commands chose may hold a file this editor never saw:
// ask before writing over it.
bool Editor::confirmaSobreescritura(const QString& ruta, const QString& comando) {
    if (comando.isEmpty() || !QFileInfo::exists(ruta)) return true;
    return dialogos_.pregunta(this, PreguntaSobreescribirFichero(ruta, comando));
}

void Editor::Guardar() {
    // No to overwriting a file of the main window's goes on as Save As
    if (rutas_.NombreGuardar.isEmpty() ||
        !confirmaSobreescritura(rutas_.NombreGuardar, rutas_.guardarPorVentana ? SalidaPorFichero : QString())) {
        GuardarComo();
        return;
    }
    if (escribe(rutas_.NombreGuardar)) rutas_.guardarPorVentana = false; // now the editor's own
}

void Editor::Reemplazar() {
    auto* d = new Reemplaza(this, dialogos_);
    d->setAttribute(Qt::WA_DeleteOnClose);
    d->setWindowModality(Qt::ApplicationModal);
    connect(d, &Reemplaza::elegido, this, &Editor::aplicaReemplazo);
    CentraSobre(d, this);
    d->show();
}

// On the text as its file holds it (a line end is CR LF, two characters), as one undo step.
void Editor::aplicaReemplazo(const QString& buscado, const QString& por) {
    const QString antes = texto();
    const QString nuevo = SinCrLf(QString::fromStdU16String(
        ReemplazaCaracteres(ConCrLf(antes).toStdU16String(), buscado.toStdU16String(), por.toStdU16String())));
    if (nuevo == antes) return;
    QTextCursor c(Text1->document());
    c.beginEditBlock();
    c.select(QTextCursor::Document);
    c.insertText(nuevo);
    c.endEditBlock();
}

// Close's Yes with a known file: written without a further question, unless only the main
// window's Entrada por fichero chose it; No to that goes on as Save As.
bool Editor::guardaAlCerrar(const QString& destino, bool porVentana) {
    rutas_.NombreGuardar = destino;
    rutas_.guardarPorVentana = porVentana;
    if (!confirmaSobreescritura(destino, porVentana ? EntradaPorFichero : QString())) return guardarComo();
    return escribe(destino);
}

void Editor::closeEvent(QCloseEvent* e) {
    if (texto() == textoGuardado_) {
        e->accept();
        return;
    }
    // the file the caption names; else the input file of the main window; else Save As
    const bool porVentana = rutaTitulo_.isEmpty() && rutas_.abrirPorVentana && !rutas_.NombreAbrir.isEmpty();
    const QString destino = porVentana ? rutas_.NombreAbrir : rutaTitulo_;
    if (!dialogos_.pregunta(this, Nombrando(PreguntaGuardarCambios, destino))) {
        e->accept();
        return;
    }
    // a cancelled or failed save keeps the editor open: no work is lost
    const bool guardado = destino.isEmpty() ? guardarComo() : guardaAlCerrar(destino, porVentana);
    if (guardado) {
        e->accept();
    } else {
        e->ignore();
    }
}
