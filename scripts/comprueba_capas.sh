#!/usr/bin/env bash
# Checks the layers: each folder is a library of its own name, includes only from its own
# folder or folders below it, only the Qt folders include Qt headers, and no two units of a
# folder (x.h with x.cpp) include each other, however long the circle. Prints every breach
# and exits 1 when there is one. Usage: scripts/comprueba_capas.sh [TREE] (default: this one)
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
# bottom to top
capas=(geodesia texto transformacion ficheros rejilla lote ventana editor aplicacion)
qt=" ventana editor aplicacion "
declare -A nivel
for i in "${!capas[@]}"; do nivel[${capas[$i]}]=$i; done
fallos=0
falla() { echo "$1"; fallos=1; }

# The units of folder $1 that include each other in a circle, through tsort's loop report.
circulo() {
  local capa=$1 f unidad destino bucle
  bucle=$(
    while IFS= read -r f; do
      unidad=$(basename "${f%.*}")
      sed -nE 's/^\s*#\s*include\s*"([^"]+)\.h".*/\1/p' "$f" | while IFS= read -r destino; do
        case "$destino" in "$capa"/*) destino=${destino#"$capa"/} ;; */*) continue ;; esac
        [ "$destino" = "$unidad" ] || echo "$unidad $destino"
      done
    done < <(find "$capa" -name '*.h' -o -name '*.cpp') | tsort 2>&1 >/dev/null | sed -n 's/^tsort: //p' | grep -v 'loop:$' | sort -u || true
  )
  [ -z "$bucle" ] || falla "$capa/: unidades que se incluyen en círculo: $(echo $bucle)"
}

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
  circulo "$capa"
done
# the folders of code are the layers and nothing else
for d in $(git ls-files '*.cpp' '*.h' 2>/dev/null | cut -d/ -f1 | sort -u); do
  case " ${capas[*]} tests rendimiento herramientas " in *" $d "*) ;; *) falla "$d/: código fuera de las capas" ;; esac
done
[ "$fallos" = 0 ] && echo "capas: correctas"
exit "$fallos"
