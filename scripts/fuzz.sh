#!/usr/bin/env bash
# Runs every libFuzzer target for SECONDS seconds (default 60), two at a time, starting from the
# corpus kept in tests/fuzz/corpus. New inputs go to build-fuzz/corpus; with --guardar, the
# ones that add coverage are merged back into the kept corpus. Prints the executions of each.
# Usage: scripts/fuzz.sh [SECONDS] [--guardar] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
segundos=60
guardar=0
objetivos=()
for a in "$@"; do
  case "$a" in
    --guardar) guardar=1 ;;
    [0-9]*) segundos=$a ;;
    *) objetivos+=("$a") ;;
  esac
done
# every target, from the one list in CMakeLists.txt
[ "${#objetivos[@]}" -gt 0 ] ||
  read -ra objetivos < <(sed -n 's/^set(ORVALO_OBJETIVOS_FUZZ \(.*\))$/\1/p' CMakeLists.txt)
bash scripts/dependencias.sh clang libclang-rt-14-dev
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVALO_FUZZ=ON \
  -DORVALO_PRUEBAS=OFF -DORVALO_VENTANAS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target $(printf 'fuzz_%s ' "${objetivos[@]}") >/dev/null

ejecuta() {
  local o=$1
  mkdir -p "build-fuzz/corpus/$o" "build-fuzz/fallos/$o"
  cp -n tests/fuzz/corpus/"$o"/* "build-fuzz/corpus/$o/" 2>/dev/null || true
  "./build-fuzz/fuzz_$o" "build-fuzz/corpus/$o" -max_total_time="$segundos" -max_len=4096 \
    -print_final_stats=1 -artifact_prefix="build-fuzz/fallos/$o/" >"build-fuzz/$o.log" 2>&1 || true
  local n
  n=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "build-fuzz/$o.log" | grep -o '[0-9]*$' || echo "?")
  local fallos
  fallos=$(find "build-fuzz/fallos/$o" -type f | wc -l)
  echo "$o: $n ejecuciones, $fallos fallos (build-fuzz/$o.log)"
  if [ "$guardar" = 1 ]; then
    "./build-fuzz/fuzz_$o" -merge=1 "tests/fuzz/corpus/$o" "build-fuzz/corpus/$o" >/dev/null 2>&1 || true
  fi
}

for ((i = 0; i < ${#objetivos[@]}; i += 2)); do
  ejecuta "${objetivos[i]}" &
  [ $((i + 1)) -lt ${#objetivos[@]} ] && ejecuta "${objetivos[i + 1]}" &
  wait
done
