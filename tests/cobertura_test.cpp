#include "dialogos_prueba.h"
#include "ventana/main.h"
#include "ventana_prueba.h"

#include <QComboBox>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

// The official method computes wherever its grid reaches, and says where that is official:
// Lisbon and Ceuta get results marked as not official; a point beyond the grid's rectangle is
// refused, the message naming the rectangle; the seven parameters carry no such mark.
TEST(Cobertura, LoOficialSeDiceConVerdad) {
    DialogosPrueba dialogos;
    Main ventana{dialogos};
    auto* metodo = ventana.findChild<QComboBox*>(QStringLiteral("Metodo"));
    auto* estado = ventana.findChild<QLabel*>(QStringLiteral("Estado"));
    const QString noOficial = QStringLiteral("oficial solo en la Espa\u00f1a peninsular y las Islas Baleares");
    struct Caso {
        const char* nombre;
        int metodo;
        const char* latitud;
        const char* longitud;
        bool convierte, marcado;
    } casos[] = {
        {"Lisboa", 1, "38.4312", "-9.0824", true, true},
        {"Ceuta", 1, "35.5324", "-5.1912", true, true},
        {"Madrid, siete par\u00e1metros", 0, "40.250048", "-3.421368", true, false},
        {"Las Palmas, fuera del rect\u00e1ngulo", 1, "28.06", "-15.25", false, false},
    };
    for (const Caso& c : casos) {
        metodo->setCurrentIndex(c.metodo);
        dialogos.mensajes.clear();
        Entra(ventana, 2, QString::fromLatin1(c.latitud), QString::fromLatin1(c.longitud), QStringLiteral("100"));
        Transforma(ventana, 2);
        EXPECT_EQ(dialogos.mensajes.empty(), c.convierte) << c.nombre;
        if (c.convierte) {
            EXPECT_EQ(estado->text().contains(noOficial), c.marcado) << c.nombre << ": " << estado->text().toStdString();
        } else {
            const QString m = dialogos.ultimoMensaje();
            EXPECT_TRUE(m.contains(QStringLiteral("35,5\u00b0 a 44\u00b0 N")) && m.contains(QStringLiteral("9,5\u00b0 O a 4,5\u00b0 E")))
                << c.nombre << ": " << m.toStdString();
            EXPECT_TRUE(m.contains(noOficial)) << c.nombre;
            EXPECT_EQ(Caja(ventana, 6)->toPlainText(), QStringLiteral("28.06")) << c.nombre; // as typed, nothing changed
        }
    }
}

} // namespace
