#!/usr/bin/env bash
# Runs the benchmark bench/NAME: installs what is missing, builds what it needs in Release in
# build-bench/, then runs bench/NAME/esegui.sh, which prints its figures last as one JSON line.
set -euo pipefail
radice=$(cd "$(dirname "$0")/.." && pwd)
nome=${1:-}
if [ -z "$nome" ] || [ ! -x "$radice/bench/$nome/esegui.sh" ]; then
  echo "Uso: scripts/bench.sh NOME, con NOME fra: $(cd "$radice/bench" && ls -d -- */ | tr -d / | tr '\n' ' ')" >&2
  exit 2
fi
shift
. "$radice/scripts/dipendenze.sh"
installa_dipendenze >&2

cartella="$radice/build-bench"
cmake -S "$radice" -B "$cartella" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DTARVEL_BENCH=ON ${TARVEL_CMAKE_ARGS:-} >&2
cmake --build "$cartella" --target "bench_$nome" >&2
exec "$radice/bench/$nome/esegui.sh" "$cartella" "$@"
