// The main window's widgets and their arrangement, the shared scrolling and the highlight of
// the point under the cursor.
#include "main.h"

#include "ventana/margen.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QTimer>
#include <QScrollBar>
#include <QSettings>
#include <QTextBlock>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {

QLabel* Etiqueta(const QString& texto, double puntos, QWidget* padre) {
    auto* l = new QLabel(texto, padre);
    QFont f = l->font();
    f.setPointSizeF(puntos);
    l->setFont(f);
    return l;
}

// The widest text of each column: " -180.00000000" less its blank for φ and λ, the layout of
// width 8 with three decimals for X, Y and Z, of width 6 for h.
int Caracteres(int k) {
    const int formato = k / 3 + 1;
    if (k % 3 == 2 && formato != 4 && formato != 6) return 10;
    return 13;
}

constexpr int Espacio = 2; // between the widgets of a format

} // namespace

void Main::creaTitulos(QVBoxLayout* l) {
    auto* t1 = Etiqueta(QStringLiteral("TRANSFORMACI\u00d3N DE ORVALO"), 13.5, this);
    t1->setObjectName(QStringLiteral("Label1"));
    auto* t2 = Etiqueta(QStringLiteral("Introduzca las coordenadas en uno de los siguientes formatos "
                                       "y pulse TRANSFORMAR"),
                        9.75, this);
    t2->setObjectName(QStringLiteral("Label2"));
    // one row: the boxes take the height
    auto* fila = new QHBoxLayout;
    fila->addStretch();
    fila->addWidget(t1, 0, Qt::AlignBaseline);
    fila->addSpacing(24);
    fila->addWidget(t2, 0, Qt::AlignBaseline);
    fila->addStretch();
    l->addLayout(fila);
}

void Main::creaFormatos(QVBoxLayout* l) {
    const QString geodesicas = QStringLiteral("Geod\u00e9sicas (pseudosexagesimal)");
    const QString cartesianas = QStringLiteral("Cartesianas geoc\u00e9ntricas");
    auto titulo = [this](const QString& texto) { return new QLabel(texto, this); };
    auto* ed50 = new QGroupBox(QStringLiteral("ED50"), this);
    rejillaEd50_ = new QGridLayout(ed50);
    rejillaEd50_->setContentsMargins(3, 0, 3, 3);
    rejillaEd50_->setVerticalSpacing(4);
    creaFormato(1, titulo(QStringLiteral("UTM huso 30")));
    husoEd50_ = creaHuso("husoEd50", {31, 29}, 31);
    creaFormato(2, husoEd50_);
    creaFormato(3, titulo(geodesicas));
    creaFormato(4, titulo(cartesianas));
    // the group's title is the choice of method, always in sight
    auto* wgs84 = new QGroupBox(this);
    wgs84->setObjectName(QStringLiteral("GrupoWgs84"));
    auto* fila = new QGridLayout(wgs84);
    fila->setContentsMargins(3, 3, 3, 3);
    fila->setVerticalSpacing(Espacio);
    fila->addWidget(creaMetodo(wgs84), 0, 0, 1, 3, Qt::AlignLeft);
    fila->addWidget(creaFormato(5, titulo(geodesicas)), 1, 0);
    fila->addWidget(creaFormato(6, titulo(cartesianas)), 1, 1);
    husoUtm_ = creaHuso("huso", {29, 30, 31}, 30);
    fila->addWidget(creaFormato(7, husoUtm_), 1, 2);
    nombraHusos();
    for (QComboBox* c : {husoEd50_, husoUtm_}) connect(c, &QComboBox::currentIndexChanged, this, &Main::cambiaHuso);
    fila->setRowStretch(1, 1);
    grupos_ = new QVBoxLayout;
    grupos_->setSpacing(3);
    grupos_->addWidget(ed50, 1);
    grupos_->addWidget(wgs84, 1);
    organiza();

    // the point numbers on the left, one scroll bar for every box on the right: line k of
    // every box is point k
    std::vector<CajaCoordenada*> cajas(Coord.begin(), Coord.end());
    margen_ = new MargenPuntos(cajas, this);
    margen_->setObjectName(QStringLiteral("Margen"));
    desplazamiento_ = new QScrollBar(Qt::Vertical, this);
    desplazamiento_->setObjectName(QStringLiteral("Desplazamiento"));
    QSizePolicy sitio = desplazamiento_->sizePolicy();
    sitio.setRetainSizeWhenHidden(true); // showing it moves nothing
    desplazamiento_->setSizePolicy(sitio);
    desplazamiento_->hide();
    connect(desplazamiento_, &QScrollBar::valueChanged, this, &Main::desplazaTodas);
    auto* cajasYBarra = new QHBoxLayout;
    cajasYBarra->setSpacing(2);
    cajasYBarra->addWidget(margen_);
    cajasYBarra->addLayout(grupos_, 1);
    cajasYBarra->addWidget(desplazamiento_);
    l->addLayout(cajasYBarra, 1);

    estado_ = new QLabel(this);
    estado_->setObjectName(QStringLiteral("Estado"));
    estado_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred); // a long status never widens the window
    estado_->setWordWrap(true); // a long status takes a second line instead of losing its end
    estado_->installEventFilter(this);
    l->addWidget(estado_);
}

