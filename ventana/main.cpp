#include "main.h"

#include "transformacion/entrada.h"
#include "transformacion/salida.h"
#include "geodesia/fallo.h"
#include "ventana/ficheros_qt.h"
#include "ventana/texto_qt.h"
#include "transformacion/tuberias.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

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

void Main::creaFormatos(QVBoxLayout* l) {
    auto* fila = new QHBoxLayout;
    auto* ed50 = new QGroupBox(QStringLiteral("ED50"), this);
    auto* rejilla = new QGridLayout(ed50);
    const QString geodesicas = QStringLiteral("Geod\u00e9sicas (pseudosexagesimal)");
    const QString cartesianas = QStringLiteral("Cartesianas geoc\u00e9ntricas");
    rejilla->addWidget(creaFormato(1, QStringLiteral("UTM huso 30"), QStringLiteral("XYh")), 0, 0);
    rejilla->addWidget(creaFormato(2, QStringLiteral("UTM huso 31"), QStringLiteral("XYh")), 0, 1);
    rejilla->addWidget(creaFormato(3, geodesicas, QStringLiteral("\u03c6\u03bbh")), 1, 0);
    rejilla->addWidget(creaFormato(4, cartesianas, QStringLiteral("XYZ")), 1, 1);
    auto* wgs84 = new QGroupBox(QStringLiteral("WGS84"), this);
    auto* pila = new QVBoxLayout(wgs84);
    pila->addWidget(creaFormato(5, geodesicas, QStringLiteral("\u03c6\u03bbh")));
    pila->addWidget(creaFormato(6, cartesianas, QStringLiteral("XYZ")));
    fila->addWidget(ed50, 2);
    fila->addWidget(wgs84, 1);
    l->addLayout(fila, 1);
}

QGroupBox* Main::creaFormato(int formato, const QString& titulo, const QString& letras) {
    auto* marco = new QGroupBox(titulo, this);
    marco->setObjectName(QStringLiteral("Frame2_%1").arg(formato));
    auto* g = new QGridLayout(marco);
    const QFont fija = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const int anchoCaja = QFontMetrics(fija).horizontalAdvance(QStringLiteral("-4412345.6789"));
    for (int m = 0; m < 3; ++m) {
        const int k = 3 * (formato - 1) + m;
        auto* letra = new QLabel(letras.mid(m, 1), marco);
        letra->setAlignment(Qt::AlignCenter);
        auto* caja = new QPlainTextEdit(marco);
        caja->setObjectName(QStringLiteral("Coord_%1").arg(k));
        caja->setFont(fija);
        caja->setLineWrapMode(QPlainTextEdit::NoWrap);
        caja->setTabChangesFocus(true);
        caja->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        caja->setMinimumWidth(anchoCaja + 24);
        caja->setMinimumHeight(5 * QFontMetrics(fija).lineSpacing());
        Coord[static_cast<std::size_t>(k)] = caja;
        g->addWidget(letra, 0, m);
        g->addWidget(caja, 1, m);
    }
    auto* boton = new QPushButton(QStringLiteral("< TRANSFORMAR >"), marco);
    boton->setObjectName(QStringLiteral("Transform_%1").arg(formato - 1));
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
        connect(boton, &QPushButton::clicked, this, b.accion);
        fila->addWidget(boton);
    }
    l->addLayout(fila);
}

void Main::avisa(const QString& texto, Icono icono, bool conPitido) {
    if (conPitido) dialogos_.pitido();
    dialogos_.mensaje(this, texto, icono);
}

void Main::Transform_Click(int indice) {
    setCursor(Qt::BusyCursor);
    const int b = 3 * indice;
    const auto leido = LeeCajas(ACrLf(caja(b)->toPlainText()), ACrLf(caja(b + 1)->toPlainText()),
                                ACrLf(caja(b + 2)->toPlainText()));
    if (const auto* f = std::get_if<FalloLectura>(&leido)) {
        avisa(QString::fromStdString(f->mensaje), Icono::Informacion, true);
        unsetCursor();
        return;
    }
    // the data set and the boxes change only when the pipeline and the layout both succeed
    ConjuntoDatos nuevo;
    std::array<std::string, 18> textos;
    try {
        nuevo = Transforma(indice + 1, std::get<Columnas3>(leido));
        textos = MuestraResultados(nuevo);
    } catch (const FalloAritmetico& e) {
        avisa(QString::fromStdString(MensajeFalloAritmetico(e.what())), Icono::Informacion, true);
        unsetCursor();
        return;
    }
    datos_ = std::move(nuevo);
    for (int k = 0; k < 18; ++k) ponCaja(k, DeCrLf(textos[static_cast<std::size_t>(k)]));
    unsetCursor();
}

