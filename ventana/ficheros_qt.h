#pragma once

#include "ventana/dialogos.h"
#include "ventana/rutas.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <string_view>

// The file commands of the window and the editor, by the rules of ficheros/ficheros.h. The
// path a dialog gives is kept in `rutas`, marked as chosen by the main window or not. Every
// dialog opens in the folder of the path any of them gave last, in this run or an earlier one.

// That folder; the current one before any choice.
QString CarpetaInicial();

// The open dialog (or `elegida`, a path already chosen, without it), then the file read whole.
// Nothing when the dialog is cancelled, or when the file cannot be read or holds more than
// `maximo` bytes (counted as they are read, for FIFOs and devices too): then the message, with
// the reason, is shown. A FIFO or device is read by a worker: when its writer takes long, a
// wait with Cancelar shows; a cancelled read is a failure.
std::optional<QByteArray> AbreElegido(Dialogos& dialogos, QWidget* padre, RutasCompartidas& rutas, bool porVentana,
                                      qint64 maximo, const std::optional<QString>& elegida = std::nullopt);

// The save dialog until the path is a new file or one the user agrees to overwrite (No shows
// the dialog again, in the same folder with the same name). Nothing when it is cancelled.
// `nombre`, when given, is offered in the dialog.
std::optional<QString> EligeDestino(Dialogos& dialogos, QWidget* padre, const QString& filtro, const QString& nombre);
// The same for the texts' filter; the path is kept in `rutas` as NombreGuardar.
std::optional<QString> EligeDestino(Dialogos& dialogos, QWidget* padre, RutasCompartidas& rutas, bool porVentana);

// Replaces the file atomically (or writes a device or FIFO in place): on any failure a
// previous file stays as it was. A device or FIFO is written by a worker: when its reader
// takes long, a wait with Cancelar shows, and the interface goes on being drawn. Nothing when
// saved; else the save error message with the reason on a line of its own.
std::optional<QString> GuardaConEspera(Dialogos& dialogos, QWidget* padre, const QString& ruta, std::string_view datos);

// Replaces the regular file atomically; nothing when saved, else the save error message with
// the reason.
std::optional<QString> FalloAlGuardar(const QString& ruta, std::string_view datos);
