#pragma once

#include <QString>

#include <functional>
#include <optional>

class QFont;
class QWidget;

enum class Icono { Ninguno, Informacion };

// What the print dialog answered.
struct Impresion {
    int copias = 1;
    bool aFichero = false; // printing to a file was chosen
};

// How a print job ended.
enum class Impreso { Si, NoEmpieza, Incompleto };

// Every message box, file and print dialog, the printer and the beep of the program: the real
// one uses Qt's standard dialogs, the tests' one answers from a script and records. It reports
// facts; the callers own the words.
class Dialogos {
public:
    virtual ~Dialogos() = default;
    // File dialogs with the filter list (its last entry preselected), opened at `inicial`: a
    // folder, or a path whose folder is shown and whose name is offered. Nothing when cancelled.
    virtual std::optional<QString> abrir(QWidget* padre, const QString& filtro, const QString& inicial) = 0;
    virtual std::optional<QString> guardar(QWidget* padre, const QString& filtro, const QString& inicial) = 0;
    // OK-only message box.
    virtual void mensaje(QWidget* padre, const QString& texto, Icono icono) = 0;
    // Yes/No question with the information icon, No the default; true for Yes.
    virtual bool pregunta(QWidget* padre, const QString& texto) = 0;
    virtual void pitido() = 0;
    // Whether any printer is installed.
    virtual bool hayImpresora() = 0;
    // Print dialog without the print-to-file and page-range choices; nullopt when cancelled.
    virtual std::optional<Impresion> dialogoImprimir(QWidget* padre) = 0;
    // Prints `texto` (lines ended by LF) in `fuente` on the printer chosen last, as one job,
    // page after page, long lines wrapped.
    virtual Impreso imprime(const QString& texto, const QFont& fuente) = 0;
    // A wait with a Cancelar button, shown until `terminado` (asked often) is true; Cancelar
    // calls `cancela` and the wait goes on, unseen, until `terminado`.
    virtual void espera(QWidget* padre, const QString& texto, const std::function<bool()>& terminado,
                        const std::function<void()>& cancela) = 0;
};

// " ¡El Fichero ya existe! ¿Desea sobreescribirlo? " and, on lines of their own, the file's
// name and, when one of the main window's commands chose it, which ("Salida por fichero").
QString PreguntaSobreescribirFichero(const QString& ruta, const QString& comando);

// Places a window centred over another, within the screen.
void CentraSobre(QWidget* w, const QWidget* sobre);

// The filter list of every file dialog of texts; the third entry is preselected.
inline const QString FiltroFicheros = QStringLiteral(
    "Archivos de texto (*.txt);;Archivos TMP (*.tmp);;Todos los archivos (*.*)");

// The filter of the save dialog for a printout as a PDF file.
inline const QString FiltroPdf = QStringLiteral("Documentos PDF (*.pdf)");
