#!/usr/bin/env bash
# F11 (process) and F12 (send) of builds side by side, on the 65,534-row workbook of
# bench/make-catalog.py: the embedded catalog, a private PostgreSQL server on loopback and
# through a 1 ms latency relay. The builds alternate, pass after pass, so that the machine's
# moods fall on all alike. Prints one line per run: pass, build (its place among the
# arguments), step, backend, seconds, and after a send that was undone the undo's seconds.
# Step "send-sin-diario" is the send without the journal of sends, for what the journal costs.
#   [STEPS="process send send-sin-diario"] bench/run-versus.sh [--veces N] [--dir WORKDIR] BUILD_DIR...
set -euo pipefail
export LC_ALL=C.UTF-8 LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen
here=$(cd "$(dirname "$0")" && pwd)
passes=3
work=$here/../build/bench-versus
while [ $# -gt 0 ]; do
  case $1 in
    --veces) passes=$2; shift 2 ;;
    --dir) work=$2; shift 2 ;;
    *) break ;;
  esac
done
builds=("$@")
mkdir -p "$work"
sheet=$work/catalog_65534.xlsx
[ -f "$sheet" ] || /usr/bin/python3 "$here/make-catalog.py" "$work" >/dev/null

# The seconds a run prints as name_s=.
seconds() { sed -n "s/.*$1_s=\([0-9.]*\).*/\1/p" | tail -1; }

echo "pass build step backend seconds"
for pass in $(seq 1 "$passes"); do
  for step in ${STEPS:-process send}; do
    for backend in sqlite postgres relay; do
      case $backend in
        sqlite) opts=() ;;
        postgres) opts=(--postgres) ;;
        relay) opts=(--postgres --latencia 1) ;;
      esac
      for i in "${!builds[@]}"; do
        case $step in
          send-sin-diario) command=(send --sin-diario --sin-piso) ;;
          send) command=(send --sin-piso) ;;
          *) command=("$step") ;;
        esac
        out=$(cd "$work" && "${builds[$i]}/bench/sorvanta-bench" "${command[@]}" "${opts[@]}" "$sheet" 2>/dev/null || true)
        echo "$pass $((i + 1)) $step $backend $(seconds "${command[0]}" <<<"$out") $(seconds undo <<<"$out")"
      done
    done
  done
done
