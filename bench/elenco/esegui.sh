#!/usr/bin/env bash
# The benchmark program serves the pages, runs the program and curl, and prints its figures itself,
# the last line as JSON.
set -euo pipefail
command -v curl >/dev/null || { echo "curl mancante: scripts/dipendenze.sh lo installa" >&2; exit 1; }
exec "$1/bench/elenco/bench_elenco"
