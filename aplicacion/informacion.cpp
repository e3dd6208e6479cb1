#include "informacion.h"

#include "rejilla/rejilla.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QLabel* Etiqueta(QWidget* padre, const char* nombre, const QString& texto, const QFont& fuente = QFont()) {
    auto* l = new QLabel(texto, padre);
    l->setObjectName(QString::fromLatin1(nombre));
    if (fuente != QFont()) l->setFont(fuente);
    l->setAlignment(Qt::AlignCenter);
    l->setWordWrap(true);
    return l;
}

QFrame* Raya(QWidget* padre) {
    auto* r = new QFrame(padre);
    r->setFrameShape(QFrame::HLine);
    r->setFrameShadow(QFrame::Sunken);
    return r;
}

QFont Fuente(const char* familia, int puntos, bool negrita = false, QFont::StyleHint estilo = QFont::Serif) {
    QFont f(QString::fromLatin1(familia), puntos, negrita ? QFont::Bold : QFont::Normal);
    f.setStyleHint(estilo);
    return f;
}

// The texts the splash and About windows share.
void Presentacion(QWidget* w, QVBoxLayout* l) {
    l->addWidget(Etiqueta(w, "Label1", QStringLiteral("ORVALO"), Fuente("Arial", 28, true, QFont::SansSerif)));
    l->addWidget(Raya(w));
    l->addWidget(Etiqueta(w, "Label2",
                          QStringLiteral("Transformaci\u00f3n de ED50 a WGS84 en los diversos formatos de coordenadas"),
                          Fuente("Bookman Old Style", 12)));
    l->addWidget(Raya(w));
    const QFont times = Fuente("Times New Roman", 10);
    l->addWidget(Etiqueta(w, "Label4", QStringLiteral("Escuela T\u00e9cnica de Orvalo"), times));
    l->addWidget(Etiqueta(w, "Label5", QStringLiteral("Departamento de Ingenier\u00eda Cartogr\u00e1fica"), times));
    l->addWidget(Etiqueta(w, "Label6", QStringLiteral("Unidad de Geodesia"), times));
    l->addWidget(Etiqueta(w, "Label7", QStringLiteral("Programa realizado por el equipo de Orvalo"), times));
}

QPushButton* Aceptar(QDialog* d, const char* nombre) {
    auto* b = new QPushButton(QStringLiteral("Aceptar"), d);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setDefault(true);
    QObject::connect(b, &QPushButton::clicked, d, &QDialog::accept);
    return b;
}

} // namespace

QPixmap IconoOrvalo(int lado) {
    QPixmap p(lado, lado);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    const QRectF r(lado * 0.06, lado * 0.06, lado * 0.88, lado * 0.88);
    g.setBrush(QColor(0x2e, 0x6f, 0xa8));
    g.setPen(QPen(QColor(0x1b, 0x3f, 0x60), lado / 32.0));
    g.drawEllipse(r);
    g.setBrush(Qt::NoBrush);
    g.setPen(QPen(QColor(0xe8, 0xf1, 0xf8), lado / 40.0));
    for (double f : {0.35, 0.7}) g.drawEllipse(QRectF(r.center().x() - r.width() * f / 2, r.top(), r.width() * f, r.height()));
    g.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
    for (double y : {0.3, 0.5, 0.7}) {
        const double h = r.height() * (y - 0.5);
        const double w = std::sqrt(std::max(0.0, r.width() * r.width() / 4 - h * h));
        g.drawLine(QPointF(r.center().x() - w, r.center().y() + h), QPointF(r.center().x() + w, r.center().y() + h));
    }
    g.setPen(QPen(QColor(0xf2, 0xa9, 0x00), lado / 14.0, Qt::SolidLine, Qt::RoundCap));
    g.drawPoint(QPointF(r.center().x() + r.width() * 0.12, r.center().y() - r.height() * 0.1));
    return p;
}

Inicio::Inicio(int milisegundos, QWidget* padre) : QWidget(padre, Qt::SplashScreen) {
    setObjectName(QStringLiteral("Inicio"));
    setWindowTitle(QStringLiteral("Programa de transformaci\u00f3n de Orvalo"));
    setWindowIcon(IconoOrvalo(64));
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(40, 30, 40, 30);
    Presentacion(this, l);
    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(milisegundos);
    connect(Timer1, &QTimer::timeout, this, &Inicio::Timer1_Timer);
    Timer1->start();
}

