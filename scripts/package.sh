#!/usr/bin/env bash
# Installs what is missing, builds Morvane for release and makes its Debian package,
# build-package/morvane_VERSION_ARCH.deb. Install it with
#   apt-get install ./build-package/morvane_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DMORVANE_BUILD_TESTS=OFF -DMORVANE_BUILD_BENCH=OFF
cmake --build build-package -j"$(nproc)"
# A package of an older version would match the install command's pattern too.
rm -f build-package/morvane_*.deb
(cd build-package && cpack -G DEB)
ls build-package/morvane_*.deb
