#!/usr/bin/env bash
# Installs with apt-get the Debian packages the build and the tests need, when missing.
set -euo pipefail
paquetes=(cmake make g++ qt6-base-dev qt6-base-private-dev libgtest-dev libproj-dev locales dpkg-dev file desktop-file-utils appstream man-db
  debhelper lintian mandoc strace qt6-translations-l10n poppler-utils gdal-bin libc-l10n "$@")
faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done
if [ "${#faltan[@]}" -gt 0 ]; then
  echo "Instalando: ${faltan[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${faltan[@]}"
fi
# orvalo-lote's system errors in Spanish (strerror): the locale its tests use when present
if ! locale -a 2>/dev/null | grep -qix 'es_ES.utf8'; then
  localedef -i es_ES -f UTF-8 es_ES.UTF-8 2>/dev/null || echo "localedef es_ES.UTF-8 failed" >&2
fi
