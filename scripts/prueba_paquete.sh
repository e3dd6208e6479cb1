#!/usr/bin/env bash
# Builds the Debian package from the build folder BUILD, unpacks it into a scratch root and
# checks what a user gets: the validators on the desktop entry and the AppStream metadata,
# orvalo-lote --version, a conversion with each method (the grids found where the package
# put them) and the manual page. Usage: scripts/prueba_paquete.sh BUILD
set -euo pipefail
build=$(cd "$1" && pwd)
raiz=$(mktemp -d)
trap 'rm -rf "$raiz"' EXIT
(cd "$build" && cpack -G DEB -B "$raiz/paquete" >/dev/null)
deb=$(ls "$raiz"/paquete/orvalo_*.deb)
dpkg -x "$deb" "$raiz/raiz"
echo "contenido de $(basename "$deb"):"
dpkg -c "$deb" | awk '{print "  " $6}' | grep -v '/$'
usr="$raiz/raiz/usr"

desktop-file-validate "$usr/share/applications/es.orvalo.Orvalo.desktop"
appstreamcli validate --no-net "$usr/share/metainfo/es.orvalo.Orvalo.metainfo.xml"
for lado in 48x48 64x64 128x128 256x256 scalable; do
  ls "$usr/share/icons/hicolor/$lado/apps/es.orvalo.Orvalo."* >/dev/null
done

version=$(env -u ORVALO_REJILLAS "$usr/bin/orvalo-lote" --version)
echo "$version"
[[ "$version" =~ ^orvalo-lote\ [0-9]+\.[0-9]+ ]]
entrada=$'3\r\n40.250048,-3.421368,100'
salida=$(printf '%s' "$entrada" | env -u ORVALO_REJILLAS "$usr/bin/orvalo-lote" -)
[[ "$salida" == *"40.25004800, -3.42136800,   100.000"* ]]
oficial=$(printf '%s' "$entrada" | env -u ORVALO_REJILLAS "$usr/bin/orvalo-lote" --rejilla -)
[[ "$oficial" == *" 40.24562273, -3.42183929,   151.112;"* ]]
man -l "$usr/share/man/man1/orvalo-lote.1" 2>/dev/null | grep -q 'orvalo-lote \[--rejilla\]'
echo "paquete correcto"
