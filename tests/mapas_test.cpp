// orvalo-lote's names and maps, read back as a map viewer would (Qt's JSON and XML readers).
#include "lote_prueba.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

// Madrid, Cádiz and Palma in ED50, H = 100 m; the second without a name.
const std::string Ciudades = "3\r\nV\xc3\xa9rtice \"Madrid\",40.250048,-3.421368,100\r\n36.31372,-6.171896,100\r\n"
                             " \tP<1>& ,39.341056,2.390072,100"; // blanks around a name are dropped

using Mapas = Lote;

// Names and positions read back (the official method: the maps take the boxes' numbers of any
// method); points are converted in blocks of thousands: the features of all blocks make one array.
TEST_F(Mapas, KmlYGeoJsonLeidosDeVuelta) {
    const std::string kml = Ruta("p.kml"), geojson = Ruta("p.geojson");
    std::string entrada = Ciudades;
    for (int i = 0; i < 9996; ++i) entrada += "\r\n40.3,-3.3,100";
    entrada += "\r\nFin\\1,40.3,-3.3,100"; // a backslash in a name, escaped
    ASSERT_EQ(Ejecuta({"--rejilla", "--nombres", "--kml", kml, "--geojson", geojson, "-"}, entrada), 0) << errores_.str();
    // the output lines start with the name the maps give the point (checked below)
    EXPECT_EQ(salida_.str().rfind("V\xc3\xa9rtice \"Madrid\";  440287.752,", 0), 0u) << salida_.str();

    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(LeeFichero(geojson)), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonArray puntos = doc[QStringLiteral("features")].toArray();
    ASSERT_EQ(puntos.size(), 10000);
    const QStringList nombres{QStringLiteral("V\u00e9rtice \"Madrid\""), QStringLiteral("2"), QStringLiteral("P<1>&"),
                              QStringLiteral("9999"), QStringLiteral("Fin\\1")};
    for (int i : {0, 1, 2, 9998, 9999})
        EXPECT_EQ(puntos[i][QStringLiteral("properties")][QStringLiteral("name")].toString(), nombres[i < 3 ? i : i - 9995]);
    // RFC 7946: longitude first; Madrid as the IGN gives it (40.415618706, -3.705109140, 151.112),
    // as the boxes show it: 1e-4 seconds of arc, 3e-8 degrees
    const QJsonArray madrid = puntos[0][QStringLiteral("geometry")][QStringLiteral("coordinates")].toArray();
    ASSERT_EQ(madrid.size(), 3);
    EXPECT_NEAR(madrid[0].toDouble(), -3.705109140, 3e-8);
    EXPECT_NEAR(madrid[1].toDouble(), 40.415618706, 3e-8);
    EXPECT_DOUBLE_EQ(madrid[2].toDouble(), 151.112);

    QXmlStreamReader xml(QByteArray::fromStdString(LeeFichero(kml)));
    QStringList leidos, coordenadas;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("name")) leidos << xml.readElementText();
        if (xml.name() == QLatin1String("coordinates")) coordenadas << xml.readElementText();
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(leidos.value(0), QStringLiteral("entrada est\u00e1ndar")); // the document's, the input's name
    EXPECT_EQ(leidos.mid(1, 3), nombres.mid(0, 3));
    EXPECT_EQ(leidos.mid(9999), nombres.mid(3));
    ASSERT_EQ(coordenadas.size(), 10000);
    EXPECT_EQ(coordenadas[0], QString::number(madrid[0].toDouble(), 'f', 9) + QLatin1Char(',') +
                                  QString::number(madrid[1].toDouble(), 'f', 9) + QStringLiteral(",151.112"));
    // GDAL reads both maps whole: converted to a GeoPackage, every name in order
    if (std::system("command -v ogr2ogr >/dev/null 2>&1") != 0) return;
    for (const std::string& mapa : {kml, geojson}) {
        std::filesystem::remove(Ruta("r.gpkg"));
        const std::string orden = "cd '" + carpeta_.string() + "' && ogr2ogr -f GPKG r.gpkg '" + mapa +
                                  "' 2>/dev/null && ogrinfo -q -al r.gpkg > r.txt";
        ASSERT_EQ(std::system(orden.c_str()), 0) << mapa;
        const std::string r = LeeFichero(Ruta("r.txt"));
        std::size_t desde = 0;
        for (const QString& n : nombres) {
            desde = r.find("(String) = " + n.toStdString() + "\n", desde);
            EXPECT_NE(desde, std::string::npos) << mapa << ": " << n.toStdString();
        }
    }
}

} // namespace
