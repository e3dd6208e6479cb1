#!/usr/bin/env bash
# Builds the program and starts it; arguments go to the program.
# Usage: scripts/ejecutar.sh [FICHERO]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/dependencias.sh qt6-translations-l10n
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)" --target orvalo orvalo-lote
exec ./build/aplicacion/orvalo "$@"
