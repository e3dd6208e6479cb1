#!/usr/bin/env bash
# Mutation testing, run on demand (not part of the test command): every mutant listed in
# tests/mutantes.txt is compiled in turn into a copy of this tree and the suite is run against
# it. A mutant the suite fails on is killed; one it passes survives. Prints the kill rate per
# folder and every survivor; a mutant that does not compile, or whose original text is not in
# its file exactly once ("stale"), is reported apart and counts as neither.
#
#   bash scripts/mutantes.sh [ID|FOLDER ...]   # all mutants, or only those named
#
# The copy (and its build/) live in ORVALO_MUTANTES (default build-mutantes): the tree itself is
# never changed, and it may be edited while the mutants run. Each build is incremental, Release,
# -j2, under nice. CMAKE_CXX_COMPILER_LAUNCHER (e.g. ccache), when set, is passed to CMake.
# ORVALO_MUTANTES_ESPERA: the time limit of each test in seconds (default 120).
set -uo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
dir=${ORVALO_MUTANTES:-$raiz/build-mutantes}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
fuente=$dir/fuente
# the build folder inside the copy: compiler commands read as in the tree's own build/, so that a
# compiler cache serves both
obra=$fuente/build
lista=$dir/mutantes.txt # the list as it stood at the start: it may be edited while the run goes on
espera=${ORVALO_MUTANTES_ESPERA:-120}
# the package test is slow, and the layer check reads only the includes, which no mutant
# changes; nothing else needs a display
excluir='^(paquete|capas)$'

# The tree's files into the copy: only those that differ, so that the build stays incremental.
copia() {
  mkdir -p "$fuente"
  (cd "$raiz" && git ls-files -co --exclude-standard) | while IFS= read -r f; do
    [ -f "$raiz/$f" ] || continue
    if ! cmp -s "$raiz/$f" "$fuente/$f"; then
      mkdir -p "$(dirname "$fuente/$f")"
      cp "$raiz/$f" "$fuente/$f"
    fi
  done
}

# perl reads the list: "lista" prints ID, file and description of each mutant (tab-separated);
# "aplica ID" writes mutant ID into the copy (exit 3: stale, 4: unknown).
PERL_LISTA='
use strict; use warnings;
my ($modo, $lista, $base, $quiero) = @ARGV;
open(my $l, "<:raw", $lista) or die "$lista: $!\n";
my @m; my $a;
while (my $x = <$l>) {
  $x =~ s/\r?\n\z//;
  if ($x =~ /^@ (\S+) (\S+)\s*$/) { $a = {id => $1, f => $2, o => [], r => [], d => ""}; push @m, $a; }
  elsif ($a && $x =~ /^- ?(.*)\z/s) { push @{$a->{o}}, $1; }
  elsif ($a && $x =~ /^\+ ?(.*)\z/s) { push @{$a->{r}}, $1; }
  elsif ($a && $x =~ /^= ?(.*)\z/s) { $a->{d} = $1; }
}
if ($modo eq "lista") { print "$_->{id}\t$_->{f}\t$_->{d}\n" for @m; exit 0; }
my ($m) = grep { $_->{id} eq $quiero } @m;
exit 4 unless $m;
my $o = join("\n", @{$m->{o}}); my $r = join("\n", @{$m->{r}});
my $ruta = "$base/$m->{f}";
open(my $e, "<:raw", $ruta) or exit 3;
local $/; my $t = <$e>; close $e;
my $n = 0; my $p = -1;
while (($p = index($t, $o, $p + 1)) >= 0) { $n++; }
exit 3 unless $n == 1 && length $o;
substr($t, index($t, $o), length $o) = $r;
open(my $s, ">:raw", $ruta) or exit 3; print $s $t; close $s or exit 3;
'

respaldo=""
original=""
# Puts the mutated file back; newer than its object, so that the next build compiles it again.
restaura() {
  if [ -n "$original" ]; then
    cp "$respaldo" "$original" && touch "$original"
    original=""
  fi
}
trap 'restaura; exit 130' INT TERM
trap restaura EXIT

