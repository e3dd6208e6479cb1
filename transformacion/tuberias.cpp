#include "tuberias.h"

#include "geodesia/cartesianas.h"
#include "geodesia/elipsoide.h"
#include "geodesia/similitud.h"
#include "geodesia/utm.h"

#include <stdexcept>

namespace {

constexpr int Utm30 = ColumnaUtm30, UtmEd50 = ColumnaUtmEd50, GeoEd50 = ColumnaGeoEd50,
              CartEd50 = ColumnaCartEd50, GeoWgs84 = ColumnaGeoWgs84, CartWgs84 = ColumnaCartWgs84,
              UtmWgs84 = ColumnaUtmWgs84;

class Tuberia {
public:
    explicit Tuberia(ConjuntoDatos& d) : d_(d) {}

    void Pon(int k, Columnas3 r) { PonColumnas(d_, static_cast<std::size_t>(k), std::move(r)); }
    const Columna& C(int k) const { return d_.Columnas[static_cast<std::size_t>(k)]; }

    void AUtm(int origen, int destino, int huso, Elipsoide e) {
        Pon(destino, GeodesicasAUtm(C(origen), C(origen + 1), C(origen + 2), huso, e));
    }
    // zone 30 and the second ED50 zone, from the geodetic ED50 columns
    void AUtmEd50() {
        auto [huso30, otro] =
            GeodesicasADosHusos(C(GeoEd50), C(GeoEd50 + 1), C(GeoEd50 + 2), 30, d_.husos.ed50);
        Pon(Utm30, std::move(huso30));
        Pon(UtmEd50, std::move(otro));
    }
    void DesdeUtm(int origen, int destino, int huso, Elipsoide e) {
        Pon(destino, UtmAGeodesicas(C(origen), C(origen + 1), C(origen + 2), huso, e));
    }
    void ACartesianas(int origen, int destino, Elipsoide e) {
        Pon(destino, GeodesicasACartesianas(C(origen), C(origen + 1), C(origen + 2), e));
    }
    void AGeodesicas(int origen, int destino, Elipsoide e) {
        Pon(destino, CartesianasAGeodesicas(C(origen), C(origen + 1), C(origen + 2), e));
    }
    void Semejanza(int origen, int destino, const Parametros7& p) {
        Pon(destino, TransformaCartesianas(C(origen), C(origen + 1), C(origen + 2), p));
    }

private:
    ConjuntoDatos& d_;
};

} // namespace

ConjuntoDatos Transforma(int formato, const Columnas3& entrada, Husos husos) {
    if (formato < 1 || formato > NumeroFormatos) throw std::invalid_argument("formato de entrada 1 a 7");
    const bool conUtm = husos.utm != HusoNoCalculado || formato == 7;
    if (!HusoEd50Valido(husos.ed50) || (conUtm && !HusoUtmValido(husos.utm))) throw std::invalid_argument("huso");
    ConjuntoDatos d = DatosDeEntrada(formato, entrada, husos);
    Tuberia t(d);
    const Elipsoide ed50 = ElipsoideEd50();
    const Elipsoide wgs84 = ElipsoideWgs84();
    switch (formato) {
    case 1:
    case 2:
        if (formato == 1) {
            t.DesdeUtm(Utm30, GeoEd50, 30, ed50);
        } else {
            t.DesdeUtm(UtmEd50, GeoEd50, husos.ed50, ed50);
        }
        t.ACartesianas(GeoEd50, CartEd50, ed50);
        if (formato == 1) {
            t.AUtm(GeoEd50, UtmEd50, husos.ed50, ed50);
        } else {
            t.AUtm(GeoEd50, Utm30, 30, ed50);
        }
        t.Semejanza(CartEd50, CartWgs84, ParametrosEd50AWgs84);
        t.AGeodesicas(CartWgs84, GeoWgs84, wgs84);
        break;
    case 3:
    case 4:
        if (formato == 3) {
            t.ACartesianas(GeoEd50, CartEd50, ed50);
        } else {
            t.AGeodesicas(CartEd50, GeoEd50, ed50);
        }
        t.AUtmEd50();
        t.Semejanza(CartEd50, CartWgs84, ParametrosEd50AWgs84);
        t.AGeodesicas(CartWgs84, GeoWgs84, wgs84);
        break;
    default: // 5, 6 and 7: through Cartesian WGS84 back to ED50
        if (formato == 7) t.DesdeUtm(UtmWgs84, GeoWgs84, husos.utm, wgs84);
        if (formato == 6) {
            t.AGeodesicas(CartWgs84, GeoWgs84, wgs84);
        } else {
            t.ACartesianas(GeoWgs84, CartWgs84, wgs84);
        }
        t.Semejanza(CartWgs84, CartEd50, ParametrosWgs84AEd50);
        t.AGeodesicas(CartEd50, GeoEd50, ed50);
        t.AUtmEd50();
        break;
    }
    if (formato != 7 && conUtm) t.AUtm(GeoWgs84, UtmWgs84, husos.utm, wgs84);
    return d;
}
