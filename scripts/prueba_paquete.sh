#!/usr/bin/env bash
# Builds the three Debian packages the Debian way (dpkg-buildpackage in a copy of the source
# tree), checks them with lintian (any E: or W: line fails; I: lines are printed), unpacks them
# into a scratch root and checks what a user gets: the converter without Qt, the hardening,
# the licences, the manual pages, the desktop entry and the metadata, orvalo-lote with each
# method and the window started offscreen with each method, the grids found where
# orvalo-rejillas puts them. Then `cmake --install` of the build folder BUILD.
# Usage: scripts/prueba_paquete.sh BUILD
set -euo pipefail # (a pipe ends in "grep >/dev/null": grep -q would stop the writer early)
fuente=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
raiz=$(mktemp -d)
trap 'rm -rf "$raiz"' EXIT
falla() { echo "FALLO: $*"; exit 1; }

version=$(dpkg-parsechangelog -l "$fuente/debian/changelog" -S Version)
[ "$version" = "$(sed -n 's/^project(Orvalo VERSION \([0-9.]*\).*/\1/p' "$fuente/CMakeLists.txt")" ] ||
  falla "debian/changelog ($version) y project() de CMakeLists.txt no dicen la misma versión"

# a copy of the tree without build folders; the packages are left beside it
copia="$raiz/orvalo-$version"
mkdir "$copia"
tar -C "$fuente" --exclude='./build*' --exclude=./.git --exclude='./obj-*' -cf - . | tar -C "$copia" -xf -
if ! (cd "$copia" && DEB_BUILD_OPTIONS="nocheck parallel=2" dpkg-buildpackage -b -us -uc >"$raiz/construccion.log" 2>&1); then
  tail -n 60 "$raiz/construccion.log"
  falla "dpkg-buildpackage"
fi
cambios=$(ls "$raiz"/orvalo_"$version"_*.changes)
lintian -I "$cambios" | tee "$raiz/lintian.txt" || true
! grep -E '^[EW]: ' "$raiz/lintian.txt" >/dev/null || falla "lintian da errores o avisos"

deb() { ls "$raiz/$1_${version}_"*.deb; }
for p in orvalo orvalo-lote orvalo-rejillas; do
  echo "$(basename "$(deb $p)"):"
  dpkg-deb -f "$(deb $p)" Depends Recommends | sed 's/^/  /'
  dpkg -c "$(deb $p)" | awk '{print "  " $6}' | grep -v '/$'
  dpkg -x "$(deb $p)" "$raiz/raiz"
done
[ "$(dpkg-deb -f "$(deb orvalo-rejillas)" Architecture)" = all ] || falla "orvalo-rejillas no es Architecture: all"
dpkg-deb -f "$(deb orvalo)" Depends | grep "orvalo-rejillas (= $version)" >/dev/null || falla "orvalo no depende de orvalo-rejillas"
dpkg-deb -f "$(deb orvalo)" Depends | grep "qt6-base-abi (= $(qtpaths6 --qt-query QT_VERSION))" >/dev/null ||
  falla "orvalo no depende del Qt con el que se construyó"
dpkg-deb -f "$(deb orvalo-lote)" Recommends | grep orvalo-rejillas >/dev/null || falla "orvalo-lote no recomienda orvalo-rejillas"
usr="$raiz/raiz/usr"

# the converter needs no Qt: neither its package's dependencies nor its binary name one
! dpkg-deb -f "$(deb orvalo-lote)" Depends | grep -i qt || falla "orvalo-lote depende de Qt"
! ldd "$usr/bin/orvalo-lote" | grep -i qt || falla "orvalo-lote enlaza Qt"
# dpkg-buildflags' hardening: every compilation fortified and with the stack protector (the
# code calls no function fortify could check, so the binaries hold no __*_chk: lintian's
# information tag), every binary with RELRO and BIND_NOW
compilaciones=$(grep -E '^cd .* && /usr/bin/c\+\+ .* -c ' "$raiz/construccion.log")
for opcion in -D_FORTIFY_SOURCE=2 -fstack-protector-strong; do
  ! grep -v -e "$opcion" <<<"$compilaciones" || falla "compilación sin $opcion"
done
for b in orvalo orvalo-lote; do
  readelf -lW "$usr/bin/$b" | grep GNU_RELRO >/dev/null || falla "$b sin RELRO"
  readelf -dW "$usr/bin/$b" | grep BIND_NOW >/dev/null || falla "$b sin BIND_NOW"
  readelf -sW --dyn-syms "$usr/bin/$b" | grep '__stack_chk_fail@' >/dev/null || falla "$b sin protector de pila"
done

# no path of the build in what is installed
! grep -rlF "$copia" "$raiz/raiz" || falla "los paquetes guardan la ruta de la compilación"

for p in orvalo orvalo-lote orvalo-rejillas; do
  for licencia in MIT CC-BY-4.0; do
    grep -q "^License: $licencia\$" "$usr/share/doc/$p/copyright" || falla "$p: el copyright no nombra $licencia"
  done
done
for m in orvalo orvalo-lote; do
  [ -f "$usr/share/man/man1/$m.1.gz" ] || falla "falta $m.1.gz"
  mandoc -Tlint -Wwarning "$usr/share/man/man1/$m.1.gz" || falla "mandoc: avisos en $m.1"