// Replaces a box's whole text; a box that already shows it keeps it, with its cursor and
// undo history.
void Main::ponCaja(int k, const QString& texto) {
    QPlainTextEdit* c = caja(k);
    if (c->document()->characterCount() == texto.size() + 1 && c->toPlainText() == texto) return;
    c->setPlainText(texto);
}

void Main::Erase_Click() {
    for (QPlainTextEdit* c : Coord) c->clear();
}

void Main::Input_Click() {
    if (antesDeDialogoFichero) antesDeDialogoFichero();
    const auto ruta = dialogos_.abrir(this, FiltroFicheros);
    if (!ruta) return;
    rutas_.NombreAbrir = *ruta;
    rutas_.abrirPorVentana = true;

    QByteArray bytes;
    switch (LeeFicheroEntero(*ruta, MaximoBytesEntrada, bytes)) {
    case Lectura::NoSeAbre:
        avisa(QString::fromStdString(MensajeErrorAbrir), Icono::Ninguno, false);
        return;
    case Lectura::DemasiadoGrande:
        avisa(QString::fromStdString(MensajeDemasiadoGrande), Icono::Ninguno, false);
        return;
    case Lectura::Leido:
        break;
    }
    const auto r = LeeFicheroEntrada(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (const auto* fallo = std::get_if<FalloEntrada>(&r)) {
        // the identifier message quotes line 1 in the file's own encoding
        avisa(Decodifica(QByteArray::fromStdString(fallo->mensaje)), Icono::Ninguno, false);
        return;
    }
    FicheroEntrada fichero = std::get<FicheroEntrada>(r);
    formatoEntrada_ = fichero.formato;
    CargaColumnas(fichero.formato, std::move(fichero.puntos));
}

void Main::CargaColumnas(int formato, Columnas3 puntos) {
    ConjuntoDatos d;
    d.NumPuntos = static_cast<int>(puntos.c1.size());
    for (Columna& c : d.Columnas) c.assign(puntos.c1.size(), 0.0);
    const auto k = static_cast<std::size_t>(3 * (formato - 1));
    d.Columnas[k] = std::move(puntos.c1);
    d.Columnas[k + 1] = std::move(puntos.c2);
    d.Columnas[k + 2] = std::move(puntos.c3);
    std::array<QString, 3> textos;
    try {
        for (std::size_t j = 0; j < 3; ++j) textos[j] = DeCrLf(TextoCaja(d.Columnas[k + j], static_cast<int>(k + j)));
    } catch (const FalloAritmetico&) {
        // a value too large to lay out in its column: the file cannot be shown
        avisa(QString::fromStdString(MensajeErrorAbrir), Icono::Ninguno, false);
        return;
    }
    datos_ = std::move(d);
    Erase_Click();
    for (std::size_t j = 0; j < 3; ++j) ponCaja(static_cast<int>(k + j), textos[j]);
}

void Main::Output_Click() {
    if (antesDeDialogoFichero) antesDeDialogoFichero();
    std::optional<QString> ruta;
    while (true) {
        ruta = dialogos_.guardar(this, FiltroFicheros);
        if (!ruta) return;
        rutas_.NombreGuardar = *ruta;
        rutas_.guardarPorVentana = true;
        if (!QFileInfo::exists(*ruta) ||
            dialogos_.pregunta(this, PreguntaSobreescribirFichero(*ruta, QString())))
            break;
    }
    std::string texto;
    try {
        texto = TextoSalida(datos_);
    } catch (const FalloAritmetico&) {
        avisa(QString::fromStdString(MensajeErrorGuardar), Icono::Ninguno, false);
        return;
    }
    if (!GuardaAtomico(*ruta, texto)) avisa(QString::fromStdString(MensajeErrorGuardar), Icono::Ninguno, false);
}
