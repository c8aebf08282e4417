#!/usr/bin/env bash
# sorvanta-lote runs where there is no graphical library and no display: it links no Qt Gui,
# Qt Widgets, OpenGL, X or Wayland library, and it loads a small sheet into the embedded
# catalog with every such library made unloadable and no display in its environment.
# Usage: SinGraficos_test.sh <sorvanta-lote>
set -euo pipefail
program=$(readlink -f "$1")
fail() { echo "FAIL: $*"; exit 1; }
graphical='libQt6(Gui|Widgets|OpenGL|XcbQpa|WaylandClient)|libGL|libEGL|libOpenGL|libGLX|libX11|libxcb|libxkbcommon|libwayland|libfontconfig|libfreetype'

echo "== ldd"
libs=$(ldd "$program")
echo "$libs" | awk '{print $1}'
if echo "$libs" | grep -E "$graphical"; then
  fail "sorvanta-lote links a graphical library"
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# Empty files in place of the graphical libraries: the loader refuses a program that needs one.
mkdir "$tmp/sin-graficos"
for lib in libQt6Gui.so.6 libQt6Widgets.so.6 libGL.so.1 libEGL.so.1 libOpenGL.so.0 libGLX.so.0 libX11.so.6 \
           libxcb.so.1 libxkbcommon.so.0 libfontconfig.so.1 libfreetype.so.6; do
  : >"$tmp/sin-graficos/$lib"
done
home=$tmp/home
mkdir -p "$home"
run() {
  (cd "$home" && exec env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 LC_ALL=C.UTF-8 \
    XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
    LD_LIBRARY_PATH="$tmp/sin-graficos" "$program" "$@")
}

echo "== --help"
run --help >"$tmp/ayuda.txt" 2>"$tmp/ayuda.err" || { cat "$tmp/ayuda.err"; fail "--help failed"; }
grep -q '^Uso: sorvanta-lote ARCHIVO --catalogo ID' "$tmp/ayuda.txt" || { cat "$tmp/ayuda.txt"; fail "no usage"; }

echo "== a sheet into the embedded catalog"
printf 'Codigo,Descripcion\r\nSG-1,Tornillo\r\nSG-2,Tuerca\r\nSG-3,Arandela\r\n' >"$home/articulos.csv"
status=0
run articulos.csv --catalogo GEN --campo A=ARTICULO --campo B=DESCRIPCION >"$tmp/salida.txt" 2>"$tmp/errores.txt" \
  || status=$?
cat "$tmp/salida.txt" "$tmp/errores.txt"
[ $status -eq 0 ] || fail "the run ended with status $status"
grep -q 'artículos: 3; nuevos: 3; existentes: 0; enviados: 3' "$tmp/salida.txt" || fail "not every article was sent"
sent=$(python3 -c 'import sqlite3,sys; print(sqlite3.connect(sys.argv[1]).execute(
  "select count(*) from catarticulos where idarticulo like '"'"'SG-%'"'"'").fetchone()[0])' \
  "$home/.local/share/sorvanta/catalogos.sqlite")
[ "$sent" = 3 ] || fail "the catalog holds $sent of the 3 articles"
echo "PASS"
