#!/usr/bin/env bash
# Checks the layers: each folder is a library of its own name, includes only from its own
# folder or folders below it, and only the Qt folders include Qt headers. Prints every breach
# and exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."
# bottom to top
capas=(geodesia texto transformacion ficheros rejilla lote ventana editor aplicacion)
qt=" ventana editor aplicacion "
declare -A nivel
for i in "${!capas[@]}"; do nivel[${capas[$i]}]=$i; done
fallos=0
falla() { echo "$1"; fallos=1; }

for capa in "${capas[@]}"; do
  grep -Eq "^add_library\($capa( |\))" "$capa/CMakeLists.txt" 2>/dev/null ||
    falla "$capa/: no es una biblioteca de CMake llamada $capa"
  while IFS= read -r f; do
    while IFS= read -r linea; do
      destino=$(sed -E 's/^[0-9]+:\s*#\s*include\s*"([^/"]+)\/.*/\1/' <<<"$linea")
      [ -n "${nivel[$destino]+x}" ] || { falla "$f:${linea%%:*}: incluye de una carpeta que no es una capa: $destino"; continue; }
      [ "${nivel[$destino]}" -le "${nivel[$capa]}" ] ||
        falla "$f:${linea%%:*}: $capa incluye de $destino, que está por encima"
    done < <(grep -nE '^\s*#\s*include\s*"[^"]+/' "$f" || true)
    if [[ "$qt" != *" $capa "* ]] && grep -nE '^\s*#\s*include\s*<Q' "$f" >/dev/null; then
      falla "$f: cabecera de Qt fuera de las carpetas de Qt"
    fi
  done < <(find "$capa" -name '*.h' -o -name '*.cpp')
done
# the folders of code are the layers and nothing else
for d in $(git ls-files '*.cpp' '*.h' | cut -d/ -f1 | sort -u); do
  case " ${capas[*]} tests rendimiento herramientas " in *" $d "*) ;; *) falla "$d/: código fuera de las capas" ;; esac
done
[ "$fallos" = 0 ] && echo "capas: correctas"
exit "$fallos"
