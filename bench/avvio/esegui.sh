#!/usr/bin/env bash
# Start-up to a visible main window, under Xvfb: the program, each time in a fresh folder (first start,
# so it creates its settings and database), against the bare Qt window of FinestraNuda.cpp. One
# unmeasured run each, then five each, alternated; the medians last as one JSON line.
#   bench/avvio/esegui.sh BUILD_FOLDER
set -euo pipefail
costruzione=$(cd "$1" && pwd)
attendi="$costruzione/bench/avvio/attendi_finestra"
finestra_nuda="$costruzione/bench/avvio/finestra_nuda"
temp=$(mktemp -d)

# Xvfb writes its display number once it takes connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$temp/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$temp"' EXIT
for _ in $(seq 200); do
  [ -s "$temp/display" ] && break
  sleep 0.05
done
[ -s "$temp/display" ] || { echo "Xvfb non parte" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$temp/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$temp"
unset WAYLAND_DISPLAY

# "ms kB" of one start of the program in a folder of its own.
tarvel() {
  local cartella
  cartella=$(mktemp -d "$temp/tarvel.XXXX")
  cp "$costruzione/tarvel" "$costruzione/libtarvel_browser.so" "$cartella/"
  "$attendi" "$cartella/tarvel"
}
nuda() { "$attendi" "$finestra_nuda"; }

mediana() { sort -n | sed -n 3p; }

tarvel >/dev/null
nuda >/dev/null
: >"$temp/tarvel"
: >"$temp/nuda"
for giro in 1 2 3 4 5; do
  read -r t_ms t_kb < <(tarvel)
  read -r q_ms q_kb < <(nuda)
  echo "$t_ms $t_kb" >>"$temp/tarvel"
  echo "$q_ms $q_kb" >>"$temp/nuda"
  echo "avvio $giro: tarvel $t_ms ms, $((t_kb / 1024)) MB; finestra Qt $q_ms ms, $((q_kb / 1024)) MB"
done

t_ms=$(cut -d' ' -f1 "$temp/tarvel" | mediana)
q_ms=$(cut -d' ' -f1 "$temp/nuda" | mediana)
t_kb=$(cut -d' ' -f2 "$temp/tarvel" | mediana)
q_kb=$(cut -d' ' -f2 "$temp/nuda" | mediana)
awk -v tm="$t_ms" -v qm="$q_ms" -v tk="$t_kb" -v qk="$q_kb" 'BEGIN {
  printf "{\"tarvel_ms\":%d,\"qt_ms\":%d,\"tarvel_mb\":%.1f,\"qt_mb\":%.1f}\n", tm, qm, tk / 1024, qk / 1024 }'
