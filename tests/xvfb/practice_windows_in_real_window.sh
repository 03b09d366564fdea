#!/usr/bin/env bash
# The practice windows on a real screen with a window manager (openbox), at
# the size given (1280x800 or 1920x1080): each opens whole on the screen, its
# frame included, with its buttons in view; the two never stand on the same
# spot; and the main window's maximise button changes nothing.
set -euo pipefail
source "$(dirname "$0")/xvfb_lib.sh"
program="$1"
shots="$2"
export SCREEN_SIZE="$3"
mkdir -p "$shots"
trap stop_x_server EXIT
start_x_server
start_window_manager
start_program "$program"

frame_of "$WINDOW"
main_size="$((RIGHT - LEFT))x$((BOTTOM - TOP))"
# The maximise button that openbox draws on every normal window is disabled
# for a window of fixed size: a click on it changes nothing.
xdotool mousemove $((RIGHT - 30)) $((TOP + 9)) click 1 sleep 0.5
frame_of "$WINDOW"
[ "$((RIGHT - LEFT))x$((BOTTOM - TOP))" = "$main_size" ] || { echo "FAIL: the main window was maximised"; exit 1; }

xdotool windowactivate --sync "$WINDOW" key F5
analysis=$(xdotool search --sync --onlyvisible --name '^Hand Analysis$' | sed -n 1p)
sleep 0.5
on_screen "Hand Analysis" "$analysis"
analysis_at="$LEFT,$TOP"
xdotool windowactivate --sync "$WINDOW" key F8
record=$(xdotool search --sync --onlyvisible --name '^Play Record$' | sed -n 1p)
sleep 0.5
on_screen "Play Record" "$record"
[ "$LEFT,$TOP" != "$analysis_at" ] || { echo "FAIL: the two practice windows stand on the same spot"; exit 1; }
SHOT="$shots/practice-windows-$SCREEN_SIZE.png"
import -window root "$SHOT"
echo "screenshot $SHOT"

# The analysis window's Close button is in view: a click on it closes the window.
xdotool windowactivate --sync "$analysis"
frame_of "$analysis"
xdotool mousemove $((RIGHT - 45)) $((BOTTOM - 25)) click 1 sleep 0.5
if xdotool search --onlyvisible --name '^Hand Analysis$' >/dev/null; then
  echo "FAIL: the analysis window's Close button is out of reach"
  exit 1
fi
echo "PASS"