// A zone chosen in a format's title, each item holding its zone; the choice of the last run.
QComboBox* Main::creaHuso(const char* clave, std::initializer_list<int> husos, int porOmision) {
    auto* c = new QComboBox(this);
    for (int h : husos) c->addItem(QString(), h);
    const int elegido = QSettings().value(QString::fromLatin1(clave), porOmision).toInt();
    c->setCurrentIndex(std::max(0, c->findData(elegido)));
    c->setProperty("clave", QString::fromLatin1(clave));
    (std::string_view(clave) == "huso" ? husos_.utm : husos_.ed50) = c->currentData().toInt();
    return c;
}

// Each zone's item named as its format is in that zone and with the method chosen.
void Main::nombraHusos() {
    for (QComboBox* c : {husoEd50_, husoUtm_}) {
        for (int i = 0; i < c->count(); ++i) {
            Rotulos r = rotulos();
            const int formato = c == husoUtm_ ? 7 : 2;
            (formato == 7 ? r.husos.utm : r.husos.ed50) = c->itemData(i).toInt();
            c->setItemText(i, QString::fromStdString(NombreMostrado(formato, r)));
        }
    }
}

// The ED50 formats two by two, or in one row when the window is wide enough for them.
void Main::organiza() {
    int ancho = 0;
    for (int f = 0; f < 4; ++f) ancho += marcos_[static_cast<std::size_t>(f)]->minimumSizeHint().width() + 6;
    const int fijo = 40 + (margen_ ? margen_->sizeHint().width() + desplazamiento_->sizeHint().width() : 80);
    const bool ancha = width() >= ancho + fijo;
    if (ancha == ancha_ && rejillaEd50_->count() > 0) return;
    ancha_ = ancha;
    for (int f = 0; f < 4; ++f)
        rejillaEd50_->addWidget(marcos_[static_cast<std::size_t>(f)], ancha ? 0 : f / 2, ancha ? f : f % 2);
    rejillaEd50_->setRowStretch(0, 1);
    rejillaEd50_->setRowStretch(1, ancha ? 0 : 1);
}

// Every row of formats the same height: the WGS84 group is given the height of one row of
// boxes with its own titles and buttons, as the layout has just placed them.
void Main::igualaFilas() {
    QWidget* ed50 = grupos_->itemAt(0)->widget();
    QWidget* wgs84 = grupos_->itemAt(1)->widget();
    const int filas = ancha_ ? 1 : 2;
    const int restoEd50 = ed50->height() - filas * Coord[0]->height();
    const int restoWgs84 = wgs84->height() - Coord[12]->height();
    // the groups' whole height, which a group not yet placed anew does not add up to
    const int cajas = grupos_->geometry().height() - grupos_->spacing() - restoEd50 - restoWgs84;
    const int alto = restoWgs84 + cajas / (filas + 1);
    if (alto != wgs84->height() && alto > 0) wgs84->setMaximumHeight(alto);
    if (margen_) margen_->update(); // the boxes moved under numbers of its own size
}

