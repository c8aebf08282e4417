#!/usr/bin/env bash
# F11 (process) and F12 (send) of two builds side by side, on the 65,534-row workbook of
# bench/make-catalog.py: the embedded catalog, a private PostgreSQL server on loopback and
# through a 1 ms latency relay. The builds alternate, pass after pass, so that the machine's
# moods fall on both alike.
#   bench/run-versus.sh OLD_BUILD NEW_BUILD [PASSES] [WORKDIR]
set -euo pipefail
export LC_ALL=C.UTF-8 LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen
here=$(cd "$(dirname "$0")" && pwd)
old=$1/bench/sorvanta-bench
new=$2/bench/sorvanta-bench
passes=${3:-3}
work=${4:-$here/../build/bench-versus}
mkdir -p "$work"
sheet=$work/catalog_65534.xlsx
[ -f "$sheet" ] || /usr/bin/python3 "$here/make-catalog.py" "$work" >/dev/null

# The seconds a run prints as name_s=.
seconds() { sed -n "s/.*$1_s=\([0-9.]*\).*/\1/p" | tail -1; }

echo "pass build step backend seconds"
for pass in $(seq 1 "$passes"); do
  for step in process send; do
    for backend in sqlite postgres relay; do
      case $backend in
        sqlite) opts=() ;;
        postgres) opts=(--postgres) ;;
        relay) opts=(--postgres --latencia 1) ;;
      esac
      for build in old new; do
        bin=$old
        [ "$build" = new ] && bin=$new
        s=$(cd "$work" && "$bin" "$step" "${opts[@]}" "$sheet" 2>/dev/null | seconds "$step")
        echo "$pass $build $step $backend $s"
      done
    done
  done
done
