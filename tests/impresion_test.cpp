// The editor's Imprimir: the words for what the printer reported, and, with no printer, the
// PDF file, read back with poppler's pdftotext and pdffonts.
#include "editor_prueba.h"
#include "ventana/dialogos_qt.h"

#include <QFontInfo>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

class Imprimir : public EditorPrueba {
protected:
    // A program of poppler-utils on `pdf`: its standard output.
    static QString Poppler(const QString& programa, QStringList argumentos) {
        QProcess p;
        p.start(programa, argumentos);
        EXPECT_TRUE(p.waitForFinished(60000)) << programa.toStdString();
        EXPECT_EQ(p.exitCode(), 0) << programa.toStdString() << ": " << p.readAllStandardError().toStdString();
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    // The text lines of the PDF, blank ones left out; `paginas`, the form feeds that end its pages.
    static QStringList Lineas(const QString& pdf, qsizetype* paginas = nullptr) {
        const QString t = Poppler(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
        if (paginas) *paginas = t.count(QLatin1Char('\f'));
        QStringList r = t.split(QRegularExpression(QStringLiteral("[\n\f]")));
        r.removeIf([](const QString& l) { return l.trimmed().isEmpty(); });
        return r;
    }
};

// The dialog interface reports facts; the editor says them in its own words.
TEST_F(Imprimir, ConImpresora) {
    Pon(QStringLiteral("a\nb"));
    // mensaje: empty, nothing shown
    struct Caso { const char* nombre; std::optional<Impresion> dialogo; Impreso impreso; QString mensaje; } casos[] = {
        {"dos copias", Impresion{2, false}, Impreso::Si, QString()},
        {"cancelado", std::nullopt, Impreso::Si, QString()},
        {"a un fichero", Impresion{1, true}, Impreso::Si, QStringLiteral(" Opci\u00f3n no disponible. ")},
        {"no empieza", Impresion{1, false}, Impreso::NoEmpieza, QStringLiteral(" No se ha podido empezar a imprimir. ")},
        {"a medias", Impresion{1, false}, Impreso::Incompleto, QStringLiteral(" No se ha podido imprimir el documento. ")},
    };
    for (const Caso& c : casos) {
        dialogos.mensajes.clear();
        dialogos.impresiones = {c.dialogo};
        dialogos.impreso = c.impreso;
        Accion("FicheroImprimir")->trigger();
        EXPECT_EQ(dialogos.ultimoMensaje(), c.mensaje) << c.nombre;
    }
    // only the two copies printed, each four blank lines, the text and one line end
    EXPECT_EQ(dialogos.documentos, std::vector<QString>{QStringLiteral("\n\n\n\na\nb\n\n\n\n\na\nb\n")});
}

// With no printer, Imprimir saves a PDF like any other file (the overwrite question is the file
// dialog's own), offered under the text's name. What is printed: every line whole and in order,
// page after page, long lines wrapped, in the editor's font.
TEST_F(Imprimir, SinImpresoraUnPdf) {
    dialogos.impresoras = 0;
    const QString texto = Crea(QStringLiteral("puntos.txt"), "3\r\n40,-3,0\r\n");
    Abre(texto);
    QStringList largas;
    for (int i = 1; i <= 150; ++i) largas << QStringLiteral("L\u00ednea %1 del documento").arg(i, 3, 10, QLatin1Char('0'));
    const QString larga = QStringLiteral("0123456789").repeated(40); // 400 characters, past any A4 width
    // 50 to 75 lines of 10-point text fit an A4 page within 2 cm margins
    struct Caso { const char* nombre; QStringList lineas; int paginas; } casos[] = {
        {"150 líneas", largas, 3},
        {"una línea más ancha que la página", {QStringLiteral("antes"), larga, QStringLiteral("despu\u00e9s")}, 1},
        {"ñ, € y λ", {QStringLiteral("a\u00f1o 2026: 5 \u20ac"), QStringLiteral("\u03bb = -3,5")}, 1},
    };
    for (const Caso& c : casos) {
        Pon(c.lineas.join(QLatin1Char('\n')));
        const QString pdf = Ruta(QStringLiteral("%1.pdf").arg(c.paginas * 1000 + c.lineas.size()));
        Guarda(pdf, "FicheroImprimir");
        qsizetype paginas = 0;
        const QStringList leidas = Lineas(pdf, &paginas);
        EXPECT_EQ(paginas, c.paginas) << c.nombre;
        // the long line wrapped into at least four pieces of one page's width, nothing cut
        const bool envuelta = c.lineas.contains(larga);
        const QString junto = envuelta ? QString() : QStringLiteral("\n");
        EXPECT_EQ(leidas.join(junto).toStdString(), c.lineas.join(junto).toStdString()) << c.nombre;
        EXPECT_GE(leidas.size(), c.lineas.size() + (envuelta ? 3 : 0)) << c.nombre;
    }
    EXPECT_EQ(dialogos.inicialesGuardar.front(), Ruta(QStringLiteral("puntos.pdf"))); // the text's name, as a PDF
    EXPECT_TRUE(dialogos.mensajes.empty()); // and no print dialog: none was scripted
    EXPECT_EQ(texto.toStdString(), rutas.NombreAbrir.toStdString()); // the text's paths untouched
    EXPECT_TRUE(rutas.NombreGuardar.isEmpty());
    // the editor's font: Arial (or the face standing for it) at 12 points
    Accion("Fuente_1")->trigger();
    const QString pdf = Ruta(QStringLiteral("arial.pdf"));
    Guarda(pdf, "FicheroImprimir");
    const QString familia = QFontInfo(Caja()->font()).family();
    EXPECT_TRUE(Poppler(QStringLiteral("pdffonts"), {pdf}).contains(QString(familia).remove(QLatin1Char(' '))))
        << familia.toStdString();
    // a failure said with its reason
    Guarda(Ruta(QStringLiteral("no/hay/carpeta.pdf")), "FicheroImprimir");
    EXPECT_EQ(dialogos.ultimoMensaje(), QStringLiteral(" \u00a1Se ha producido un error al guardar el archivo! \r\n La carpeta no existe."));
}

// The real printer path: a job that cannot start is said so, never a silent success.
TEST(DialogosQt, UnTrabajoQueNoEmpiezaEsUnError) {
    DialogosQt d;
    if (d.hayImpresora()) GTEST_SKIP() << "hay una impresora instalada";
    EXPECT_EQ(d.imprime(QStringLiteral("texto"), QFont()), Impreso::NoEmpieza);
}

} // namespace
