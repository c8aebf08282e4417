#!/usr/bin/env bash
# Load benchmark: times sorvanta-bench load on the 65,534-row catalog of bench/make-catalog.py
# in xlsx, ods, xls and csv
# and sets it beside xlsx2csv on the same xlsx file (wall clock and processor time).
#   bench/run-load.sh [WORKDIR] [BENCH_BINARY]
# Needs, for measuring only: libreoffice-calc-nogui (format conversion) and xlsx2csv.
set -euo pipefail
export LC_ALL=C QT_QPA_PLATFORM=offscreen

here=$(cd "$(dirname "$0")" && pwd)
work=${1:-$here/../build/bench-load}
bench=${2:-$here/../build/bench/sorvanta-bench}
base=catalog_65534
mkdir -p "$work"

[ -f "$work/$base.xlsx" ] || /usr/bin/python3 "$here/make-catalog.py" "$work" >/dev/null
for fmt in ods xls; do
  [ -f "$work/$base.$fmt" ] || soffice --headless --convert-to "$fmt" --outdir "$work" "$work/$base.xlsx" >/dev/null
done
# Comma-separated, double quotes, UTF-8.
[ -f "$work/$base.csv" ] || soffice --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1' \
  --outdir "$work" "$work/$base.xlsx" >/dev/null

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }

/usr/bin/time -f '%e %U %S' -o "$work/xlsx2csv.time" xlsx2csv "$work/$base.xlsx" >/dev/null
read -r ref_wall ref_user ref_sys <"$work/xlsx2csv.time"
ref_cpu=$(awk -v u="$ref_user" -v s="$ref_sys" 'BEGIN { printf "%.3f", u + s }')

declare -A wall cpu grid rss
for fmt in xlsx ods xls csv; do
  out=$("$bench" load "$work/$base.$fmt" 2>"$work/$fmt.stderr") || true
  last=$(tail -n 1 <<<"$out")
  wall[$fmt]=$(sed -n 's/.*load_s=\([0-9.]*\).*/\1/p' <<<"$last")
  grid[$fmt]=$(sed -n 's/.*rows=\([0-9]*\) cols=\([0-9]*\).*/\1x\2/p' <<<"$last")
  rss[$fmt]=$(sed -n 's/.*rss_growth_mib=\([0-9.-]*\).*/\1/p' <<<"$last")
  cpu[$fmt]=$(sed -n 's/.*cpu_s=\([0-9.]*\).*/\1/p' <<<"$out")
done

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-8s %7s %7s %9s %8s %8s %9s %10s\n' format wall_s cpu_s wall/x2c cpu/x2c wall/xlsx grid rss_growth_mib
printf '%-8s %7s %7s %9s %8s %8s %9s %10s\n' xlsx2csv "$ref_wall" "$ref_cpu" 1.00 1.00 - - -
for fmt in xlsx ods xls csv; do
  w=${wall[$fmt]:-0}
  printf '%-8s %7s %7s %9s %8s %8s %9s %10s\n' "$fmt" "$w" "${cpu[$fmt]:--}" "$(ratio "$w" "$ref_wall")" \
    "$(ratio "${cpu[$fmt]:-0}" "$ref_cpu")" "$(ratio "$w" "${wall[xlsx]:-0}")" "${grid[$fmt]:-failed}" "${rss[$fmt]:--}"
done
