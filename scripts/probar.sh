#!/usr/bin/env bash
# Builds everything and runs every test; then the whole suite again, built with
# AddressSanitizer and UndefinedBehaviorSanitizer (it also replays the fuzz corpus).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/dependencias.sh
export QT_QPA_PLATFORM=offscreen
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"

cmake -S . -B build-sanitizado -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVALO_SANITIZAR=ON
cmake --build build-sanitizado -j"$(nproc)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
  ctest --test-dir build-sanitizado --output-on-failure -j"$(nproc)"
