#!/usr/bin/env bash
# Installs what is missing, builds the program into build/ (Release) and starts it.
# Arguments are passed to the program unchanged.
set -euo pipefail
radice=$(cd "$(dirname "$0")/.." && pwd)
. "$radice/scripts/dipendenze.sh"
installa_dipendenze >&2

cmake -S "$radice" -B "$radice/build" -G Ninja -DCMAKE_BUILD_TYPE=Release >&2
cmake --build "$radice/build" --target tarvel >&2
exec "$radice/build/tarvel" "$@"
