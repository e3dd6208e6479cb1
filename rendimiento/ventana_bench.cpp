// How long the window takes to answer: a full box transformed, a largest file read.
#include "transformacion/entrada.h"
#include "transformacion/columnas.h"
#include "ventana/main.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QComboBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <ctime>
#include <fstream>
#include <optional>

namespace {

QPlainTextEdit* Caja(const Main& v, int k) { return v.findChild<QPlainTextEdit*>(QStringLiteral("Coord_%1").arg(k)); }

// No window opens while timing: every open dialog answers `ruta`, messages are only counted.
class DialogosBanco : public Dialogos {
public:
    QString ruta;
    int mensajes = 0;

    std::optional<QString> abrir(QWidget*, const QString&, const QString&) override { return ruta; }
    std::optional<QString> guardar(QWidget*, const QString&, const QString&) override { return std::nullopt; }
    void mensaje(QWidget*, const QString&, Icono) override { ++mensajes; }
    bool pregunta(QWidget*, const QString&) override { return false; }
    void pitido() override {}
    bool hayImpresora() override { return false; }
    std::optional<Impresion> dialogoImprimir(QWidget*) override { return std::nullopt; }
    Impreso imprime(const QString&, const QFont&) override { return Impreso::NoEmpieza; }
    void espera(QWidget*, const QString&, const std::function<bool()>& terminado, const std::function<void()>&) override {
        while (!terminado()) {
        }
    }
};

// Seconds of CPU used by every thread of the process so far.
double CpuProceso() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Full boxes: 32766 geodetic points, as many as a file may bring. First argument: 0 the seven
// parameters (with the distance to the grid in the status line), 1 the official grid. Second:
// 0 the result boxes empty, 1 holding the results of other points, which go.
void BM_TransformarCajaLlena(benchmark::State& s) {
    DialogosBanco dialogos;
    Main v(dialogos);
    v.findChild<QComboBox*>(QStringLiteral("Metodo"))->setCurrentIndex(static_cast<int>(s.range(0)));
    QString lat, lon, h;
    for (int i = 0; i < 32766; ++i) {
        const QString fin = i ? QStringLiteral("\n") : QString();
        lat += fin + QString::fromStdString(TextoDeColumna(37.0 + (i % 600) * 0.01, 6)); // inside the grid
        lon += fin + QString::fromStdString(TextoDeColumna(-7.0 + (i % 900) * 0.01, 7));
        h += fin + QString::fromStdString(TextoDeColumna(100 + i, 8));
    }
    QString otra = lat;
    otra.replace(otra.indexOf(QStringLiteral("37.")), 3, QStringLiteral("38."));
    auto* boton = v.findChild<QPushButton*>(QStringLiteral("Transform_2"));
    double cpu = 0;
    for (auto _ : s) {
        s.PauseTiming();
        if (s.range(1) == 0) {
            for (int k = 0; k < Main::NumCajas; ++k) Caja(v, k)->clear(); // every box written afresh
        }
        std::swap(lat, otra); // the first point moves: every result changes
        Caja(v, 6)->setPlainText(lat);
        Caja(v, 7)->setPlainText(lon);
        Caja(v, 8)->setPlainText(h);
        s.ResumeTiming();
        const double antes = CpuProceso();
        boton->click();
        cpu += CpuProceso() - antes;
    }
    // the boxes are filled on every core: the time of all threads, as against the wall time
    s.counters["cpu_hilos_ms"] = benchmark::Counter(1000 * cpu / static_cast<double>(s.iterations()));
    if (Caja(v, 0)->document()->blockCount() != 32766 || dialogos.mensajes != 0) s.SkipWithError("no se transform\u00f3");
    s.SetItemsProcessed(static_cast<int64_t>(s.iterations()) * 32766);
}

void BM_EntradaPorFicheroMaxima(benchmark::State& s) {
    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath(QStringLiteral("puntos.txt"));
    {
        std::ofstream f(ruta.toStdString(), std::ios::binary);
        f << "1";
        for (int i = 0; i < 32766; ++i) f << "\r\n" << 300000 + i << ".125," << 4000000 + i << ".5,123.25";
    }
    DialogosBanco dialogos;
    Main v(dialogos);
    auto* boton = v.findChild<QPushButton*>(QStringLiteral("Input"));
    dialogos.ruta = ruta;
    for (auto _ : s) {
        boton->click();
    }
    if (Caja(v, 0)->document()->blockCount() != 32766) s.SkipWithError("no se ley\u00f3 el fichero");
    s.SetItemsProcessed(static_cast<int64_t>(s.iterations()) * 32766);
}

BENCHMARK(BM_TransformarCajaLlena)->Args({0, 0})->Args({1, 0})->Args({0, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EntradaPorFicheroMaxima)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // the user's chosen method stays untouched
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
