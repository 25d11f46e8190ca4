#!/usr/bin/env bash
# CSV export of the results table beside `sqlite3 -csv` on the same table and order, at 100 000 and
# 1 000 000 rows. Times are processor seconds (user + system), the best of three runs taken in
# turns: on a shared machine the wall clock mostly measures the other users. Memory is the
# exporting process's peak resident size, which must not grow with the rows.
set -euo pipefail
build=$1
cmake --build "$build" --target bench_esporta >&2
programma="$build/bench/esporta/bench_esporta"
lavoro=$(mktemp -d)
trap 'rm -rf "$lavoro"' EXIT
TIMEFORMAT='%U %S'

# Processor seconds the command takes; its standard output goes to $lavoro/uscita.
secondi() { { time "$@" >"$lavoro/uscita"; } 2>&1 | awk '{ print $1 + $2 }'; }
minimo() { awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a < b) ? a : b }'; }

for righe in 100000 1000000; do
  db="$lavoro/tarvel-$righe.db"
  "$programma" riempi "$db" "$righe"
  tarvel_s=; sqlite3_s=
  for giro in 1 2 3; do
    sqlite3_s=$(minimo "$(secondi sqlite3 -csv "$db" "SELECT * FROM PartiteIVA ORDER BY Nazione, VAT")" "$sqlite3_s")
    tarvel_s=$(minimo "$(secondi "$programma" esporta "$db" "$lavoro/EXPPartiteIVA.csv")" "$tarvel_s")
    memoria_mb=$(cat "$lavoro/uscita")
  done
  echo "$righe righe: tarvel $tarvel_s s, sqlite3 $sqlite3_s s," \
       "rapporto $(awk -v a="$tarvel_s" -v b="$sqlite3_s" 'BEGIN { printf "%.2f", a / b }')," \
       "memoria massima $memoria_mb MB"
  rm -f "$db"
done
echo "{\"righe\":$righe,\"tarvel_s\":$tarvel_s,\"sqlite3_s\":$sqlite3_s,\"memoria_mb\":$memoria_mb}"
