#include "argumentos.h"

#include <getopt.h>

#include <set>

namespace {

// One row per option; an option with a value names the member it fills.
enum Clave { Rejilla = 1000, Nombres, Kml, GeoJson, Lf, Version, Ayuda, HusoEd50, Huso, Formatos };

const option TablaOpciones[] = {
    {"rejilla", no_argument, nullptr, Rejilla},   {"nombres", no_argument, nullptr, Nombres},
    {"kml", required_argument, nullptr, Kml},     {"geojson", required_argument, nullptr, GeoJson},
    {"lf", no_argument, nullptr, Lf},             {"version", no_argument, nullptr, Version},
    {"help", no_argument, nullptr, Ayuda},        {"huso-ed50", required_argument, nullptr, HusoEd50},
    {"huso", required_argument, nullptr, Huso},   {"formatos", required_argument, nullptr, Formatos},
    {nullptr, 0, nullptr, 0},
};

std::string NombreOpcion(int clave) {
    for (const option& o : TablaOpciones)
        if (o.name && o.val == clave) return std::string("--") + o.name;
    return {};
}

// Sets what option `clave` asks for; a usage error when it cannot.
std::string Aplica(int clave, const char* valor, Argumentos& a) {
    switch (clave) {
    case Rejilla: a.rejilla = true; break;
    case Nombres: a.nombres = true; break;
    case Lf: a.lf = true; break;
    case Version: a.accion = Argumentos::Version; break;
    case Ayuda:
    case 'h': a.accion = Argumentos::Ayuda; break;
    case Kml:
    case GeoJson:
        if (*valor == '\0') return NombreOpcion(clave) + ": la ruta est\u00e1 vac\u00eda";
        (clave == Kml ? a.kml : a.geojson) = valor;
        break;
    case HusoEd50:
    case Huso:
    case Formatos: {
        const auto rechazo = clave == HusoEd50 ? PonHusoEd50(a.formatos, valor)
                             : clave == Huso   ? PonHusoUtm(a.formatos, valor)
                                               : PonFormatos(a.formatos, valor);
        if (rechazo) return *rechazo;
        break;
    }
    }
    return {};
}

// Where the paths go, and that at most one output is standard output.
std::string Rutas(const std::vector<std::string>& rutas, Argumentos& a) {
    if (rutas.empty()) return "falta ENTRADA";
    if (rutas.size() > 2) return "sobra el argumento \u00ab" + rutas[2] + "\u00bb";
    for (std::size_t k = 0; k < rutas.size(); ++k)
        if (rutas[k].empty()) return std::string(k == 0 ? "ENTRADA" : "SALIDA") + ": la ruta est\u00e1 vac\u00eda";
    a.entrada = rutas[0];
    if (rutas.size() == 2) a.salida = rutas[1];
    std::vector<std::string> estandar;
    if (a.salida == "-") estandar.emplace_back("SALIDA");
    if (a.kml == "-") estandar.emplace_back("--kml");
    if (a.geojson == "-") estandar.emplace_back("--geojson");
    if (estandar.size() > 1)
        return estandar[0] + " y " + estandar[1] + " no pueden ir las dos a la salida est\u00e1ndar";
    return {};
}

} // namespace

std::variant<Argumentos, std::string> LeeArgumentos(const std::vector<std::string>& argumentos) {
    std::vector<std::string> copia{"orvalo-lote"};
    copia.insert(copia.end(), argumentos.begin(), argumentos.end());
    std::vector<char*> argv;
    for (std::string& a : copia) argv.push_back(a.data());
    argv.push_back(nullptr);
    Argumentos a;
    std::set<int> vistas;
    optind = 0; // getopt_long starts afresh on every call
    opterr = 0; // the errors are worded here
    for (int clave; (clave = ::getopt_long(static_cast<int>(copia.size()), argv.data(), ":h", TablaOpciones, nullptr)) != -1;) {
        const std::string leida = argv[static_cast<std::size_t>(optind) - 1];
        if (clave == '?') return "opci\u00f3n desconocida: " + (optopt ? std::string("-") + char(optopt) : leida);
        if (clave == ':') {
            const std::string opcion = leida.substr(0, leida.find('='));
            return opcion + (opcion == "--kml" || opcion == "--geojson" ? " necesita un fichero" : " necesita un valor");
        }
        if (!vistas.insert(clave == 'h' ? Ayuda : clave).second)
            return "opci\u00f3n repetida: " + NombreOpcion(clave == 'h' ? Ayuda : clave);
        if (std::string e = Aplica(clave, optarg, a); !e.empty()) return e;
    }
    if (a.accion != Argumentos::Convertir) return a;
    // getopt_long moved the paths after the options, in their order
    const std::vector<std::string> rutas(argv.begin() + optind, argv.end() - 1);
    if (std::string e = Rutas(rutas, a); !e.empty()) return e;
    return a;
}
