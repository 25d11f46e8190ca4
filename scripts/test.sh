#!/usr/bin/env bash
# Installs what is missing, builds with the tests and runs them all headless with ctest.
# TARVEL_BUILD_DIR (default build) and TARVEL_CMAKE_ARGS choose another build, as CI does.
set -euo pipefail
radice=$(cd "$(dirname "$0")/.." && pwd)
. "$radice/scripts/dipendenze.sh"
installa_dipendenze

cartella="$radice/${TARVEL_BUILD_DIR:-build}"
# shellcheck disable=SC2086
cmake -S "$radice" -B "$cartella" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON ${TARVEL_CMAKE_ARGS:-}
cmake --build "$cartella"

export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$cartella" --output-on-failure --timeout 300 -j "$(nproc)"
