#!/usr/bin/env bash
# Installs what is missing, builds, and starts Sorvanta on the embedded database.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting under a virtual X server (xvfb-run)." >&2
  exec xvfb-run -a -s "-screen 0 1280x800x24" ./build/src/sorvanta "$@"
fi
exec ./build/src/sorvanta "$@"