done
man -l "$usr/share/man/man1/orvalo-lote.1.gz" 2>/dev/null | grep -E 'orvalo-lote +\[--rejilla\]' >/dev/null || falla "man no muestra la sinopsis de orvalo-lote"
man -l "$usr/share/man/man1/orvalo.1.gz" 2>/dev/null | grep 'orvalo.lote(1)' >/dev/null || falla "orvalo.1 no remite a orvalo-lote(1)"

desktop-file-validate "$usr/share/applications/es.orvalo.Orvalo.desktop"
metainfo="$usr/share/metainfo/es.orvalo.Orvalo.metainfo.xml"
appstreamcli validate --pedantic --no-net "$metainfo" | tee "$raiz/appstream.txt"
# only the note that the id has upper-case letters, as reverse-DNS ids of desktop files do
! grep -E '^[EWIP]: ' "$raiz/appstream.txt" | grep -v 'cid-contains-uppercase-letter' || falla "appstreamcli"
grep -q '<project_license>MIT</project_license>' "$metainfo" || falla "la metainfo no dice MIT"
for lado in 48x48 64x64 128x128 256x256 scalable; do
  ls "$usr/share/icons/hicolor/$lado/apps/es.orvalo.Orvalo."* >/dev/null
done

# orvalo-lote from the unpacked packages, with each method: the grids where orvalo-rejillas put them
lote() { env -u ORVALO_REJILLAS "$usr/bin/orvalo-lote" "$@"; }
[[ "$(lote --version)" =~ ^orvalo-lote\ $version ]] || falla "orvalo-lote --version"
entrada=$'3\r\n40.250048,-3.421368,100'
[[ "$(printf '%s' "$entrada" | lote -)" == *"40.25004800, -3.42136800,   100.000"* ]] || falla "orvalo-lote"
[[ "$(printf '%s' "$entrada" | lote --rejilla -)" == *" 40.24562273, -3.42183929,   151.112;"* ]] ||
  falla "orvalo-lote --rejilla"

# a machine without Qt, as near as one gets here: in a mount namespace of its own every Qt
# library is an empty file; the window cannot start, orvalo-lote converts with each method
printf '%s' "$entrada" >"$raiz/puntos.txt"
if unshare -m true 2>/dev/null; then
  : >"$raiz/vacio"
  unshare -m bash -c 'for f in /usr/lib/*/libQt6*.so*; do mount --bind "$1" "$f"; done
    rc=0; timeout 5 "$2/bin/orvalo" --version >/dev/null 2>&1 || rc=$?
    [ "$rc" = 127 ] || { echo "la ventana arranca sin Qt ($rc)"; exit 1; }
    env -u ORVALO_REJILLAS "$2/bin/orvalo-lote" "$3" && env -u ORVALO_REJILLAS "$2/bin/orvalo-lote" --rejilla "$3"' \
    _ "$raiz/vacio" "$usr" "$raiz/puntos.txt" >"$raiz/sin-qt.txt" || falla "orvalo-lote sin Qt"
  grep ' 40.24562273, -3.42183929,   151.112;' "$raiz/sin-qt.txt" >/dev/null || falla "orvalo-lote --rejilla sin Qt"
  [ "$(grep -o '40.25004800, -3.42136800,   100.000' "$raiz/sin-qt.txt" | wc -l)" = 2 ] || falla "orvalo-lote sin Qt"
  echo "orvalo-lote convierte con cada método sin las bibliotecas de Qt"
else
  echo "sin espacio de montaje propio (unshare -m): sin Qt comprobado solo por Depends y ldd"
fi

# the window, offscreen, with each method remembered: still running after the splash (timeout
# ends it), the grids read from the unpacked orvalo-rejillas (strace lists what it opened), a
# file named on the command line read
for metodo in siete rejilla; do
  mkdir -p "$raiz/ajustes-$metodo/Orvalo"
  printf '[General]\nmetodo=%s\n' "$metodo" >"$raiz/ajustes-$metodo/Orvalo/Orvalo.conf"
  rc=0
  env -u ORVALO_REJILLAS QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$raiz/ajustes-$metodo" \
    strace -f -e trace=openat -o "$raiz/abiertos.txt" timeout 10 "$usr/bin/orvalo" "$raiz/puntos.txt" \
    >"$raiz/ventana.log" 2>&1 || rc=$?
  [ "$rc" = 124 ] || { cat "$raiz/ventana.log"; falla "la ventana ($metodo) terminó sola (estado $rc)"; }
  for f in es_ign_SPED2ETV2.tif es_ign_egm08-rednap.tif; do
    grep -q "\"$usr/bin/../share/orvalo/rejillas/$f\", O_RDONLY) = [0-9]" "$raiz/abiertos.txt" ||
      falla "la ventana ($metodo) no ha leído $f de orvalo-rejillas"
  done
  grep -q "\"$raiz/puntos.txt\", O_RDONLY[^)]*) = [0-9]" "$raiz/abiertos.txt" || falla "la ventana no ha leído FICHERO"
  grep -q "metodo=$metodo" "$raiz/ajustes-$metodo/Orvalo/Orvalo.conf" || falla "la ventana cambió el método elegido"
done

# for people who build from source
cmake --install "$build" --prefix "$raiz/instalado" >/dev/null
for f in bin/orvalo bin/orvalo-lote share/man/man1/orvalo.1 share/man/man1/orvalo-lote.1 \
  share/orvalo/rejillas/es_ign_SPED2ETV2.tif share/orvalo/rejillas/es_ign_egm08-rednap.tif; do
  [ -e "$raiz/instalado/$f" ] || falla "cmake --install no instala $f"
done
echo "paquetes correctos"
