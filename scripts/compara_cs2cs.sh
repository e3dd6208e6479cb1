#!/usr/bin/env bash
# Times orvalo-lote against PROJ's cs2cs on the same generated points (ED50 geodetic over
# Spain): orvalo-lote writes all six formats, cs2cs only UTM zone 30. Prints both times and
# their ratio, and orvalo-lote --rejilla (the IGN's grid) against the seven parameters, time and
# peak memory. Usage: scripts/compara_cs2cs.sh [POINTS] (default 1000000).
set -euo pipefail
cd "$(dirname "$0")/.."
puntos=${1:-1000000}
bash scripts/dependencias.sh proj-bin gawk bc time
cmake -S . -B build-rendimiento -DCMAKE_BUILD_TYPE=Release -DORVALO_PRUEBAS=OFF -DORVALO_VENTANAS=OFF >/dev/null
cmake --build build-rendimiento -j"$(nproc)" --target orvalo-lote >/dev/null
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# the same points twice: g.mmssffff for orvalo-lote, decimal degrees "lon lat h" for cs2cs
gawk -v n="$puntos" -v orvalo="$tmp/orvalo.txt" -v proj="$tmp/proj.txt" 'BEGIN {
  srand(20261206);
  printf "3\r\n" > orvalo;
  for (i = 0; i < n; i++) {
    lat = 36 + rand() * 7.5; lon = -9 + rand() * 12.3; h = rand() * 3000;
    printf "%.10f %.10f %.3f\n", lon, lat, h > proj;
    printf "%s%s,%s,%.3f", (i ? "\r\n" : ""), ps(lat), ps(lon), h > orvalo;
  }
}
function ps(d,   s, g, m, sec) {
  s = d < 0 ? -1 : 1; d = d < 0 ? -d : d; g = int(d); m = int((d - g) * 60);
  sec = (d - g - m / 60) * 3600;
  return sprintf("%.8f", s * (g + m / 100 + sec / 10000));
}'

segundos() { local t0 t1; t0=$(date +%s.%N); "$@"; t1=$(date +%s.%N); echo "$t1 - $t0" | bc -l; }
t_orvalo=$(segundos ./build-rendimiento/lote/orvalo-lote "$tmp/orvalo.txt" "$tmp/orvalo.out")
t_rejilla=$(segundos ./build-rendimiento/lote/orvalo-lote --rejilla "$tmp/orvalo.txt" "$tmp/rejilla.out")
t_cs2cs=$(segundos sh -c "cs2cs +proj=longlat +ellps=intl +to +proj=utm +zone=30 +ellps=intl < '$tmp/proj.txt' > '$tmp/proj.out'")
printf 'puntos: %d\norvalo-lote (seis formatos): %.3f s\ncs2cs (UTM huso 30): %.3f s\nrazón orvalo-lote / cs2cs: %.2f\n' \
  "$puntos" "$t_orvalo" "$t_cs2cs" "$(echo "$t_orvalo / $t_cs2cs" | bc -l)"
printf 'orvalo-lote --rejilla: %.3f s\nrazón rejilla / siete parámetros: %.2f\n' \
  "$t_rejilla" "$(echo "$t_rejilla / $t_orvalo" | bc -l)"
# peak memory in MiB (maximum resident set size)
pico() { /usr/bin/time -v "$@" 2>&1 >/dev/null | gawk -F': ' '/Maximum resident/ { printf "%.1f", $2 / 1024 }'; }
printf 'memoria máxima: %s MiB (siete parámetros), %s MiB (--rejilla)\n' \
  "$(pico ./build-rendimiento/lote/orvalo-lote "$tmp/orvalo.txt" "$tmp/orvalo.out")" \
  "$(pico ./build-rendimiento/lote/orvalo-lote --rejilla "$tmp/orvalo.txt" "$tmp/rejilla.out")"
