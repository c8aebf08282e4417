#!/usr/bin/env bash
# sorvanta-bench grid: the example workbook's grid as CSV, and a missing file refused.
#   grid_test.sh BENCH_BINARY SOURCE_DIR
set -uo pipefail
bench=$1
src=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0

"$bench" grid "$src/examples/articulos.xlsx" >"$out/grid.csv" 2>"$out/err"
status=$?
if [ $status != 0 ] || ! cmp -s "$out/grid.csv" "$src/tests/bench/articulos-grid.csv"; then
  echo "FAIL: grid of examples/articulos.xlsx (status $status) differs from tests/bench/articulos-grid.csv:"
  diff "$src/tests/bench/articulos-grid.csv" "$out/grid.csv" | head -20
  cat "$out/err"
  failures=$((failures + 1))
fi

"$bench" grid "$out/no-existe.xlsx" >"$out/grid.csv" 2>"$out/err"
status=$?
if [ $status != 1 ] || [ -s "$out/grid.csv" ] || ! grep -q 'No se encuentra el archivo seleccionado' "$out/err"; then
  echo "FAIL: a missing file gave status $status, standard output $(wc -c <"$out/grid.csv") bytes, error:"
  cat "$out/err"
  failures=$((failures + 1))
fi
exit $((failures > 0))
