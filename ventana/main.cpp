#include "main.h"

#include "geodesia/fallo.h"
#include "transformacion/entrada.h"
#include "transformacion/fuera_de_huso.h"
#include "transformacion/opciones.h"
#include "transformacion/salida.h"
#include "transformacion/tuberias.h"
#include "ventana/ficheros_qt.h"
#include "ventana/tabla.h"
#include "ventana/texto_qt.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStandardItemModel>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace {

// Files larger than this are refused before they are read whole into memory.
constexpr qint64 MaximoBytesEntrada = qint64(256) << 20;

QString Texto(const std::string& s) { return QString::fromStdString(s); }

} // namespace

Main::Main(Dialogos& dialogos, QWidget* padre) : QWidget(padre), dialogos_(dialogos) {
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Transformaci\u00f3n de Orvalo"));
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(6, 2, 6, 4);
    l->setSpacing(3);
    creaTitulos(l);
    creaFormatos(l);
    creaBotones(l);
    unsetCursor();
    // room for the boxes, but never more than a 1024 x 768 screen can show
    QSize tamano(1000, 700);
    if (const QScreen* pantalla = screen()) tamano = tamano.boundedTo(pantalla->availableGeometry().size());
    resize(tamano.expandedTo(minimumSizeHint()));
}

QWidget* Main::creaMetodo(QWidget* padre) {
    eleccionMetodo_ = new QComboBox(padre);
    eleccionMetodo_->setObjectName(QStringLiteral("Metodo"));
    eleccionMetodo_->addItem(nombreMetodo(Metodo::SieteParametros));
    eleccionMetodo_->addItem(nombreMetodo(Metodo::RejillaOficial));
    const Rejillas ficheros = BuscaRejillas();
    std::string error;
    rejilla_ = Rejilla::Abre(ficheros, error);
    if (!rejilla_) {
        // without its grids the official method cannot be chosen; the seven parameters work as always
        auto* modelo = qobject_cast<QStandardItemModel*>(eleccionMetodo_->model());
        QStandardItem* oficial = modelo->item(1);
        oficial->setEnabled(false);
        oficial->setToolTip(Texto(error));
        eleccionMetodo_->setToolTip(Texto(error));
    }
    if (rejilla_ && QSettings().value(QStringLiteral("metodo")).toString() == QStringLiteral("rejilla")) {
        metodo_ = Metodo::RejillaOficial;
        eleccionMetodo_->setCurrentIndex(1);
    }
    connect(eleccionMetodo_, &QComboBox::currentIndexChanged, this, &Main::cambiaMetodo);
    return eleccionMetodo_;
}

QString Main::nombreMetodo(Metodo m) const {
    return m == Metodo::SieteParametros ? QStringLiteral("WGS84 \u2014 7 par\u00e1metros")
                                        : QStringLiteral("ETRS89 \u2014 rejilla oficial del IGN");
}

// The choice is always taken. Results still in the boxes are computed again from the points
// as they were entered; otherwise the status line says which method made what is shown.
void Main::cambiaMetodo(int indice) {
    metodo_ = static_cast<Metodo>(indice);
    QSettings().setValue(QStringLiteral("metodo"), metodo_ == Metodo::RejillaOficial ? QStringLiteral("rejilla")
                                                                                       : QStringLiteral("siete"));
    nombraHusos();
    if (ultimoTransformado_ < 0) return;
    if (metodoResultados_ != metodo_ && resultadosEnCajas_ && !escrito() && recalcula()) return;
    dicePendiente(false);
}

// A zone is taken as a method is; the results are computed again unless their points were
// entered in the zone changed, which only «< TRANSFORMAR >» reads anew.
void Main::cambiaHuso() {
    husos_ = {husoEd50_->currentData().toInt(), husoUtm_->currentData().toInt()};
    QSettings().setValue(QStringLiteral("husoEd50"), husos_.ed50);
    QSettings().setValue(QStringLiteral("huso"), husos_.utm);
    if (ultimoTransformado_ < 0) return;
    const bool entrada = ultimoTransformado_ + 1 == formatoDeHusoCambiado();
    if (resultadosEnCajas_ && !escrito() && !entrada && recalcula()) return;
    dicePendiente(true);
}

// The UTM format whose zone the results were not made in: 7, else 2.
int Main::formatoDeHusoCambiado() const { return datos_.husos.utm != husos_.utm ? 7 : 2; }

