#!/usr/bin/env bash
# scripts/check-paths.sh on a throwaway checkout: each kind of machine path fails it alone;
# mktemp templates and relative paths pass.
#   check-paths_test.sh CHECK_SCRIPT
set -uo pipefail
check=$1
repo=$(mktemp -d)
trap 'rm -rf "$repo"' EXIT
git -C "$repo" init -q
failures=0

expect() { # STATUS LINE: STATUS is check-paths.sh's exit status with LINE as the only tracked text
  printf '%s\n' "$2" >"$repo/f.sh"
  git -C "$repo" add f.sh
  bash "$check" "$repo" >/dev/null 2>&1
  local got=$?
  if [ "$got" != "$1" ]; then
    echo "FAIL: status $got, expected $1, for: $2"
    failures=$((failures + 1))
  fi
}

# The folder names are put together at run time so that this file passes the check itself.
t=tmp
for folder in home/ana root work/proyecto Users/ana "$t"; do
  expect 1 "cp lista.xlsx /$folder/lista.xlsx"
done
expect 1 "dir=\$(mktemp -d /$t/lista.XXXXXX); cp /$t/lista.xlsx \"\$dir\""
expect 0 "dir=\$(mktemp -d /$t/sorvanta-pg.XXXXXX)"
expect 0 "cp examples/lista.xlsx build/wb/ # ~/.config/sorvanta"
printf 'a\0/%s/x\n' "$t" >"$repo/f.sh"
git -C "$repo" add f.sh
bash "$check" "$repo" >/dev/null 2>&1 || { echo "FAIL: a binary file was searched"; failures=$((failures + 1)); }

rm -rf "$repo/.git"
bash "$check" "$repo" >/dev/null 2>&1
[ $? = 77 ] || { echo "FAIL: outside a git checkout the check does not skip"; failures=$((failures + 1)); }
exit $((failures > 0))
