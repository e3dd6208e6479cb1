#pragma once

#include "geodesia/elipsoide.h"
#include "transformacion/datos.h"

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

// Spain's official ED50 -> ETRS89 transformation: the IGN's NTv2 grid SPED2ETV2 for latitude
// and longitude, and its geoid EGM08-REDNAP for heights (an ED50 height is an altitude H above
// sea level; the ETRS89 ellipsoidal height is h = H + N). PROJ applies both grids.

inline const std::string FicheroRejillaHorizontal = "es_ign_SPED2ETV2.tif";
inline const std::string FicheroGeoide = "es_ign_egm08-rednap.tif";

// The two grid files found, or the first one missing.
struct Rejillas {
    std::string horizontal, geoide; // paths
    std::string falta;              // the name of a file not found, when one is
};

// Looks for the grids in the folder $ORVALO_REJILLAS names, or else beside the program
// (../share/orvalo/rejillas) and in the source tree it was built from, in that order.
Rejillas BuscaRejillas();

// "rejilla dañada o distinta de la publicada": a grid file that is not the one published, or
// that gives what no grid for Spain can (the description of the FalloAritmetico then thrown).
inline const std::string DescripcionRejillaDanada = "rejilla da\u00f1ada o distinta de la publicada";

// The rectangle where both the grid and the geoid hold values, in ED50 degrees.
inline const std::string RectanguloRejilla = "latitud 35,5\u00b0 a 44\u00b0 N, longitud 9,5\u00b0 O a 4,5\u00b0 E";

// The grid's results are official in mainland Spain and the Balearic Islands only; elsewhere
// in its rectangle (Portugal, Ceuta, the sea) they are computed but not official.
inline const std::string AvisoCobertura =
    "Resultado oficial solo en la Espa\u00f1a peninsular y las Islas Baleares";

// The refusal of a point the grid or the geoid does not cover, naming the rectangle they do:
// for a report line ("fuera de la rejilla oficial del IGN (latitud … )").
std::string DescribeFueraDeRejilla();
// The same for a message box: point `punto` (from 1), entered in the format named `formato`.
std::string MensajeFueraDeRejilla(std::size_t punto, const std::string& formato);

// A point the grid or the geoid does not cover.
class FueraDeRejilla : public std::runtime_error {
public:
    explicit FueraDeRejilla(std::size_t punto);
    std::size_t punto; // counted from 1
};

// The grids opened by PROJ. Every Rejilla opened on the same files in a process shares one
// copy of them, checked once; each may be used from its own thread.
class Rejilla {
public:
    // Nothing, with the reason in `error` (naming the file), when a file cannot be read, is not
    // a regular file, or differs from the published one (its SHA-256 and the published one).
    static std::unique_ptr<Rejilla> Abre(const Rejillas& ficheros, std::string& error);
    ~Rejilla();
    Rejilla(const Rejilla&) = delete;
    Rejilla& operator=(const Rejilla&) = delete;

    // Geodetic columns (pseudo-sexagesimal, metres) in place: ED50 with altitudes to ETRS89
    // with ellipsoidal heights, or back. The index of the first point outside, if any; the
    // points before it are converted. Throws FalloAritmetico (DescripcionRejillaDanada) when
    // PROJ cannot read the grid or gives a shift no grid for Spain holds.
    std::optional<std::size_t> AEtrs89(Columna& latitudes, Columna& longitudes, Columna& alturas);
    std::optional<std::size_t> AEd50(Columna& latitudes, Columna& longitudes, Columna& alturas);

private:
    Rejilla() = default;
    std::optional<std::size_t> Aplica(Columna& latitudes, Columna& longitudes, Columna& alturas, bool directa);
    struct Proj;
    std::shared_ptr<Proj> proj_;
};

// The pipeline of entry format `formato` (1 to 7) with the official method: the ED50 formats
// as the seven-parameter pipeline gives them, formats 5, 6 and 7 holding ETRS89 (geodetic on
// GRS80 with ellipsoidal heights, geocentric Cartesian on GRS80, UTM on GRS80 in zone
// husos.utm). Throws FueraDeRejilla, or FalloAritmetico.
ConjuntoDatos TransformaOficial(int formato, const Columnas3& entrada, Rejilla& rejilla, Husos husos = {});

// The pipeline of the method chosen: the official one when a grid is given, the seven
// parameters otherwise.
ConjuntoDatos TransformaPorMetodo(int formato, const Columnas3& entrada, Rejilla* rejilla, Husos husos = {});
// The same data set, many points computed in two halves on two threads. When a half fails,
// the whole set runs again on one thread, so that the fault thrown is the one it meets first.
ConjuntoDatos TransformaPorMetodoEnHilos(int formato, const Columnas3& entrada, Rejilla* rejilla, Husos husos = {});

// Why point i, converted and laid out on its own by the method chosen, fails; nothing when it
// converts. For reports that name the point.
struct FalloPunto {
    bool fueraDeRejilla = false;
    std::string descripcion; // the arithmetic fault's
};
std::optional<FalloPunto> FalloDelPunto(int formato, const Columnas3& entrada, std::size_t i, Rejilla* rejilla,
                                        Husos husos = {});
// Hands each point that fails on its own to `cada` (index from 0, why), in order, until `cada`
// returns false. Points with a NaN value, refused where they were read, are skipped.
void RecorreFallos(int formato, const Columnas3& entrada, Rejilla* rejilla, Husos husos,
                   const std::function<bool(std::size_t, const FalloPunto&)>& cada);

// The largest horizontal distance between the seven-parameter WGS84 position of a data set
// and the official ETRS89 position of its ED50 points, over the points inside the grid.
struct Diferencia {
    double metros;
    std::size_t punto; // counted from 1
};
std::optional<Diferencia> DiferenciaConRejilla(const ConjuntoDatos& datos, Rejilla& rejilla);
// ". Diferencia con la rejilla oficial del IGN: hasta 2,87 m (punto 3)", to follow a status.
std::string EstadoDiferencia(const Diferencia& d);