void Inicio::Timer1_Timer() {
    disparado_ = true;
    close();
    emit terminado();
}

void Inicio::closeEvent(QCloseEvent* e) {
    if (disparado_) {
        e->accept();
    } else {
        e->ignore(); // only the timer ends the splash
    }
}

About::About(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral(" Acerca  de  Orvalo"));
    auto* l = new QVBoxLayout(this);
    Presentacion(this, l);
    l->addWidget(Etiqueta(this, "Label3", QStringLiteral("Orvalo, marzo de 2001")));
    l->addWidget(Etiqueta(this, "Version", QStringLiteral("Versi\u00f3n ") + QStringLiteral(ORVALO_VERSION)));
    // the licence of the official grids asks for this credit wherever they ship; a non-breaking
    // hyphen and space keep the licence's name on one line
    l->addWidget(Etiqueta(this, "CreditoIgn",
                          QStringLiteral("Rejilla SPED2ETV2 y geoide EGM08-REDNAP: derivado de datos originales del "
                                         "IGN, www.ign.es, CC\u2011BY\u00a04.0")));
    l->addWidget(Aceptar(this, "Command1"), 0, Qt::AlignCenter);
}

Ayuda::Ayuda(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("Ayuda"));
    setWindowTitle(QStringLiteral("Orvalo - Ayuda"));
    // the text scrolls where the screen is too short for it
    auto* marco = new QVBoxLayout(this);
    auto* desplazable = new QScrollArea(this);
    desplazable->setWidgetResizable(true);
    desplazable->setFrameShape(QFrame::NoFrame);
    desplazable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* contenido = new QWidget(desplazable);
    auto* l = new QVBoxLayout(contenido);
    const QFont negrita = Fuente("MS Sans Serif", 9, true, QFont::SansSerif);
    const struct {
        const char* nombre;
        QString texto;
        bool titulo;
    } textos[] = {
        {"Label1", QStringLiteral("Programa para la transformaci\u00f3n de coordenadas entre ED50 y WGS84"), true},
        {"Label2", QStringLiteral("Introduzca las coordenadas en cualquiera de los formatos permitidos y pulse "
                                  "TRANSFORMAR para convertir al resto de formatos."), false},
        {"Label3", QStringLiteral("Tenga cuidado de no introducir una l\u00ednea en blanco al final de alguna "
                                  "columna de coordenadas."), false},
        {"Label4", QStringLiteral("Las coordenadas X, Y, Z, h se dar\u00e1n en metros. La latitud y longitud en "
                                  "formato pseudosexagesimal: g.mmssffff g: grados sexagesimales; mm: minutos "
                                  "sexag.; ss: segundos sexag.; ffff: fracciones de segundos sexag."), false},
        {"Label5", QStringLiteral("ENTRADA POR FICHERO"), true},
        {"Label6", QStringLiteral("Se permite la entrada de datos mediante fichero ASCII que contenga:"), false},
        {"Label7", QStringLiteral("- En la primera fila: un identificador del 1 al 6 que indique el formato de "
                                  "los datos de entrada, seg\u00fan:\n1: UTM huso 30,\n2: UTM huso 31,\n"
                                  "3: Geogr\u00e1ficas en ED50,\n4: Cartesianas en ED50,\n"
                                  "5: Geogr\u00e1ficas en WGS84,\n6: Cartesianas en WGS84"), false},
        {"Label8", QStringLiteral("- En cada una de las siguientes filas: las coordenadas de cada punto "
                                  "SEPARADAS POR COMAS."), false},
        {"Label9", QStringLiteral("SALIDA POR FICHERO"), true},
        {"Label10", QStringLiteral("Se permite la salida de los datos a un fichero ASCII, que se puede abrir en "
                                   "el EDITOR, que contiene:"), false},
        {"Label11", QStringLiteral("En cada fila las coordenadas de un punto separadas por COMAS en cada uno de "
                                   "los formatos anteriores, que quedan separados por PUNTO Y COMA."), false},
        {"Label14", QStringLiteral("WGS84 O ETRS89"), true},
        {"Label15", QStringLiteral("Sobre las cajas de WGS84 se elige el m\u00e9todo: los siete par\u00e1metros "
                                   "(WGS84) o la rejilla oficial del IGN (ETRS89: rejilla SPED2ETV2 y geoide "
                                   "EGM08-REDNAP, precisi\u00f3n de unos 0,2 m). Con la rejilla, la altura ED50 es una "
                                   "altitud sobre el nivel del mar y la de ETRS89 es elipsoidal (h = H + N); se rechazan "
                                   "los puntos fuera de %1, y solo es oficial en la Espa\u00f1a peninsular y Baleares. "
                                   "Con los siete "
                                   "par\u00e1metros, bajo las cajas se indica cu\u00e1nto se apartan de la rejilla.")
                       .arg(QString::fromStdString(RectanguloRejilla)), false},
        {"Label12", QStringLiteral("LAS CAJAS"), true},
        {"Label13", QStringLiteral("Las dieciocho cajas se desplazan juntas: la l\u00ednea k de cada caja es el punto k, "
                                   "y el punto del cursor se resalta en todas. Bajo las cajas se indica cu\u00e1ntos "
                                   "puntos hay y desde qu\u00e9 formato se introdujeron. Se pueden pegar desde una hoja "
                                   "de c\u00e1lculo filas de tres valores separados por tabuladores (la coma decimal "
                                   "pasa a punto); \u00abCopiar tabla\u00bb, en el men\u00fa contextual de cada caja, "
                                   "copia las dieciocho columnas."), false},
        {"Label16", QStringLiteral("EL EDITOR"), true},
        {"Label17", QStringLiteral("Al cerrarlo pregunta si se guardan los cambios solo cuando hay algo sin guardar, y "
                                   "nombra el fichero donde se guardar\u00e1n. Los di\u00e1logos de ficheros se abren en "
                                   "la \u00faltima carpeta usada. Sin impresora, \u00abImprimir\u00bb guarda el texto en "
                                   "un fichero PDF para imprimirlo o enviarlo. Un \u00abReemplazar\u00bb se deshace con "
                                   "Alt+Borrar."), false},
    };
    for (const auto& t : textos) {
        QLabel* e = Etiqueta(contenido, t.nombre, t.texto, t.titulo ? negrita : QFont());
        if (!t.titulo) e->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        l->addWidget(e);
    }
    desplazable->setWidget(contenido);
    marco->addWidget(desplazable);
    marco->addWidget(Aceptar(this, "OK"), 0, Qt::AlignCenter);
    setMinimumWidth(560);
    // as tall as the text, within the screen, and centred over the main window without leaving it
    const int alto = l->hasHeightForWidth() ? l->totalHeightForWidth(540) : contenido->sizeHint().height();
    int maximo = 700;
    if (const QScreen* pantalla = padre ? padre->screen() : QGuiApplication::primaryScreen()) {
        const QRect disponible = pantalla->availableGeometry();
        maximo = disponible.height() - 60;
        if (padre) {
            const int centro = padre->frameGeometry().center().y();
            maximo = std::min(maximo, 2 * std::min(centro - disponible.top(), disponible.bottom() - centro) - 60);
        }
    }
    resize(600, std::min(alto + 60, maximo));
}

EditorAcerca::EditorAcerca(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("EditorAcerca"));
    setWindowTitle(QStringLiteral("Acerca del Editor"));
    auto* l = new QVBoxLayout(this);
    auto* imagen = new QLabel(this);
    imagen->setObjectName(QStringLiteral("Image1"));
    imagen->setPixmap(IconoOrvalo(64));
    imagen->setAlignment(Qt::AlignCenter);
    l->addWidget(imagen);
    l->addWidget(Etiqueta(this, "Label2", QStringLiteral("Editor de texto"), Fuente("Arial", 14, true, QFont::SansSerif)));
    l->addWidget(Etiqueta(this, "Label3", QStringLiteral("Versi\u00f3n 1.1")));
    l->addWidget(Etiqueta(this, "Label4", QStringLiteral("Por: el equipo de Orvalo")));
    l->addWidget(Etiqueta(this, "Label5", QStringLiteral("   Abril de 2000")));
    l->addWidget(Aceptar(this, "Aceptar"), 0, Qt::AlignCenter);
    setMinimumWidth(300);
}
