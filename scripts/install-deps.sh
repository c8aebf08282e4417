#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the program need.
# Does nothing when all are present. Runs as root, or through sudo.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc
  qt6-qpa-plugins libgl-dev qt6-translations-l10n
  libzip-dev libexpat1-dev libsqlite3-dev unixodbc-dev
  libsqliteodbc odbc-postgresql libpq-dev
  postgresql
  xvfb xauth xdotool x11-utils fonts-wine fonts-dejavu-core
  python3 python3-xlwt python3-xlsxwriter
  iso-codes  # the country names compiled in (build time only)
  dpkg-dev file lintian desktop-file-utils appstream clang-format
  locales
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get -o DPkg::Lock::Timeout=600 update -q
$SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}"
