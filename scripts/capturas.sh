#!/usr/bin/env bash
# Screenshots of the main window (40 points, cursor on point 25), the editor, its replacement
# dialog, the open dialog, the editor's close question, the help and the About window under Xvfb at
# each screen size given (default 1024x768 and 1600x1000), into CARPETA (default build/capturas).
# Usage: scripts/capturas.sh [CARPETA] [ANCHOxALTO...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/dependencias.sh xvfb xauth fonts-dejavu-core
carpeta=${1:-build/capturas}
shift || true
tamanos=("$@")
[ "${#tamanos[@]}" -gt 0 ] || tamanos=(1024x768 1600x1000)
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target capturas >/dev/null
for t in "${tamanos[@]}"; do
  mkdir -p "$carpeta/$t"
  xvfb-run -a -s "-screen 0 ${t}x24" env QT_QPA_PLATFORM=xcb ./build/herramientas/capturas "$carpeta/$t"
  echo "$carpeta/$t: $(ls "$carpeta/$t" | tr '\n' ' ')"
done