construye() {
  nice -n 15 cmake --build "$obra" -j2 >"$dir/compilacion.log" 2>&1
}
prueba() {
  QT_QPA_PLATFORM=offscreen nice -n 15 ctest --test-dir "$obra" -j2 --timeout "$espera" --stop-on-failure \
    -E "$excluir" >"$dir/pruebas.log" 2>&1
}

copia
cp "$raiz/tests/mutantes.txt" "$lista"
lanzador=()
[ -n "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && lanzador=(-DCMAKE_CXX_COMPILER_LAUNCHER="$CMAKE_CXX_COMPILER_LAUNCHER")
if ! cmake -S "$fuente" -B "$obra" -DCMAKE_BUILD_TYPE=Release "${lanzador[@]}" >"$dir/cmake.log" 2>&1; then
  echo "CMake falla: $dir/cmake.log"; exit 1
fi
inicio=$(date +%s)
echo "Sin mutantes: compilando y probando..."
if ! construye; then echo "El árbol sin mutantes no compila: $dir/compilacion.log"; exit 1; fi
if ! prueba; then echo "Las pruebas fallan sin mutantes: $dir/pruebas.log"; exit 1; fi

elegidos=("$@")
elegido() {
  [ ${#elegidos[@]} -eq 0 ] && return 0
  local e
  for e in "${elegidos[@]}"; do [ "$e" = "$1" ] || [ "$e" = "$2" ] && return 0; done
  return 1
}

declare -A muertos vivos
supervivientes=() caducados=() sincompilar=()
respaldo=$dir/respaldo
resultado=$dir/resultado.txt
: >"$resultado"
while IFS=$'\t' read -r id fichero que; do
  carpeta=${fichero%%/*}
  elegido "$id" "$carpeta" || continue
  cp "$fuente/$fichero" "$respaldo"
  original=$fuente/$fichero
  perl -e "$PERL_LISTA" aplica "$lista" "$fuente" "$id"
  case $? in
    0) ;;
    *) caducados+=("$id $fichero: $que"); original=""; echo "$id stale" | tee -a "$resultado"; continue ;;
  esac
  t0=$(date +%s)
  if ! construye; then
    estado="no compila"
    sincompilar+=("$id $fichero: $que")
  elif prueba; then
    estado="SOBREVIVE"
    vivos[$carpeta]=$((${vivos[$carpeta]:-0} + 1))
    supervivientes+=("$id $fichero: $que")
  else
    estado="muerto"
    muertos[$carpeta]=$((${muertos[$carpeta]:-0} + 1))
  fi
  restaura
  echo "$id $estado ($(($(date +%s) - t0)) s) $fichero: $que" | tee -a "$resultado"
done < <(perl -e "$PERL_LISTA" lista "$lista")

{
  echo
  printf '%-16s %8s %8s %8s\n' carpeta muertos vivos '%'
  tm=0 tv=0
  for c in geodesia texto transformacion ficheros rejilla lote ventana editor aplicacion; do
    m=${muertos[$c]:-0} v=${vivos[$c]:-0}
    tm=$((tm + m)) tv=$((tv + v))
    [ $((m + v)) -gt 0 ] && printf '%-16s %8d %8d %8d\n' "$c" "$m" "$v" $((100 * m / (m + v)))
  done
  [ $((tm + tv)) -gt 0 ] && printf '%-16s %8d %8d %8d\n' total "$tm" "$tv" $((100 * tm / (tm + tv)))
  echo
  echo "Supervivientes: ${#supervivientes[@]}"
  for s in "${supervivientes[@]}"; do echo "  $s"; done
  [ ${#sincompilar[@]} -gt 0 ] && { echo "No compilan:"; for s in "${sincompilar[@]}"; do echo "  $s"; done; }
  [ ${#caducados[@]} -gt 0 ] && { echo "Caducados (el texto original no está una sola vez):"; for s in "${caducados[@]}"; do echo "  $s"; done; }
  echo "Tiempo: $(($(date +%s) - inicio)) s"
} | tee -a "$resultado"
