#!/usr/bin/env bash
# Builds the Debian packages from an already built tree (sorvanta-lote, the batch program,
# and sorvanta, the window), checks them with the packaging tools, unpacks both into a
# temporary root, runs the batch program with no display and starts the window under a
# private X server on a fresh home, as an operator's first start would be.
# Usage: check-package.sh <cpack> <build-dir> <version>
set -euo pipefail
cpack=$1 build=$2 version=$3
skip=77

missing=()
for tool in "$cpack" dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli Xvfb xdotool xprop python3; do
  command -v "$tool" >/dev/null || missing+=("${tool##*/}")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "SKIPPED: packaging tools not installed: ${missing[*]} (scripts/install-deps.sh installs them)"
  exit $skip
fi
for exe in sorvanta sorvanta-lote; do
  [ -x "$build/src/$exe" ] || { echo "FAIL: $build/src/$exe is not built"; exit 1; }
done

tmp=$(mktemp -d)
xvfb="" program=""
cleanup() {
  local status=$?
  set +e
  for pid in $program $xvfb; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  rm -rf "$tmp"
  exit $status
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

echo "== cpack"
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1 \
  || { cat "$tmp/cpack.log"; fail "cpack"; }
arch=$(dpkg --print-architecture)
debs=()
for package in sorvanta-lote sorvanta; do
  deb=$tmp/out/${package}_${version}_${arch}.deb
  [ -f "$deb" ] || { ls "$tmp/out"; fail "no $(basename "$deb")"; }
  echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"
  echo "  Depends: $(dpkg-deb -f "$deb" Depends)"
  echo "  Recommends: $(dpkg-deb -f "$deb" Recommends)"
  debs+=("$deb")
done
lote=${debs[0]} ventana=${debs[1]}
has() { [[ ", $1," == *", $2"[\ ,]* ]]; }
# Drivers and font are loaded at run time; the Qt libraries must come from dpkg-shlibdeps.
depends=$(dpkg-deb -f "$ventana" Depends)
for p in sorvanta-lote libqt6sql6-sqlite fonts-wine qt6-qpa-plugins qt6-translations-l10n libqt6widgets6 libqt6svg6; do
  has "$depends" "$p" || fail "sorvanta Depends lacks $p"
done
# The batch program installs where there is no graphical library.
depends=$(dpkg-deb -f "$lote" Depends)
for p in libqt6sql6-sqlite libqt6core6; do
  has "$depends" "$p" || fail "sorvanta-lote Depends lacks $p"
done
for p in libqt6widgets6 libqt6gui6 libqt6svg6 qt6-qpa-plugins fonts-wine libgl1 libx11-6 libxcb1 libopengl0 libegl1; do
  ! has "$depends" "$p" || fail "sorvanta-lote depends on $p"
done
for deb in "${debs[@]}"; do
  recommends=$(dpkg-deb -f "$deb" Recommends)
  for p in libqt6sql6-psql libqt6sql6-odbc; do
    has "$recommends" "$p" || fail "$(basename "$deb") Recommends lacks $p"
  done
done

echo "== lintian"
for deb in "${debs[@]}"; do
  status=0
  lintian --fail-on error --display-info "$deb" >"$tmp/lintian.log" 2>&1 || status=$?
  grep -v '^running with root' "$tmp/lintian.log" || true
  [ $status -eq 0 ] || fail "lintian reports errors in $(basename "$deb")"
done
echo "lintian: no errors"

echo "== contents"
root=$tmp/root
# Each program in its own package, the window's files with the window.
lote_files=$(dpkg-deb -c "$lote" | awk '{print $NF}') ventana_files=$(dpkg-deb -c "$ventana" | awk '{print $NF}')
[ "$(grep '^\./usr/bin/.' <<<"$lote_files")" = ./usr/bin/sorvanta-lote ] || fail "sorvanta-lote does not hold just the batch program"
! grep -E 'applications/|metainfo/|icons/' <<<"$lote_files" || fail "sorvanta-lote holds the window's files"
[ "$(grep '^\./usr/bin/.' <<<"$ventana_files")" = ./usr/bin/sorvanta ] || fail "sorvanta does not hold just the window program"
for deb in "${debs[@]}"; do
  dpkg-deb -x "$deb" "$root"
done
for f in usr/share/applications/sorvanta.desktop usr/share/metainfo/sorvanta.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/sorvanta.svg usr/share/sorvanta/examples/articulos.xlsx \
         usr/share/sorvanta/sql/postgres-catalogos.sql usr/share/sorvanta/sql/postgres-paises.sql \
         usr/share/sorvanta/sql/conexiones-ejemplo.ini usr/share/doc/sorvanta/copyright \
         usr/share/doc/sorvanta-lote/copyright; do
  [ -f "$root/$f" ] || fail "packages lack /$f"
done
for exe in "$root"/usr/bin/*; do
  [ -f "$root/usr/share/man/man1/$(basename "$exe").1.gz" ] || fail "$(basename "$exe") has no manual page"
done
desktop-file-validate "$root/usr/share/applications/sorvanta.desktop" || fail "desktop entry"
# The component id follows the desktop entry's name, sorvanta, not a reverse domain name.
appstreamcli validate --no-net --override=cid-desktopapp-is-not-rdns=info \
  "$root/usr/share/metainfo/sorvanta.metainfo.xml" || fail "metainfo"

echo "== the batch program, no display"
env -i HOME="$tmp" PATH=/usr/bin:/bin LANG=C.UTF-8 "$root/usr/bin/sorvanta-lote" --help >"$tmp/ayuda.txt" 2>&1 \
  || { cat "$tmp/ayuda.txt"; fail "sorvanta-lote --help"; }
grep -q '^Uso: sorvanta-lote' "$tmp/ayuda.txt" || { cat "$tmp/ayuda.txt"; fail "sorvanta-lote shows no usage"; }

echo "== first start"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
[ -s "$tmp/display" ] || { cat "$tmp/xvfb.log"; fail "Xvfb did not start"; }
export DISPLAY=:$(head -n1 "$tmp/display")

home=$tmp/home
mkdir -p "$home" && mkdir -m 700 "$tmp/runtime"
# Nothing of the build or of this shell: only what a desktop session would give.
(cd "$home" && exec env -i HOME="$home" PATH=/usr/bin:/bin DISPLAY="$DISPLAY" LANG=C.UTF-8 \
  XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" XDG_CACHE_HOME="$home/.cache" \
  XDG_RUNTIME_DIR="$tmp/runtime" QT_QPA_PLATFORM=xcb "$root/usr/bin/sorvanta") >"$tmp/program.log" 2>&1 &
program=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Sorvanta de Catalogos - ' | head -n1) || true
if [ -z "$window" ]; then
  cat "$tmp/program.log"
  xwininfo -root -tree 2>/dev/null | grep '"' || true
  fail "the main window did not appear within 60 s"
fi
echo "window: $(xdotool getwindowname "$window")"
visible=$(xdotool search --onlyvisible --name '.' 2>/dev/null | wc -l)
[ "$visible" -eq 1 ] || { xwininfo -root -tree | grep '"'; fail "$visible windows shown at start (a message box?)"; }
icon=$(xprop -id "$window" _NET_WM_ICON)
[[ $icon == *"Icon (32 x 32)"* ]] || fail "the window has no icon: $icon"

# The catalogs in the window come from the embedded database made at first start.
catalogs=$(python3 - "$home/.local/share/sorvanta/catalogos.sqlite" <<'PY'
import sqlite3, sys
print(" ".join(r[0] for r in sqlite3.connect(sys.argv[1]).execute("select idcatalogo from catalogo order by 1")))
PY
) || fail "no embedded catalog database"
[ "$catalogs" = "GEN PUR" ] || fail "embedded catalogs: '$catalogs'"
countries=$(python3 -c 'import sqlite3,sys; print(sqlite3.connect(sys.argv[1]).execute("select count(*) from PAIS").fetchone()[0])' \
  "$home/.local/share/sorvanta/systablas.sqlite")
[ "$countries" -gt 200 ] || fail "embedded countries: $countries"
echo "embedded databases: catalogs $catalogs, $countries countries"
echo "PASS"
