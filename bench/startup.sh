#!/usr/bin/env bash
# Start-up and interaction figures in a real X server (Xvfb): time from launch
# to the window's first paint (median of ten launches), resident memory after
# start-up, and the time of a double-click's handler with its repaint.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target vantrel >/dev/null
source tests/xvfb/xvfb_lib.sh
trap stop_x_server EXIT
start_x_server
log=$(mktemp)
starts=()
handlers=()
for run in $(seq 10); do
  : >"$log"
  launched=$(date +%s%N)
  VANTREL_TIMING=1 QT_QPA_PLATFORM=xcb build/vantrel 2>"$log" &
  APP_PID=$!
  for _ in $(seq 100); do grep -q '^first-paint-ns' "$log" && break; sleep 0.05; done
  painted=$(awk '/^first-paint-ns/ { print $2 }' "$log")
  starts+=($(((painted - launched) / 1000000)))
  rss=$(awk '/^rss/ { print $2, $3 }' "$log")
  WINDOW=$(xdotool search --sync --onlyvisible --name '^Vantrel ' | sed -n 1p)
  eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
  CLIENT_X=$X
  CLIENT_Y=$((Y + HEIGHT - 550))
  # Double-click cards of each hand, naming trump and releasing it in turn.
  for point in "200 300" "26 190" "194 70" "370 190"; do
    xdotool mousemove $(at $point) click --repeat 2 --delay 60 1 sleep 0.2
  done
  xdotool mousemove $(at 656 404) click 1
  wait_for_exit 10
  handlers+=($(awk '/^handler-us/ { print $2 }' "$log"))
done
median() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { print (NR % 2 ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2) }'; }
p99() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { i = int(0.99 * NR); if (i < 1) i = 1; print a[i] }'; }
echo "launch to first paint, ms: ${starts[*]}"
echo "median launch to first paint: $(median "${starts[@]}") ms"
echo "resident memory after start-up (last run): $rss"
echo "handlers with repaint: ${#handlers[@]} timed, median $(median "${handlers[@]}") us, 99th percentile $(p99 "${handlers[@]}") us, most $(printf '%s\n' "${handlers[@]}" | sort -n | tail -1) us"
