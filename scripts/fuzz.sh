#!/usr/bin/env bash
# Builds one libFuzzer target with clang and the sanitizers (build-fuzz/, apart from the normal build)
# and runs it for SECONDS: scripts/fuzz.sh NAME SECONDS [libFuzzer options...].
# NAME is vat, export, transito, impostazioni or elenco. It starts from the seeds in fuzz/corpus/NAME
# and keeps what it finds in build-fuzz/corpus/NAME, so a later run goes on from there; an input that
# breaks the reader is saved as build-fuzz/crash-NAME-... and the script fails.
set -euo pipefail
radice=$(cd "$(dirname "$0")/.." && pwd)
nome=${1:?Uso: scripts/fuzz.sh NOME SECONDI (vat, export, transito, impostazioni, elenco)}
secondi=${2:?Uso: scripts/fuzz.sh NOME SECONDI}
shift 2
. "$radice/scripts/dipendenze.sh"
installa_dipendenze >&2

cartella="$radice/build-fuzz"
# shellcheck disable=SC2086
CXX=clang++ CC=clang cmake -S "$radice" -B "$cartella" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBUILD_TESTING=OFF -DTARVEL_FUZZ=ON ${TARVEL_CMAKE_ARGS:-} >&2
cmake --build "$cartella" --target "fuzz_$nome" >&2

mkdir -p "$cartella/corpus/$nome"
export ASAN_OPTIONS=detect_leaks=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
exec "$cartella/fuzz/fuzz_$nome" -max_total_time="$secondi" -max_len=40000 -print_final_stats=1 \
  -dict="$radice/fuzz/$nome.dict" -artifact_prefix="$cartella/crash-$nome-" "$@" \
  "$cartella/corpus/$nome" "$radice/fuzz/corpus/$nome"
