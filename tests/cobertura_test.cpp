#include "dialogos_prueba.h"
#include "ventana_prueba.h"

#include <gtest/gtest.h>

namespace {

// The official method computes wherever its grid reaches, and says where that is official:
// Lisbon and Ceuta get results marked as not official; a point beyond the grid's rectangle is
// refused, the message naming the point and the rectangle; the seven parameters carry no such mark.
TEST(Cobertura, LoOficialSeDiceConVerdad) {
    DialogosPrueba dialogos;
    Main ventana{dialogos};
    const QString noOficial = QStringLiteral("oficial solo en la Espa\u00f1a peninsular y las Islas Baleares");
    struct Caso {
        const char* nombre;
        int metodo;
        QString latitud, longitud;
        bool convierte, marcado;
    } casos[] = {
        {"Lisboa", 1, QStringLiteral("38.4312"), QStringLiteral("-9.0824"), true, true},
        {"Ceuta", 1, QStringLiteral("35.5324"), QStringLiteral("-5.1912"), true, true},
        {"Madrid, siete par\u00e1metros", 0, QStringLiteral("40.250048"), QStringLiteral("-3.421368"), true, false},
        {"Las Palmas, fuera del rect\u00e1ngulo", 1, QStringLiteral("40.25\n28.06"), QStringLiteral("-3.42\n-15.25"), false, false},
    };
    for (const Caso& c : casos) {
        EleccionMetodo(ventana)->setCurrentIndex(c.metodo);
        dialogos.mensajes.clear();
        const QString h = QStringList(c.latitud.count(QLatin1Char('\n')) + 1, QStringLiteral("100")).join(QLatin1Char('\n'));
        Entra(ventana, 2, c.latitud, c.longitud, h);
        Transforma(ventana, 2);
        EXPECT_EQ(dialogos.mensajes.empty(), c.convierte) << c.nombre;
        if (c.convierte) {
            EXPECT_EQ(Estado(ventana).contains(noOficial), c.marcado) << c.nombre << ": " << Estado(ventana).toStdString();
            // the distance to the official grid, only for the seven parameters
            EXPECT_EQ(Estado(ventana).contains(QStringLiteral("Diferencia con la rejilla")), c.metodo == 0) << c.nombre;
        } else {
            // the rectangle's words belong to the grid, checked with orvalo-lote
            const QString m = dialogos.ultimoMensaje();
            EXPECT_TRUE(m.contains(noOficial) && m.contains(QStringLiteral("Punto 2 (entrado en Geod\u00e9sicas ED50)"))) << m.toStdString();
            EXPECT_EQ(Caja(ventana, 6)->toPlainText(), c.latitud) << c.nombre; // as typed, nothing changed
        }
    }
}

} // namespace
