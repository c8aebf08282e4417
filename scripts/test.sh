#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (a private PostgreSQL is
# started and stopped by the tests that need it).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build
ctest --output-on-failure --timeout 900 "$@"
