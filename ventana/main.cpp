#include "main.h"

#include "transformacion/entrada.h"
#include "transformacion/salida.h"
#include "geodesia/fallo.h"
#include "ventana/caja.h"
#include "ventana/ficheros_qt.h"
#include "ventana/texto_qt.h"
#include "transformacion/tuberias.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QScreen>
#include <QSettings>
#include <QStandardItemModel>
#include <QScrollBar>
#include <QTextBlock>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <array>

namespace {

// Files larger than this are refused before they are read whole into memory.
constexpr qint64 MaximoBytesEntrada = qint64(256) << 20;

QLabel* Etiqueta(const QString& texto, double puntos, QWidget* padre) {
    auto* l = new QLabel(texto, padre);
    QFont f = l->font();
    f.setPointSizeF(puntos);
    l->setFont(f);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

} // namespace

Main::Main(Dialogos& dialogos, QWidget* padre) : QWidget(padre), dialogos_(dialogos) {
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Transformaci\u00f3n de Orvalo"));
    auto* l = new QVBoxLayout(this);
    creaTitulos(l);
    creaFormatos(l);
    creaBotones(l);
    unsetCursor();
    // room for the boxes, but never more than a 1024 x 768 screen can show
    QSize tamano(1000, 700);
    if (const QScreen* pantalla = screen()) tamano = tamano.boundedTo(pantalla->availableGeometry().size());
    resize(tamano.expandedTo(minimumSizeHint()));
}

void Main::creaTitulos(QVBoxLayout* l) {
    auto* t1 = Etiqueta(QStringLiteral("TRANSFORMACI\u00d3N DE ORVALO"), 13.5, this);
    t1->setObjectName(QStringLiteral("Label1"));
    auto* t2 = Etiqueta(QStringLiteral("Introduzca las coordenadas en uno de los siguientes formatos "
                                       "y pulse TRANSFORMAR"),
                        9.75, this);
    t2->setObjectName(QStringLiteral("Label2"));
    l->addWidget(t1);
    l->addWidget(t2);
}

namespace {

// Coordinate letters of each format, as the boxes are captioned, and as a table's header names them.
const QString Letras[6] = {QStringLiteral("XYh"), QStringLiteral("XYh"), QStringLiteral("\u03c6\u03bbh"),
                           QStringLiteral("XYZ"), QStringLiteral("\u03c6\u03bbh"), QStringLiteral("XYZ")};
const char* const Coordenadas[6][3] = {{"X", "Y", "h"}, {"X", "Y", "h"}, {"latitud", "longitud", "h"},
                                       {"X", "Y", "Z"}, {"latitud", "longitud", "h"}, {"X", "Y", "Z"}};

// 2340 as "2 340".
QString Miles(long long n) {
    QString t = QString::number(n);
    for (qsizetype i = t.size() - 3; i > 0; i -= 3) t.insert(i, QLatin1Char(' '));
    return t;
}

} // namespace

void Main::creaFormatos(QVBoxLayout* l) {
    const QString geodesicas = QStringLiteral("Geod\u00e9sicas (pseudosexagesimal)");
    const QString cartesianas = QStringLiteral("Cartesianas geoc\u00e9ntricas");
    auto* ed50 = new QGroupBox(QStringLiteral("ED50"), this);
    auto* rejilla = new QGridLayout(ed50);
    rejilla->addWidget(creaFormato(1, QStringLiteral("UTM huso 30"), Letras[0]), 0, 0);
    rejilla->addWidget(creaFormato(2, QStringLiteral("UTM huso 31"), Letras[1]), 0, 1);
    rejilla->addWidget(creaFormato(3, geodesicas, Letras[2]), 1, 0);
    rejilla->addWidget(creaFormato(4, cartesianas, Letras[3]), 1, 1);
    // the group's title is the choice of method, always in sight
    auto* wgs84 = new QGroupBox(this);
    wgs84->setObjectName(QStringLiteral("GrupoWgs84"));
    auto* fila = new QGridLayout(wgs84);
    fila->addWidget(creaMetodo(wgs84), 0, 0, 1, 2, Qt::AlignLeft);
    fila->addWidget(creaFormato(5, geodesicas, Letras[4]), 1, 0);
    fila->addWidget(creaFormato(6, cartesianas, Letras[5]), 1, 1);
    auto* grupos = new QVBoxLayout;
    grupos->addWidget(ed50, 2);
    grupos->addWidget(wgs84, 1);

    // one scroll bar for the eighteen boxes: line k of every box is point k
    desplazamiento_ = new QScrollBar(Qt::Vertical, this);
    desplazamiento_->setObjectName(QStringLiteral("Desplazamiento"));
    connect(desplazamiento_, &QScrollBar::valueChanged, this, &Main::desplazaTodas);
    auto* cajas = new QHBoxLayout;
    cajas->addLayout(grupos, 1);
    cajas->addWidget(desplazamiento_);
    l->addLayout(cajas, 1);

    estado_ = new QLabel(this);
    estado_->setObjectName(QStringLiteral("Estado"));
    l->addWidget(estado_);
}

QWidget* Main::creaMetodo(QWidget* padre) {
    eleccionMetodo_ = new QComboBox(padre);
    eleccionMetodo_->setObjectName(QStringLiteral("Metodo"));
    eleccionMetodo_->addItem(QStringLiteral("WGS84 \u2014 7 par\u00e1metros"));
    eleccionMetodo_->addItem(QStringLiteral("ETRS89 \u2014 rejilla oficial del IGN"));
    const Rejillas ficheros = BuscaRejillas();
    std::string error;
    rejilla_ = Rejilla::Abre(ficheros, error);
    if (!rejilla_) {
        // without its grids the official method cannot be chosen; the seven parameters work as always
        auto* modelo = qobject_cast<QStandardItemModel*>(eleccionMetodo_->model());
        QStandardItem* oficial = modelo->item(1);
        oficial->setEnabled(false);
        oficial->setToolTip(QString::fromStdString(error));
        eleccionMetodo_->setToolTip(QString::fromStdString(error));
    }
    if (rejilla_ && QSettings().value(QStringLiteral("metodo")).toString() == QStringLiteral("rejilla")) {
        metodo_ = Metodo::RejillaOficial;
        eleccionMetodo_->setCurrentIndex(1);
    }
    connect(eleccionMetodo_, &QComboBox::currentIndexChanged, this, &Main::cambiaMetodo);
    return eleccionMetodo_;
}

// The data shown follow the method: the last transformation runs again; when it cannot, the
// method stays as it was.
void Main::cambiaMetodo(int indice) {
    const Metodo anterior = metodo_;
    metodo_ = static_cast<Metodo>(indice);
    if (ultimoTransformado_ >= 0 && !transforma(ultimoTransformado_)) {
        metodo_ = anterior;
        const QSignalBlocker bloqueo(eleccionMetodo_);
        eleccionMetodo_->setCurrentIndex(static_cast<int>(anterior));
        return;
    }
    QSettings().setValue(QStringLiteral("metodo"), metodo_ == Metodo::RejillaOficial ? QStringLiteral("rejilla")
                                                                                       : QStringLiteral("siete"));
}

QGroupBox* Main::creaFormato(int formato, const QString& titulo, const QString& letras) {
    auto* marco = new QGroupBox(titulo, this);
    marco->setObjectName(QStringLiteral("Frame2_%1").arg(formato));
    marcos_[static_cast<std::size_t>(formato - 1)] = marco;
    auto* g = new QGridLayout(marco);
    const QFont fija = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QFontMetrics medidas(fija);
    for (int m = 0; m < 3; ++m) {
        const int k = 3 * (formato - 1) + m;
        auto* letra = new QLabel(letras.mid(m, 1), marco);
        letra->setAlignment(Qt::AlignCenter);
        auto* caja = new CajaCoordenada(marco);
        caja->setObjectName(QStringLiteral("Coord_%1").arg(k));
        caja->setFont(fija);
        caja->setLineWrapMode(QPlainTextEdit::NoWrap);
        caja->setTabChangesFocus(true);
        caja->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        caja->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // the widest text a column shows, " -180.00000000", whole
        const int margen = 2 * (static_cast<int>(caja->document()->documentMargin()) + caja->frameWidth());
        caja->setMinimumWidth(medidas.horizontalAdvance(QStringLiteral(" -180.00000000")) + margen + 2);
        caja->setMinimumHeight(3 * medidas.lineSpacing() + margen);
        Coord[static_cast<std::size_t>(k)] = caja;
        connect(caja->verticalScrollBar(), &QScrollBar::valueChanged, this, &Main::desplazaTodas);
        connect(caja->verticalScrollBar(), &QScrollBar::rangeChanged, this, &Main::ajustaDesplazamiento);
        // a box scrolled by its own cursor does not always tell its scroll bar's signal
        connect(caja, &QPlainTextEdit::updateRequest, this, [this, caja](const QRect&, int dy) {
            if (dy != 0) desplazaTodas(caja->verticalScrollBar()->value());
        });
        connect(caja, &QPlainTextEdit::cursorPositionChanged, this,
                [this, caja] { resalta(caja->textCursor().blockNumber()); });
        connect(caja, &CajaCoordenada::tablaPegada, this, [this, formato](const std::array<QString, 3>& columnas) {
            for (int j = 0; j < 3; ++j) Coord[static_cast<std::size_t>(3 * (formato - 1) + j)]->setPlainText(columnas[static_cast<std::size_t>(j)]);
        });
        connect(caja, &CajaCoordenada::copiarTabla, this, &Main::copiaTabla);
        g->addWidget(letra, 0, m);
        g->addWidget(caja, 1, m);
    }
    auto* boton = new QPushButton(QStringLiteral("< TRANSFORMAR >"), marco);
    boton->setObjectName(QStringLiteral("Transform_%1").arg(formato - 1));
    boton->setAutoDefault(true); // Enter on the focused button presses it
    Transform[static_cast<std::size_t>(formato - 1)] = boton;
    connect(boton, &QPushButton::clicked, this, [this, formato] { Transform_Click(formato - 1); });
    g->addWidget(boton, 2, 0, 1, 3, Qt::AlignCenter);
    g->setRowStretch(1, 1);
    return marco;
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
        boton->setMinimumHeight(33);
        boton->setAutoDefault(true);
        connect(boton, &QPushButton::clicked, this, b.accion);
        fila->addWidget(boton);
    }
    l->addLayout(fila);
}

