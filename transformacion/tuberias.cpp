#include "tuberias.h"

#include "geodesia/cartesianas.h"
#include "geodesia/elipsoide.h"
#include "geodesia/similitud.h"
#include "geodesia/utm.h"

#include <stdexcept>

namespace {

// Columns of each format: first index of its three.
enum Primera { Utm30 = 0, Utm31 = 3, GeoEd50 = 6, CartEd50 = 9, GeoWgs84 = 12, CartWgs84 = 15 };

class Tuberia {
public:
    explicit Tuberia(ConjuntoDatos& d) : d_(d) {}

    void Pon(int k, Columnas3 r) { PonColumnas(d_, static_cast<std::size_t>(k), std::move(r)); }
    const Columna& C(int k) const { return d_.Columnas[static_cast<std::size_t>(k)]; }

    void AUtm(int destino, int huso) {
        Pon(destino, GeodesicasAUtm(C(GeoEd50), C(GeoEd50 + 1), C(GeoEd50 + 2), huso));
    }
    void AUtm30y31() {
        auto [huso30, huso31] = GeodesicasAUtm30y31(C(GeoEd50), C(GeoEd50 + 1), C(GeoEd50 + 2));
        Pon(Utm30, std::move(huso30));
        Pon(Utm31, std::move(huso31));
    }
    void DesdeUtm(int origen, int huso) {
        Pon(GeoEd50, UtmAGeodesicas(C(origen), C(origen + 1), C(origen + 2), huso));
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

ConjuntoDatos Transforma(int formato, const Columnas3& entrada) {
    if (formato < 1 || formato > 6) throw std::invalid_argument("formato de entrada 1 a 6");
    ConjuntoDatos d = DatosDeEntrada(formato, entrada);
    Tuberia t(d);
    const Elipsoide ed50 = ElipsoideEd50();
    const Elipsoide wgs84 = ElipsoideWgs84();
    switch (formato) {
    case 1:
    case 2:
        t.DesdeUtm(formato == 1 ? Utm30 : Utm31, formato == 1 ? 30 : 31);
        t.ACartesianas(GeoEd50, CartEd50, ed50);
        t.AUtm(formato == 1 ? Utm31 : Utm30, formato == 1 ? 31 : 30);
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
        t.AUtm30y31();
        t.Semejanza(CartEd50, CartWgs84, ParametrosEd50AWgs84);
        t.AGeodesicas(CartWgs84, GeoWgs84, wgs84);
        break;
    default: // 5 and 6: through Cartesian WGS84 back to ED50
        if (formato == 5) {
            t.ACartesianas(GeoWgs84, CartWgs84, wgs84);
        } else {
            t.AGeodesicas(CartWgs84, GeoWgs84, wgs84);
        }
        t.Semejanza(CartWgs84, CartEd50, ParametrosWgs84AEd50);
        t.AGeodesicas(CartEd50, GeoEd50, ed50);
        t.AUtm30y31();
        break;
    }
    return d;
}
