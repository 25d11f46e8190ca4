#!/usr/bin/env bash
# Builds the benchmark NAME (bench/) in Release in build-bench/ and runs it; its figures come last,
# as one JSON line. Benchmarks are not tests: compare the ratios of one run, the machine is shared.
set -euo pipefail
radice=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -ne 1 ]; then
  echo "Uso: scripts/bench.sh NOME   (nomi: $(sed -n 's/^add_executable(bench_\([a-z]*\).*/\1/p' "$radice/bench/CMakeLists.txt" | tr '\n' ' '))" >&2
  exit 2
fi
. "$radice/scripts/dipendenze.sh"
installa_dipendenze >&2

cartella="$radice/build-bench"
cmake -S "$radice" -B "$cartella" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVEL_BENCH=ON -DBUILD_TESTING=OFF >&2
cmake --build "$cartella" --target "bench_$1" >&2
exec "$cartella/bench/bench_$1"
