#pragma once

#include "ventana/caja.h"
#include "ventana/main.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStringList>

// The main window's widgets as a person finds them, by their names.
inline CajaCoordenada* Caja(const Main& v, int k) { return v.findChild<CajaCoordenada*>(QStringLiteral("Coord_%1").arg(k)); }
inline QComboBox* EleccionMetodo(const Main& v) { return v.findChild<QComboBox*>(QStringLiteral("Metodo")); }
inline QString Estado(const Main& v) { return v.findChild<QLabel*>(QStringLiteral("Estado"))->text(); }
// Every box's text, and the status line last.
inline QStringList Cajas(const Main& v) {
    QStringList textos;
    for (int k = 0; k < Main::NumCajas; ++k) textos << Caja(v, k)->toPlainText();
    return textos << Estado(v);
}

// Writes `texto` over box k's, the cursor left at its start: a change of the user's.
inline void Escribe(const Main& v, int k, const QString& texto) {
    Caja(v, k)->setPlainText(texto);
    Caja(v, k)->document()->setModified(true);
}

// Types a column of points into the three boxes of the format with button `indice`.
inline void Entra(Main& v, int indice, const QString& a, const QString& b, const QString& c) {
    Escribe(v, 3 * indice, a);
    Escribe(v, 3 * indice + 1, b);
    Escribe(v, 3 * indice + 2, c);
}

// "< TRANSFORMAR >" of the format with button `indice`.
inline void Transforma(Main& v, int indice) {
    v.findChild<QPushButton*>(QStringLiteral("Transform_%1").arg(indice))->click();
}

// 40 points of geodetic ED50, one a line, transformed.
inline void CuarentaPuntos(Main& v) {
    QStringList lat, lon, h;
    for (int i = 0; i < 40; ++i) {
        lat << QStringLiteral("40.%1").arg(10 + i);
        lon << QStringLiteral("-3.%1").arg(10 + i);
        h << QString::number(100 + i);
    }
    Entra(v, 2, lat.join(QLatin1Char('\n')), lon.join(QLatin1Char('\n')), h.join(QLatin1Char('\n')));
    Transforma(v, 2);
}
