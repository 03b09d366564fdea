#!/usr/bin/env bash
# Installs what is missing, builds Vantrel and starts it. Without a display it
# writes a PNG snapshot of the window instead and prints its path.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target vantrel

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: writing a snapshot of the window instead of opening it."
  mkdir -p snapshots
  VANTREL_SNAPSHOT="$PWD/snapshots/vantrel.png" QT_QPA_PLATFORM=offscreen build/vantrel
else
  exec build/vantrel
fi
