#!/usr/bin/env bash
# Runs one benchmark of bench/: scripts/bench.sh NAME [arguments]. Each bench/NAME/esegui.sh builds
# what it needs in the Release build given to it and prints its figures last, as one JSON line.
set -euo pipefail
radice=$(cd "$(dirname "$0")/.." && pwd)
nome=${1:-}
if [ -z "$nome" ] || [ ! -x "$radice/bench/$nome/esegui.sh" ]; then
  echo "uso: scripts/bench.sh NOME   (NOME: $(cd "$radice/bench" && ls -d -- */ | tr -d / | tr '\n' ' '))" >&2
  exit 2
fi
shift
. "$radice/scripts/dipendenze.sh"
installa_dipendenze >&2

cartella="$radice/build-bench"
cmake -S "$radice" -B "$cartella" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVEL_BENCH=ON >&2
exec "$radice/bench/$nome/esegui.sh" "$cartella" "$@"