// The status line says which method or zone made the results shown while «< TRANSFORMAR >»
// would apply another (first the kind just chosen, `huso` for a zone), and says again what it
// said before once the choices are those of the results.
void Main::dicePendiente(bool huso) {
    const Husos hechos = datos_.husos;
    std::string metodo, zona;
    if (metodoResultados_ != metodo_)
        metodo = EstadoEleccionPendiente(nombreMetodo(metodoResultados_).toStdString(), nombreMetodo(metodo_).toStdString());
    if (hechos.ed50 != husos_.ed50 || hechos.utm != husos_.utm) {
        Rotulos hecho = rotulos();
        hecho.husos = hechos;
        const int formato = formatoDeHusoCambiado();
        zona = EstadoEleccionPendiente(NombreMostrado(formato, hecho), NombreMostrado(formato, rotulos()));
    }
    const std::string& aviso = huso ? (zona.empty() ? metodo : zona) : (metodo.empty() ? zona : metodo);
    const bool dicho = !avisoPendiente_.isEmpty() && estado_->text() == avisoPendiente_;
    if (!aviso.empty()) {
        if (!dicho) estadoPrevio_ = estado_->text();
        avisoPendiente_ = Texto(aviso);
        estado_->setText(avisoPendiente_);
    } else if (dicho) {
        estado_->setText(estadoPrevio_);
        avisoPendiente_.clear();
    }
}

bool Main::escrito() const {
    return std::any_of(Coord.begin(), Coord.end(), [](const CajaCoordenada* c) { return c->document()->isModified(); });
}

void Main::sinEscrito() {
    for (CajaCoordenada* c : Coord) c->document()->setModified(false);
}

bool Main::recalcula() {
    const auto k = static_cast<std::size_t>(3 * ultimoTransformado_);
    const Columnas3 entrada{datos_.Columnas[k], datos_.Columnas[k + 1], datos_.Columnas[k + 2]};
    auto r = calcula(ultimoTransformado_, entrada);
    if (auto* hecho = std::get_if<Resultado>(&r)) {
        muestra(ultimoTransformado_, std::move(*hecho));
        return true;
    }
    return false;
}

void Main::avisa(const QString& texto, Icono icono, bool conPitido) {
    if (conPitido) dialogos_.pitido();
    dialogos_.mensaje(this, texto, icono);
}

void Main::Transform_Click(int indice) { transforma(indice); }

bool Main::transforma(int indice) {
    setCursor(Qt::BusyCursor);
    auto leido = leeCajas(indice);
    std::variant<Resultado, Fallo> r = std::get_if<Fallo>(&leido) ? std::variant<Resultado, Fallo>(std::get<Fallo>(leido))
                                                                   : calcula(indice, std::get<Columnas3>(leido));
    if (const auto* fallo = std::get_if<Fallo>(&r)) {
        senala(*fallo);
        avisa(fallo->mensaje, Icono::Informacion, true);
        unsetCursor();
        return false;
    }
    muestra(indice, std::move(std::get<Resultado>(r)));
    unsetCursor();
    return true;
}

// Reading stage: the three boxes of the format, a decimal comma read as a point.
std::variant<Columnas3, Main::Fallo> Main::leeCajas(int indice) const {
    const int b = 3 * indice;
    std::array<std::string, 3> textos;
    for (int m = 0; m < 3; ++m)
        textos[static_cast<std::size_t>(m)] = ACrLf(ComasDecimales(Coord[static_cast<std::size_t>(b + m)]->toPlainText()));
    auto leido = LeeCajas(textos[0], textos[1], textos[2]);
    if (auto* columnas = std::get_if<Columnas3>(&leido)) return std::move(*columnas);
    const auto& f = std::get<FalloLectura>(leido);
    Fallo fallo{Texto(MensajeLectura(f, indice + 1))};
    if (f.linea > 0) {
        fallo = {fallo.mensaje, b + f.caja, f.linea - 1, true};
    } else if (f.lineas[0] > 0) {
        // the box whose count the other two do not share; the second when all three differ
        const auto& n = f.lineas;
        const int m = n[1] == n[2] ? 0 : (n[0] == n[1] ? 2 : 1);
        fallo = {fallo.mensaje, b + m, static_cast<int>(n[static_cast<std::size_t>(m)]) - 1};
    }
    return fallo;
}

