#!/usr/bin/env bash
# The results browser over a results table of 1 000 000 made-up answers: opening with the first rows
# painted, each filter, each heading's sort both ways, the slowest filter-and-sort combination,
# scrolling to the last row and the peak resident memory. Beside them, as the reference of this
# machine's speed at the moment, a bare window with an empty grid. The table is made once and kept
# in the build folder.
set -euo pipefail
build=$1
righe=${2:-1000000}
cartella="$build/bench/risultati/cartella-$righe"
mkdir -p "$cartella"
echo "carico: $(cut -d' ' -f1-3 /proc/loadavg) su $(nproc) processori" >&2
QT_QPA_PLATFORM=offscreen "$build/bench/risultati/bench_risultati" "$cartella" "$righe"