// The rows of boxes share the height anew.
void Main::reparte() {
    grupos_->itemAt(1)->widget()->setMaximumHeight(QWIDGETSIZE_MAX);
    QTimer::singleShot(0, this, &Main::igualaFilas); // once the layout has placed the boxes
}

void Main::resizeEvent(QResizeEvent* e) {
    organiza();
    reparte();
    QWidget::resizeEvent(e);
}

// A status line that takes a second line, or gives it back, changes the boxes' share.
bool Main::eventFilter(QObject* objeto, QEvent* e) {
    if (objeto == estado_ && e->type() == QEvent::Resize) reparte();
    return QWidget::eventFilter(objeto, e);
}

QWidget* Main::creaFormato(int formato, QWidget* cabecera) {
    auto* marco = new QFrame(this);
    marco->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    marco->setObjectName(QStringLiteral("Frame2_%1").arg(formato));
    marcos_[static_cast<std::size_t>(formato - 1)] = marco;
    titulos_[static_cast<std::size_t>(formato - 1)] = cabecera;
    cabecera->setParent(marco);
    cabecera->setObjectName(QStringLiteral("Titulo_%1").arg(formato));
    // titles and choices of zone take one height, so the boxes' tops line up
    cabecera->setFixedHeight(20);
    auto* g = new QGridLayout(marco);
    g->setContentsMargins(3, 1, 3, 1);
    g->setSpacing(Espacio);
    // the ED50 formats, two rows of them, take their button beside the title: a line more a box
    const bool botonArriba = formato <= 4;
    g->addWidget(cabecera, 0, 0, 1, botonArriba ? 2 : 3);
    const auto& letras = LetrasFormato(formato);
    for (int m = 0; m < 3; ++m) {
        const int k = 3 * (formato - 1) + m;
        auto* letra = new QLabel(QString::fromStdString(letras[static_cast<std::size_t>(m)]), marco);
        letra->setAlignment(Qt::AlignCenter);
        auto* caja = new CajaCoordenada(Caracteres(k), marco);
        caja->setObjectName(QStringLiteral("Coord_%1").arg(k));
        Coord[static_cast<std::size_t>(k)] = caja;
        conectaCaja(caja, k);
        g->addWidget(letra, 1, m);
        g->addWidget(caja, 2, m);
    }
    auto* boton = new QPushButton(QStringLiteral("< TRANSFORMAR >"), marco);
    boton->setObjectName(QStringLiteral("Transform_%1").arg(formato - 1));
    boton->setAutoDefault(true); // Enter on the focused button presses it
    Transform[static_cast<std::size_t>(formato - 1)] = boton;
    connect(boton, &QPushButton::clicked, this, [this, formato] { Transform_Click(formato - 1); });
    if (botonArriba) g->addWidget(boton, 0, 2, Qt::AlignRight);
    else g->addWidget(boton, 3, 0, 1, 3, Qt::AlignCenter);
    g->setRowStretch(2, 1);
    return marco;
}

void Main::conectaCaja(CajaCoordenada* caja, int k) {
    connect(caja->verticalScrollBar(), &QScrollBar::valueChanged, this, &Main::desplazaTodas);
    connect(caja->verticalScrollBar(), &QScrollBar::rangeChanged, this, &Main::ajustaDesplazamiento);
    // a box scrolled by its own cursor does not always tell its scroll bar's signal
    connect(caja, &QPlainTextEdit::updateRequest, this, [this, caja](const QRect&, int dy) {
        if (dy != 0) desplazaTodas(caja->verticalScrollBar()->value());
    });
    connect(caja, &QPlainTextEdit::cursorPositionChanged, this, [this, caja] { resalta(caja->textCursor().blockNumber()); });
    connect(caja, &QPlainTextEdit::textChanged, this, [this] {
        if (!escribiendo_ && margen_) margen_->update();
    });
    connect(caja, &CajaCoordenada::tablaPegada, this, [this, k](const QString& texto) { pegaTabla(k, texto); });
    connect(caja, &CajaCoordenada::deshacerPedido, this, [this, k] { deshace(k); });
    connect(caja, &CajaCoordenada::copiarTabla, this, &Main::copiaTabla);
}

