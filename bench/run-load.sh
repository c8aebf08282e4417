#!/usr/bin/env bash
# Load benchmark: times sorvanta-bench load on the 65,534-row catalog in xlsx, ods, xls and csv
# and sets it beside xlsx2csv on the same xlsx file.
#   bench/run-load.sh [WORKDIR] [BENCH_BINARY]
# Needs, for measuring only: libreoffice-calc-nogui (format conversion) and xlsx2csv.
set -euo pipefail
export LC_ALL=C QT_QPA_PLATFORM=offscreen

here=$(cd "$(dirname "$0")" && pwd)
work=${1:-/tmp/sorvanta-bench-load}
bench=${2:-$here/../build-loading/bench/sorvanta-bench}
base=catalog_65534
mkdir -p "$work"

[ -f "$work/$base.xlsx" ] || /usr/bin/python3 /work/shared/bench/make_workbooks.py "$work" >/dev/null
for fmt in ods xls; do
  [ -f "$work/$base.$fmt" ] || soffice --headless --convert-to "$fmt" --outdir "$work" "$work/$base.xlsx" >/dev/null
done
# Comma-separated, double quotes, UTF-8.
[ -f "$work/$base.csv" ] || soffice --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1' \
  --outdir "$work" "$work/$base.xlsx" >/dev/null

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

t0=$(now); xlsx2csv "$work/$base.xlsx" >/dev/null; t1=$(now)
ref=$(elapsed "$t0" "$t1")

declare -A load rows rss
for fmt in xlsx ods xls csv; do
  line=$("$bench" load "$work/$base.$fmt" 2>"$work/$fmt.stderr" | tail -n 1) || true
  load[$fmt]=$(sed -n 's/.*load_s=\([0-9.]*\).*/\1/p' <<<"$line")
  rows[$fmt]=$(sed -n 's/.*rows=\([0-9]*\) cols=\([0-9]*\).*/\1x\2/p' <<<"$line")
  rss[$fmt]=$(sed -n 's/.*rss_growth_mib=\([0-9.-]*\).*/\1/p' <<<"$line")
done

printf '%-6s %9s %12s %13s %10s %14s\n' format load_s vs_xlsx2csv vs_xlsx_load grid rss_growth_mib
printf '%-6s %9s %12s %13s %10s %14s\n' xlsx2csv "$ref" 1.00 - - -
for fmt in xlsx ods xls csv; do
  l=${load[$fmt]:-0}
  printf '%-6s %9s %12s %13s %10s %14s\n' "$fmt" "$l" \
    "$(awk -v a="$l" -v b="$ref" 'BEGIN { printf "%.2f", a / b }')" \
    "$(awk -v a="$l" -v b="${load[xlsx]:-1}" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')" \
    "${rows[$fmt]:-failed}" "${rss[$fmt]:--}"
done
