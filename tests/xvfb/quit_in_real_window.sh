#!/usr/bin/env bash
# Starts the program in a real X server, waits for its window, clicks "Quit"
# and expects the process to end with exit status 0.
set -euo pipefail
program="$1"
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done

display=":$((90 + RANDOM % 400))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

unset QT_QPA_PLATFORM
"$program" &
app=$!
window=$(xdotool search --sync --onlyvisible --name '^Vantrel ' | head -n 1)
echo "window $window"
eval "$(xdotool getwindowgeometry --shell "$window")"
# The client area is 960 by 550 below the menu bar; Quit stands in the
# "Controls" frame at (16 + 608, 376 + 16), 65 by 25 pixels.
menu=$((HEIGHT - 550))
xdotool mousemove --window "$window" $((16 + 608 + 32)) $((menu + 376 + 16 + 12)) click 1

for _ in $(seq 100); do
  if ! kill -0 "$app" 2>/dev/null; then
    wait "$app"
    status=$?
    echo "exit status $status"
    exit "$status"
  fi
  sleep 0.1
done
echo "the program did not end after Quit"
kill "$app"
exit 1
