#!/usr/bin/env bash
# `tarvel elenco` on list files of 100 MB, one 10 MB line and 20 000 codes: its peak memory beside
# the same program on a one-code list, and its processor time beside `wc -l` reading the same files.
# The list is read as a stream, so memory must not grow with the file.
set -euo pipefail
build=$1
cmake --build "$build" --target bench_listagrande >&2
exec "$build/bench/listagrande/bench_listagrande"