// The pipeline of the method chosen and the layout of every column; the data set and the
// boxes change only when both succeed.
std::variant<Main::Resultado, Main::Fallo> Main::calcula(int indice, const Columnas3& entrada) {
    Rejilla* metodo = metodo_ == Metodo::RejillaOficial ? rejilla_.get() : nullptr;
    Resultado r;
    try {
        r.datos = TransformaPorMetodoEnHilos(indice + 1, entrada, metodo, husos_);
        r.textos = MuestraResultados(r.datos);
        return r;
    } catch (const FueraDeRejilla& e) {
        return Fallo{Texto(MensajeFueraDeRejilla(e.punto, NombreMostrado(indice + 1, rotulos()))), 3 * indice,
                     static_cast<int>(e.punto) - 1, true};
    } catch (const FalloAritmetico& e) {
        // name the first point that fails on its own (one outside the grid may come before it)
        Fallo fallo{Texto(MensajeFalloAritmetico(e.what()))};
        RecorreFallos(indice + 1, entrada, metodo, husos_, [&](std::size_t i, const FalloPunto& f) {
            if (f.fueraDeRejilla) return true;
            fallo = Fallo{Texto(MensajeFalloAritmetico(f.descripcion, i + 1, indice + 1, husos_, rotulos().etrs89)),
                          3 * indice, static_cast<int>(i), true};
            return false;
        });
        return fallo;
    }
}

// The boxes rewritten, the point in view and the one highlighted kept; the window repaints
// between boxes.
void Main::muestra(int indice, Resultado r) {
    datos_ = std::move(r.datos);
    ultimoTransformado_ = indice;
    metodoResultados_ = metodo_;
    pegado_.reset();
    const int arriba = desplazamiento_->value(), punto = puntoResaltado_;
    llenaCajas(r.textos);
    resultadosEnCajas_ = true;
    sinEscrito(); // what was written is transformed
    if (punto >= 0) resalta(punto);
    desplazaTodas(arriba);
    marca(indice + 1, estadoDeDatos(indice));
}

QString Main::estadoDeDatos(int indice) {
    std::string estado = EstadoTransformado(datos_.NumPuntos, NombreMostrado(indice + 1, rotulos()));
    // how far the seven parameters lie from the official transformation, where the grid reaches
    if (metodo_ == Metodo::RejillaOficial) estado += ". " + AvisoCobertura; // Lisbon, Ceuta: computed, not official
    if (metodo_ == Metodo::SieteParametros && rejilla_)
        if (const auto d = DiferenciaConRejilla(datos_, *rejilla_)) estado += EstadoDiferencia(*d);
    // nobody files a zone-30 coordinate of a point in Galicia unknowingly
    if (const auto fuera = MasFueraDeHuso(datos_, {1, 2, 7})) estado += ". " + MensajeFueraDeHuso(*fuera, husos_, rotulos().etrs89);
    return Texto(estado);
}

// Whether box k shows `texto` already: it keeps it then, with its cursor and undo history.
bool Main::muestraYa(int k, const QString& texto) const {
    const CajaCoordenada* c = Coord[static_cast<std::size_t>(k)];
    return c->document()->characterCount() == texto.size() + 1 && c->toPlainText() == texto;
}

// Every box rewritten. A full box's document takes long to build, so the documents are built
// on every core while the window goes on repainting, and each goes into its box once ready.
void Main::llenaCajas(const std::array<std::string, NumeroColumnas>& textos) {
    std::array<QString, NumCajas> nuevos;
    std::vector<std::size_t> cambian;
    for (std::size_t k = 0; k < NumCajas; ++k) {
        nuevos[k] = DeCrLf(textos[k]);
        if (!muestraYa(static_cast<int>(k), nuevos[k])) cambian.push_back(k);
    }
    if (cambian.empty()) return;
    const QFont fuente = Coord[0]->font();
    QThread* gui = thread();
    std::array<std::unique_ptr<QTextDocument>, NumCajas> hechos;
    std::array<std::atomic<bool>, NumCajas> listo{};
    std::atomic<std::size_t> siguiente{0};
    auto construye = [&] {
        for (std::size_t i; (i = siguiente++) < cambian.size();) {
            hechos[cambian[i]] = DocumentoDeCaja(nuevos[cambian[i]], fuente, gui);
            listo[cambian[i]].store(true, std::memory_order_release);
        }
    };
    const auto hilos = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, cambian.size());
    std::vector<std::thread> trabajadores;
    for (std::size_t h = 0; h < hilos; ++h) trabajadores.emplace_back(construye);
    for (std::size_t puestos = 0; puestos < cambian.size();) {
        const std::size_t antes = puestos;
        for (std::size_t i = puestos; i < cambian.size() && listo[cambian[i]].load(std::memory_order_acquire); ++i, ++puestos) {
            // the new document starts at its top: the other boxes stay where they are
            escribiendo_ = desplazando_ = true;
            Coord[cambian[i]]->ponDocumento(std::move(hechos[cambian[i]]));
            Coord[cambian[i]]->verticalScrollBar()->setValue(desplazamiento_->value());
            escribiendo_ = desplazando_ = false;
        }
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (puestos == antes) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    for (std::thread& t : trabajadores) t.join();
}

