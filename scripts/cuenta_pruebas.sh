#!/usr/bin/env bash
# How much of the C++ is tests: lines of the tracked .cpp and .h files, blank lines and comment
# lines left out, those under tests/ against all.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' | xargs awk '
  FNR == 1 { bloque = 0 }
  { l = $0; gsub(/^[ \t]+|[ \t\r]+$/, "", l) }
  bloque { if (index(l, "*/")) bloque = 0; next }
  l == "" || l ~ /^\/\// { next }
  l ~ /^\/\*/ { if (!index(l, "*/")) bloque = 1; next }
  { todas++; if (FILENAME ~ /^tests\//) pruebas++ }
  END { printf "pruebas: %d de %d l\303\255neas de C++ (%.1f %%)\n", pruebas, todas, 100 * pruebas / todas }'
