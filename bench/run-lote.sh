#!/usr/bin/env bash
# Whole-run benchmark of the batch program (load, F11, F12) on the 65,534-row workbook of
# bench/make-catalog.py: the embedded catalog, an empty PostgreSQL catalog, the same catalog a
# second time (updates), and an empty one through a 1 ms latency relay.
#   bench/run-lote.sh [--veces N] [--ocupada] [WORKDIR] [BUILD_DIR]
# --ocupada keeps one core busy with another process meanwhile. Prints one line per pass.
set -euo pipefail
export LC_ALL=C.UTF-8 LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen

veces=1
ocupada=
while [ $# -gt 0 ]; do
  case $1 in
    --veces) veces=$2; shift 2 ;;
    --ocupada) ocupada=1; shift ;;
    *) break ;;
  esac
done
here=$(cd "$(dirname "$0")" && pwd)
work=${1:-$here/../build/bench-lote}
build=${2:-$here/../build}
lote=$build/src/lote/sorvanta-lote
bench=$build/bench/sorvanta-bench
mkdir -p "$work"
sheet=$work/catalog_65534.xlsx
[ -f "$sheet" ] || /usr/bin/python3 "$here/make-catalog.py" "$work" >/dev/null

args=(--catalogo GEN --campo A=ARTICULO --campo B=DESCRIPCION --campo C=NCM --campo D=KILOS_UNITARIO
      --campo F=PAIS_ORIGEN --campo G=UNIDAD --campo N=OBSERVACION1)
for pais in China=CHN Alemania=DEU Brasil=BRA "Estados Unidos=USA" Japón=JPN México=MEX Italia=ITA \
            "Corea del Sur=KOR" Taiwán=TWN India=IND España=ESP Francia=FRA Perú=PER Vietnam=VNM Turquía=TUR; do
  args+=(--pais "$pais")
done

info=$work/pg.ini
bash "$here/../scripts/pg-test-server.sh" start "$info" >/dev/null
relay_pid=
busy_pid=
cleanup() {
  [ -n "$relay_pid" ] && kill "$relay_pid" 2>/dev/null || true
  [ -n "$busy_pid" ] && kill "$busy_pid" 2>/dev/null || true
  bash "$here/../scripts/pg-test-server.sh" stop "$info" >/dev/null || true
}
trap cleanup EXIT
port=$(sed -n 's/^port=//p' "$info")
user=$(sed -n 's/^user=//p' "$info")
psql_() { psql -X -q -h 127.0.0.1 -p "$port" -U "$user" "$@" >/dev/null; }

coproc RELAY { "$bench" relay "$port" 1; }
relay_pid=$RELAY_PID
read -r relay_port <&"${RELAY[0]}"

if [ -n "$ocupada" ]; then
  (while :; do :; done) &
  busy_pid=$!
fi

# A home whose catalog is database $1 reached at port $2; no arguments: the embedded catalog.
home() {
  local dir=$work/home-$1
  rm -rf "$dir"
  mkdir -p "$dir"
  if [ -n "${2:-}" ]; then
    psql_ -d postgres -c "drop database if exists $1"
    psql_ -d postgres -c "create database $1"
    psql_ -d "$1" -f "$here/../sql/postgres-catalogos.sql"
    psql_ -d "$1" -f "$here/../sql/postgres-paises.sql"
    mkdir -p "$dir/config/sorvanta"
    for entity in CATALOGOS SYSTABLAS; do
      printf '[%s]\nDriver=QPSQL\nServidor=127.0.0.1\nPuerto=%s\nUsuario=%s\nBaseDatos=%s\n\n' \
        "$entity" "$2" "$user" "$1" >>"$dir/config/sorvanta/conexiones.ini"
    done
  fi
  echo "$dir"
}

# Seconds of one whole run in home $1.
run() {
  local dir=$1 start end
  start=$(date +%s.%N)
  HOME=$dir XDG_CONFIG_HOME=$dir/config XDG_DATA_HOME=$dir/data "$lote" "$sheet" "${args[@]}" \
    >"$dir/out.txt" 2>"$dir/err.txt" || { echo "run failed in $dir:" >&2; tail -3 "$dir/err.txt" >&2; exit 1; }
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "pass sqlite pg_empty pg_again pg_relay_empty relay/direct pg_empty/sqlite"
for pass in $(seq 1 "$veces"); do
  s=$(run "$(home sqlite)")
  d=$(home pgdirect "$port")
  e=$(run "$d")
  a=$(run "$d")
  r=$(run "$(home pgrelay "$relay_port")")
  echo "$pass $s $e $a $r $(ratio "$r" "$e") $(ratio "$e" "$s")"
done
