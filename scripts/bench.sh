#!/usr/bin/env bash
# Builds one benchmark in Release (build-bench/) and runs it: scripts/bench.sh NAME. Its figures end
# with one JSON line. Benchmarks are not tests: CI does not run them.
set -euo pipefail
radice=$(cd "$(dirname "$0")/.." && pwd)
nome=${1:?Uso: scripts/bench.sh NOME (risposte, impostazioni)}
. "$radice/scripts/dipendenze.sh"
installa_dipendenze >&2

cartella="$radice/build-bench"
cmake -S "$radice" -B "$cartella" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DTARVEL_BENCH=ON \
  ${TARVEL_CMAKE_ARGS:-} >&2
cmake --build "$cartella" --target "bench_$nome" >&2
exec "$cartella/bench/bench_$nome"
