#!/usr/bin/env bash
# The one list of Debian packages the project needs to build, test, run and measure (openbox: the
# window manager of the placement tests; libx11-dev: the benchmarks' window watcher; curl: the
# network floor of the list benchmark; time: the benchmarks' peak memory of a child program).
# Sourced by run.sh and test.sh: installs only what is missing, so a second run is quick.

PACCHETTI=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-webengine-dev libgl-dev
  qt6-translations-l10n
  fonts-liberation2 fonts-dejavu-core
  iso-flags-png-320x240
  xvfb xauth openbox poppler-utils
  libx11-dev
  sqlite3 zlib1g-dev curl time
  clang libclang-rt-14-dev
)

installa_dipendenze() {
  local mancanti=() p
  for p in "${PACCHETTI[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || mancanti+=("$p")
  done
  [ ${#mancanti[@]} -eq 0 ] && return 0
  echo "Installazione dei pacchetti mancanti: ${mancanti[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${mancanti[@]}"
}
