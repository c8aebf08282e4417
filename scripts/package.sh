#!/usr/bin/env bash
# Installs what is missing, builds the programs without tests into ./build-package and
# makes the Debian packages there: build-package/sorvanta-lote_<version>_<arch>.deb (the batch
# program, no graphical library) and build-package/sorvanta_<version>_<arch>.deb (the window).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DSORVANTA_BENCH=OFF >/dev/null
cmake --build build-package --parallel "$(nproc)"
cd build-package
cpack -G DEB