// Replaces a box's whole text, unless it shows it already.
void Main::ponCaja(int k, const QString& texto) {
    CajaCoordenada* c = Coord[static_cast<std::size_t>(k)];
    if (muestraYa(k, texto)) return;
    escribiendo_ = true;
    c->setPlainText(texto);
    escribiendo_ = false;
}

void Main::Erase_Click() {
    for (CajaCoordenada* c : Coord) c->clear();
    resultadosEnCajas_ = false;
    sinEscrito();
    estado_->setText(datos_.NumPuntos > 0 ? Texto(EstadoBorrado) : QString());
}

void Main::Input_Click() { leeEntrada(std::nullopt); }

void Main::leeEntrada(const std::optional<QString>& elegida) {
    if (antesDeDialogoFichero) antesDeDialogoFichero();
    const auto bytes = AbreElegido(dialogos_, this, rutas_, true, MaximoBytesEntrada, elegida);
    if (bytes) cargaEntrada(std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
}

void Main::cargaEntrada(std::string_view bytes) {
    const auto r = LeeFicheroEntrada(bytes, true);
    if (const auto* fallo = std::get_if<FalloEntrada>(&r)) {
        avisa(Texto(MensajeFicheroEntrada(*fallo)), Icono::Ninguno, false); // the file text it quotes is UTF-8
        return;
    }
    FicheroEntrada fichero = std::get<FicheroEntrada>(r);
    // a UTM file is read in the zone it names, or in what its identifier has always meant
    const auto husos = HusosDeFichero(OpcionesFormatos{}, fichero.formato, fichero.huso);
    if (const auto* rechazo = std::get_if<std::string>(&husos)) {
        avisa(Texto(*rechazo), Icono::Ninguno, false);
        return;
    }
    const Husos leidos = std::get<Husos>(husos);
    // laid out before anything changes: a value too large for its column refuses the whole file
    const int formato = fichero.formato;
    const auto k = static_cast<std::size_t>(3 * (formato - 1));
    const Columna* columnas[] = {&fichero.puntos.c1, &fichero.puntos.c2, &fichero.puntos.c3};
    std::array<QString, 3> textos;
    try {
        for (std::size_t j = 0; j < 3; ++j) textos[j] = DeCrLf(TextoCaja(*columnas[j], static_cast<int>(k + j)));
    } catch (const FalloAritmetico&) {
        avisa(Texto(MensajeErrorAbrir), Icono::Ninguno, false);
        return;
    }
    // points written and never transformed are not thrown away unasked
    const bool hayEscrito =
        escrito() && std::any_of(Coord.begin(), Coord.end(), [](const CajaCoordenada* c) { return !c->document()->isEmpty(); });
    if (hayEscrito && !dialogos_.pregunta(this, Texto(PreguntaDescartarEscrito))) return;
    ultimoTransformado_ = -1; // the points shown are not yet transformed; a zone change below recomputes nothing
    if (formato == 2) husoEd50_->setCurrentIndex(husoEd50_->findData(leidos.ed50));
    if (formato == 7) husoUtm_->setCurrentIndex(husoUtm_->findData(leidos.utm));
    datos_ = DatosDeEntrada(formato, std::move(fichero.puntos), husos_);
    pegado_.reset();
    for (CajaCoordenada* c : Coord) c->clear();
    for (std::size_t j = 0; j < 3; ++j) ponCaja(static_cast<int>(k + j), textos[j]);
    sinEscrito();
    resultadosEnCajas_ = false;
    marca(formato, Texto(EstadoLeido(datos_.NumPuntos, NombreMostrado(formato, rotulos()))));
}

void Main::Output_Click() {
    if (antesDeDialogoFichero) antesDeDialogoFichero();
    const auto ruta = EligeDestino(dialogos_, this, rutas_, true);
    if (!ruta) return;
    std::string texto;
    try {
        texto = TextoSalida(datos_);
    } catch (const FalloAritmetico&) {
        avisa(Texto(MensajeErrorGuardar), Icono::Ninguno, false);
        return;
    }
    if (const auto fallo = GuardaConEspera(dialogos_, this, *ruta, texto)) avisa(*fallo, Icono::Ninguno, false);
}
