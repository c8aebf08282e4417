#!/usr/bin/env bash
# Fails when a tracked text file names a folder that exists only on one machine: a home
# (Linux or macOS), root's home, a work folder or the temporary folder (an mktemp template,
# name.XXXXXX, is fine: it names no existing file).
#   scripts/check-paths.sh [CHECKOUT]     exit 0 clean, 1 found (listed), 77 not a git checkout
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
if ! git rev-parse --show-toplevel >/dev/null 2>&1; then
  echo "skipped: $(pwd) is not a git checkout" >&2
  exit 77
fi
# Spelled so that this file does not match itself.
pattern='/(?:home|root|work|Users)/|/(?:tmp)/(?![\w.-]*XXX)'
found=0
git grep -n -I -P "$pattern" -- . || found=$?
case $found in
  0) echo "machine paths in tracked files (above): use relative paths, mktemp or \$TMPDIR" >&2; exit 1 ;;
  1) exit 0 ;;
  *) echo "git grep failed" >&2; exit 2 ;;
esac
