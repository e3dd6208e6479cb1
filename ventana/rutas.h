#pragma once

#include <QString>

// Paths the file commands and the editor share.
struct RutasCompartidas {
    QString NombreAbrir;   // last chosen in an open dialog
    QString NombreGuardar; // last chosen in a save dialog
    // chosen by the main window's file commands, not by the editor
    bool abrirPorVentana = false;
    bool guardarPorVentana = false;
};