void Main::desplazaTodas(int valor) {
    if (desplazando_) return;
    desplazando_ = true;
    for (CajaCoordenada* c : Coord) c->verticalScrollBar()->setValue(valor);
    desplazamiento_->setValue(valor);
    desplazando_ = false;
}

void Main::ajustaDesplazamiento() {
    int maximo = 0;
    for (CajaCoordenada* c : Coord) maximo = std::max(maximo, c->verticalScrollBar()->maximum());
    desplazamiento_->setRange(0, maximo);
    desplazamiento_->setPageStep(Coord[0]->verticalScrollBar()->pageStep());
}

// The point under the cursor, highlighted in every box and visible in the shortest of them.
void Main::resalta(int linea) {
    puntoResaltado_ = linea;
    int visibles = std::numeric_limits<int>::max();
    for (CajaCoordenada* c : Coord)
        visibles = std::min(visibles, std::max(1, c->viewport()->height() / c->fontMetrics().lineSpacing()));
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

void Main::marca(int formato, const QString& estado) {
    formatoMarcado_ = formato;
    for (std::size_t f = 0; f < 6; ++f) {
        QFont fuente = marcos_[f]->font();
        fuente.setBold(static_cast<int>(f) + 1 == formato);
        marcos_[f]->setFont(fuente);
        // the boxes, letters and button keep the regular face
        for (QWidget* w : marcos_[f]->findChildren<QWidget*>()) {
            QFont hijo = w->font();
            hijo.setBold(false);
            w->setFont(hijo);
        }
    }
    estado_->setText(estado);
}

QString Main::estado() const { return estado_->text(); }

QString Main::tabla() const {
    QStringList cabecera;
    std::array<QStringList, 18> columnas;
    qsizetype filas = 0;
    for (int k = 0; k < 18; ++k) {
        cabecera << QString::fromStdString(NombresFormatos[static_cast<std::size_t>(k / 3)]) + QLatin1Char(' ') +
                        QString::fromLatin1(Coordenadas[k / 3][k % 3]);
        const QString texto = Coord[static_cast<std::size_t>(k)]->toPlainText();
        if (!texto.isEmpty()) columnas[static_cast<std::size_t>(k)] = texto.split(QLatin1Char('\n'));
        filas = std::max(filas, columnas[static_cast<std::size_t>(k)].size());
    }
    QString t = cabecera.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (qsizetype i = 0; i < filas; ++i) {
        QStringList fila;
        for (const QStringList& c : columnas) fila << c.value(i).trimmed();
        t += fila.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return t;
}

void Main::copiaTabla() { QApplication::clipboard()->setText(tabla()); }

void Main::avisa(const QString& texto, Icono icono, bool conPitido) {
    if (conPitido) dialogos_.pitido();
    dialogos_.mensaje(this, texto, icono);
}

void Main::Transform_Click(int indice) { transforma(indice); }

bool Main::transforma(int indice) {
    setCursor(Qt::BusyCursor);
    const int b = 3 * indice;
    const auto leido = LeeCajas(ACrLf(caja(b)->toPlainText()), ACrLf(caja(b + 1)->toPlainText()),
                                ACrLf(caja(b + 2)->toPlainText()));
    if (const auto* f = std::get_if<FalloLectura>(&leido)) {
        QString mensaje = QString::fromStdString(f->mensaje);
        if (f->linea > 0)
            mensaje += QStringLiteral("\r\n L\u00ednea %1 de la columna %2.").arg(f->linea).arg(Letras[indice].mid(f->caja, 1));
        avisa(mensaje, Icono::Informacion, true);
        unsetCursor();
        return false;
    }
    // the data set and the boxes change only when the pipeline and the layout both succeed
    const Columnas3& entrada = std::get<Columnas3>(leido);
    const bool oficial = metodo_ == Metodo::RejillaOficial && rejilla_;
    Rejilla* metodo = oficial ? rejilla_.get() : nullptr;
    const QString formato = QString::fromStdString(NombresFormatos[static_cast<std::size_t>(indice)]);
    ConjuntoDatos nuevo;
    std::array<std::string, NumeroColumnas> textos;
    try {
        nuevo = TransformaPorMetodo(indice + 1, entrada, metodo);
        textos = MuestraResultados(nuevo);
    } catch (const FueraDeRejilla& e) {
        avisa(QString::fromStdString(MensajeFueraDeRejilla(e.punto, formato.toStdString())), Icono::Informacion, true);
        unsetCursor();
        return false;
    } catch (const FalloAritmetico& e) {
        // name the first point that fails on its own (one outside the grid may come before it)
        std::string mensaje = MensajeFalloAritmetico(e.what());
        RecorreFallos(indice + 1, entrada, metodo, Husos{}, [&](std::size_t i, const FalloPunto& f) {
            if (f.fueraDeRejilla) return true;
            mensaje = MensajeFalloAritmetico(f.descripcion, i + 1, indice + 1);
            return false;
        });
        avisa(QString::fromStdString(mensaje), Icono::Informacion, true);
        unsetCursor();
        return false;
    }
    datos_ = std::move(nuevo);
    ultimoTransformado_ = indice;
    // the boxes are rewritten; the point in view and the one highlighted stay
    const int arriba = desplazamiento_->value(), punto = puntoResaltado_;
    for (int k = 0; k < 18; ++k) ponCaja(k, DeCrLf(textos[static_cast<std::size_t>(k)]));
    if (punto >= 0) resalta(punto);
    desplazaTodas(arriba);
    const auto n = datos_.NumPuntos;
    QString estado = QStringLiteral("%1 %2 desde %3").arg(Miles(n), n == 1 ? QStringLiteral("punto") : QStringLiteral("puntos"), formato);
    // how far the seven parameters lie from the official transformation, where the grid reaches
    if (oficial) estado += QStringLiteral(". ") + QString::fromStdString(AvisoCobertura); // Lisbon, Ceuta: computed, not official
    if (!oficial && rejilla_) {
        if (const auto d = DiferenciaConRejilla(datos_, *rejilla_)) {
            estado += QStringLiteral(". Diferencia con la rejilla oficial del IGN: hasta %1 m (punto %2)")
                          .arg(QString::number(d->metros, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(',')))
                          .arg(d->punto);
        }
    }
    marca(indice + 1, estado);
    unsetCursor();
    return true;
}

// Replaces a box's whole text; a box that already shows it keeps it, with its cursor and
// undo history.
void Main::ponCaja(int k, const QString& texto) {
    CajaCoordenada* c = caja(k);
    if (c->document()->characterCount() == texto.size() + 1 && c->toPlainText() == texto) return;
    c->setPlainText(texto);
}

void Main::Erase_Click() {
    for (CajaCoordenada* c : Coord) c->clear();
}

void Main::Input_Click() {
    if (antesDeDialogoFichero) antesDeDialogoFichero();
    const auto bytes = AbreElegido(dialogos_, this, rutas_, true, MaximoBytesEntrada);
    if (!bytes) return;
    const auto r = LeeFicheroEntrada(std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
    if (const auto* fallo = std::get_if<FalloEntrada>(&r)) {
        // the file text the message quotes is already UTF-8
        std::string mensaje = fallo->mensaje;
        if (fallo->rechazo) {
            const std::string lugar = DescribeRechazo(*fallo->rechazo);
            mensaje += "\r\n L\u00ednea " + std::to_string(fallo->rechazo->linea) + ", " + lugar + ".";
        }
        avisa(QString::fromStdString(mensaje), Icono::Ninguno, false);
        return;
    }
    FicheroEntrada fichero = std::get<FicheroEntrada>(r);
    formatoEntrada_ = fichero.formato;
    CargaColumnas(fichero.formato, std::move(fichero.puntos));
}

void Main::CargaColumnas(int formato, Columnas3 puntos) {
    ConjuntoDatos d = DatosDeEntrada(formato, std::move(puntos));
    const auto k = static_cast<std::size_t>(3 * (formato - 1));
    std::array<QString, 3> textos;
    try {
        for (std::size_t j = 0; j < 3; ++j) textos[j] = DeCrLf(TextoCaja(d.Columnas[k + j], static_cast<int>(k + j)));
    } catch (const FalloAritmetico&) {
        // a value too large to lay out in its column: the file cannot be shown
        avisa(QString::fromStdString(MensajeErrorAbrir), Icono::Ninguno, false);
        return;
    }
    datos_ = std::move(d);
    ultimoTransformado_ = -1; // the points shown are not yet transformed
    Erase_Click();
    for (std::size_t j = 0; j < 3; ++j) ponCaja(static_cast<int>(k + j), textos[j]);
    const auto n = datos_.NumPuntos;
    marca(formato, QStringLiteral("%1 %2 desde %3, le\u00eddos del fichero: pulse su \u00ab< TRANSFORMAR >\u00bb")
                       .arg(Miles(n), n == 1 ? QStringLiteral("punto") : QStringLiteral("puntos"),
                            QString::fromStdString(NombresFormatos[static_cast<std::size_t>(formato - 1)])));
}

void Main::Output_Click() {
    if (antesDeDialogoFichero) antesDeDialogoFichero();
    const auto ruta = EligeDestino(dialogos_, this, rutas_, true);
    if (!ruta) return;
    std::string texto;
    try {
        texto = TextoSalida(datos_);
    } catch (const FalloAritmetico&) {
        avisa(QString::fromStdString(MensajeErrorGuardar), Icono::Ninguno, false);
        return;
    }
    if (const auto fallo = GuardaConEspera(dialogos_, this, *ruta, texto)) avisa(*fallo, Icono::Ninguno, false);
}
