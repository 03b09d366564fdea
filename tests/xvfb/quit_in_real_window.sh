#!/usr/bin/env bash
# Starts the program in a real X server on a 1920x1080 screen, with Qt options
# on its command line that it must ignore. The window stands at the design
# place; Ctrl+E, pressed in a text box that has the focus, ends the program
# with exit status 0.
set -euo pipefail
source "$(dirname "$0")/xvfb_lib.sh"
trap stop_x_server EXIT
SCREEN_SIZE=1920x1080 start_x_server
sheet=$(mktemp --suffix=.qss)
echo 'QWidget { background: #ff0000; }' >"$sheet"
start_program "$1" -reverse -stylesheet "$sheet" -style windows
[ "$WINDOW_X,$WINDOW_Y" = "356,145" ] || { echo "FAIL: the window is at $WINDOW_X,$WINDOW_Y, not the design place"; exit 1; }
mkdir -p "${2:-/tmp}"
SHOT="${2:-/tmp}/quit-1920x1080.png"
import -window root "$SHOT"
rm -f "$sheet"
# Neither mirrored (the white information list stands on the right) nor restyled (no red).
expect "white share where the list stands" "$(share_in 730 100 150 200 "$WHITE")" 's > 0.8'
expect "pure red share" "$(share_in 0 0 960 550 'r > 0.9 && g < 0.1 && b < 0.1')" 's < 0.01'

# Unmirrored, the "Run to Meld" box stands at (16 + 104, 376 + 88) of the client area.
xdotool mousemove $(at 130 472) click 1 sleep 0.3 key ctrl+e
status=0
wait_for_exit 10 || status=$?
echo "exit status $status"
exit "$status"
