#!/usr/bin/env bash
# Installs what is missing, builds, prepares the program folder build/program and starts the program.
# Without a display it runs on a virtual one and saves a screenshot of the main menu.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
tomarina_install_deps
tomarina_configure_build
cmake --build build -j2 --target tomarina tomarina-tool program_files
program=build/program/tomarina
# A new program folder's settings register the desktop's opener as the browser; existing ones are kept.
build/bin/tomarina-tool init-settings --dir build/program || true
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$program"
fi
shot="$PWD/build/main-menu.png"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  "$1" & pid=$!
  sleep "${TOMARINA_SHOT_DELAY:-4}"
  import -window root "$2"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
' _ "$program" "$shot"
echo "No display: the program ran on a virtual display. Screenshot of the main menu: $shot"
