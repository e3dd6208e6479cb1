#!/usr/bin/env bash
# The layer check on small trees of its own: include circles inside a folder, of two units or
# three (through a header's local include), are refused and named; a chain is accepted.
set -euo pipefail
comprueba=$(cd "$(dirname "$0")/.." && pwd)/scripts/comprueba_capas.sh
raiz=$(mktemp -d)
trap 'rm -rf "$raiz"' EXIT
fallos=0
# caso NOMBRE ESPERADO FICHERO:INCLUDE...  (ESPERADO: the line printed, or "capas: correctas")
caso() {
  local nombre=$1 esperado=$2 arbol="$raiz/$1" par salida
  shift 2
  for c in geodesia texto transformacion ficheros rejilla lote ventana editor aplicacion; do
    mkdir -p "$arbol/$c"
    echo "add_library($c STATIC)" >"$arbol/$c/CMakeLists.txt"
  done
  for par in "$@"; do
    echo "#include \"${par#*:}\"" >>"$arbol/${par%%:*}"
  done
  salida=$(bash "$comprueba" "$arbol" 2>&1) || true
  if [ "$salida" != "$esperado" ]; then
    echo "$nombre: se esperaba «$esperado», se obtuvo «$salida»"
    fallos=1
  fi
}
caso cadena "capas: correctas" geodesia/a.h:geodesia/b.h geodesia/b.cpp:geodesia/c.h geodesia/c.h:geodesia/d.h texto/e.cpp:geodesia/a.h
caso dos "editor/: unidades que se incluyen en círculo: editor reemplaza" \
  editor/editor.cpp:editor/reemplaza.h editor/reemplaza.cpp:editor/editor.h editor/editor.cpp:editor.h
caso tres "geodesia/: unidades que se incluyen en círculo: a b c" \
  geodesia/a.h:geodesia/b.h geodesia/b.cpp:geodesia/c.h geodesia/c.h:a.h
exit "$fallos"
