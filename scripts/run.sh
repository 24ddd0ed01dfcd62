#!/usr/bin/env bash
# `make run`: the most complete program this tree builds, on the simulated bus. Without a
# display it writes screenshots instead of opening a window.
set -euo pipefail
build=${1:-build}
if [ -x "$build/app/dunmere" ]; then
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: writing screenshots of every page to screenshots/ instead of opening a window."
    echo "(The first search probes all 16 addresses of the simulated bus; that takes some seconds.)"
    QT_QPA_PLATFORM=offscreen "$build/app/dunmere" --simulate --screenshot screenshots
  else
    exec "$build/app/dunmere" --simulate
  fi
elif [ -x "$build/app/dunmere-cli" ]; then
  echo "Searching the simulated bus with dunmere-cli:"
  exec "$build/app/dunmere-cli" --simulate 1:89,2:77,5:45 search
else
  echo "Nothing runnable is built yet; 'make test' runs the tests."
fi
