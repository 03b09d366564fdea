#!/usr/bin/env bash
# Starts the program in a real X server, waits for its window, clicks "Quit"
# and expects the process to end with exit status 0.
set -euo pipefail
source "$(dirname "$0")/xvfb_lib.sh"
trap stop_x_server EXIT
start_x_server
start_program "$1"

# "Quit" stands in the "Controls" frame at (16 + 608, 376 + 16), 65 by 25 pixels.
xdotool mousemove $(at 656 404) click 1
status=0
wait_for_exit 10 || status=$?
echo "exit status $status"
exit "$status"
