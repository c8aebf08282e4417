#!/usr/bin/env bash
# Fails when clang-format (with the tree's .clang-format) would change a tracked C++ file.
# Lists those files; `clang-format -i FILE` mends one.
#   scripts/check-format.sh [CHECKOUT]     exit 0 clean, 1 found, 77 without clang-format or git
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
if ! command -v clang-format >/dev/null || ! git rev-parse --show-toplevel >/dev/null 2>&1; then
  echo "skipped: clang-format or a git checkout is missing" >&2
  exit 77
fi
found=0
while IFS= read -r -d '' file; do
  if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
    echo "$file"
    found=1
  fi
done < <(git ls-files -z -- '*.cpp' '*.h')
if [ "$found" -ne 0 ]; then
  echo "these files are not formatted (clang-format -i FILE)" >&2
fi
exit "$found"
