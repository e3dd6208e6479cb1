#pragma once

#include "ventana/main.h"

#include <QPushButton>
#include <QStringList>

// 40 points of geodetic ED50, one a line, transformed.
inline void CuarentaPuntos(Main& v) {
    QStringList lat, lon, h;
    for (int i = 0; i < 40; ++i) {
        lat << QStringLiteral("40.%1").arg(10 + i);
        lon << QStringLiteral("-3.%1").arg(10 + i);
        h << QString::number(100 + i);
    }
    v.caja(6)->setPlainText(lat.join(QLatin1Char('\n')));
    v.caja(7)->setPlainText(lon.join(QLatin1Char('\n')));
    v.caja(8)->setPlainText(h.join(QLatin1Char('\n')));
    v.findChild<QPushButton*>(QStringLiteral("Transform_2"))->click();
}