void Main::creaBotones(QVBoxLayout* l) {
    struct Boton {
        const char* nombre;
        QString texto;
        std::function<void()> accion;
    };
    const Boton botones[] = {
        {"Input", QStringLiteral("Entrada por fichero"), [this] { Input_Click(); }},
        {"Output", QStringLiteral("Salida por fichero"), [this] { Output_Click(); }},
        {"Command2", QStringLiteral("Editor de texto"), [this] { if (abreEditor) abreEditor(); }},
        {"Erase", QStringLiteral("Borrar"), [this] { Erase_Click(); }},
        {"Help", QStringLiteral("Ayuda"), [this] { if (abreAyuda) abreAyuda(); }},
        {"Command1", QStringLiteral("Acerca de"), [this] { if (abreAcercaDe) abreAcercaDe(); }},
    };
    auto* fila = new QHBoxLayout;
    for (const Boton& b : botones) {
        auto* boton = new QPushButton(b.texto, this);
        boton->setObjectName(QString::fromLatin1(b.nombre));
        boton->setAutoDefault(true);
        connect(boton, &QPushButton::clicked, this, b.accion);
        fila->addWidget(boton);
    }
    l->addLayout(fila);
}

void Main::desplazaTodas(int valor) {
    if (desplazando_ || !margen_) return; // not before every widget exists
    desplazando_ = true;
    for (CajaCoordenada* c : Coord) c->verticalScrollBar()->setValue(valor);
    desplazamiento_->setValue(valor);
    desplazando_ = false;
    margen_->update();
}

void Main::ajustaDesplazamiento() {
    if (!margen_) return;
    int maximo = 0;
    for (CajaCoordenada* c : Coord) maximo = std::max(maximo, c->verticalScrollBar()->maximum());
    desplazamiento_->setRange(0, maximo);
    desplazamiento_->setPageStep(Coord[0]->verticalScrollBar()->pageStep());
    desplazamiento_->setVisible(maximo > 0); // shown only when there is something to scroll
    margen_->update();
}

// The point under the cursor, highlighted in every box and visible in the shortest of them.
void Main::resalta(int linea) {
    puntoResaltado_ = linea;
    int visibles = std::numeric_limits<int>::max();
    for (CajaCoordenada* c : Coord) visibles = std::min(visibles, c->lineasVisibles());
    const int arriba = desplazamiento_->value();
    if (linea < arriba) desplazaTodas(linea);
    else if (linea >= arriba + visibles) desplazaTodas(linea - visibles + 1);
    QTextEdit::ExtraSelection s;
    s.format.setBackground(palette().color(QPalette::AlternateBase).darker(108));
    s.format.setProperty(QTextFormat::FullWidthSelection, true);
    for (CajaCoordenada* c : Coord) {
        const QTextBlock bloque = c->document()->findBlockByNumber(linea);
        if (!bloque.isValid() || c->document()->isEmpty()) { // an empty box has no point to mark
            c->setExtraSelections({});
            continue;
        }
        s.cursor = QTextCursor(bloque);
        c->setExtraSelections({s});
    }
}

// The entry format's title in bold, and the status line.
void Main::marca(int formato, const QString& estado) {
    for (std::size_t f = 0; f < titulos_.size(); ++f) {
        if (!titulos_[f]) continue;
        QFont fuente = titulos_[f]->font();
        fuente.setBold(static_cast<int>(f) + 1 == formato);
        titulos_[f]->setFont(fuente);
    }
    estado_->setText(estado);
}

// The cursor on the line at fault, in view and highlighted, the line's text selected.
void Main::senala(const Fallo& f) {
    if (f.caja < 0) return;
    CajaCoordenada* c = Coord[static_cast<std::size_t>(f.caja)];
    const QTextBlock bloque = c->document()->findBlockByNumber(std::max(0, f.linea));
    QTextCursor cursor(bloque.isValid() ? bloque : c->document()->lastBlock());
    if (f.seleccion) cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    else cursor.movePosition(QTextCursor::EndOfBlock);
    c->setFocus();
    c->setTextCursor(cursor);
    resalta(cursor.blockNumber());
}
