# Shared by the real-window tests: starts an X server and the program, and
# finds the program's window and its client area.

start_x_server() {
  for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
  done
  local number
  for number in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] || break
  done
  Xvfb ":$number" -screen 0 "${SCREEN_SIZE:-1280x800}x24" -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$number"
  for _ in $(seq 100); do xdotool getmouselocation >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "the X server did not start"
  exit 1
}

# start_program PROGRAM [ARGUMENT...]: starts it and sets APP_PID, WINDOW,
# WINDOW_X, WINDOW_Y, WINDOW_RIGHT, WINDOW_BOTTOM, and CLIENT_X, CLIENT_Y, the
# screen position of the client area below the menu bar.
start_program() {
  unset QT_QPA_PLATFORM
  "$@" &
  APP_PID=$!
  WINDOW=$(xdotool search --sync --onlyvisible --name '^Vantrel ' | sed -n 1p)
  sleep 0.5  # the window places itself once it is shown
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
  WINDOW_X=$X
  WINDOW_Y=$Y
  WINDOW_RIGHT=$((X + WIDTH))
  WINDOW_BOTTOM=$((Y + HEIGHT))
  CLIENT_X=$X
  CLIENT_Y=$((Y + HEIGHT - 550))
  echo "window $WINDOW at $X,$Y, ${WIDTH}x$HEIGHT"
}

# start_window_manager: openbox, as a user's desktop has one; sets WM_PID.
start_window_manager() {
  command -v openbox >/dev/null || { echo "missing openbox"; exit 1; }
  openbox >/dev/null 2>&1 &
  WM_PID=$!
  sleep 1
}

# use_fresh_settings GAME_SETTINGS: the program's settings and history in a
# folder of the test's own (CONFIG, removed by stop_x_server), its game
# settings given as ini lines.
use_fresh_settings() {
  CONFIG=$(mktemp -d)
  export XDG_CONFIG_HOME="$CONFIG"
  export XDG_DATA_HOME="$CONFIG/data"
  mkdir -p "$CONFIG/Vantrel"
  printf '[game]\n%s\n' "$1" >"$CONFIG/Vantrel/Vantrel.conf"
}

stop_x_server() {
  [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null || true
  [ -n "${CONFIG:-}" ] && rm -rf "$CONFIG" || true
  [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}

# Client-area coordinates to the screen.
at() { echo "$((CLIENT_X + $1)) $((CLIENT_Y + $2))"; }

# share_in X Y W H EXPRESSION: the share of the pixels of screenshot $SHOT, in
# a client-area rectangle, for which a convert -fx expression holds.
share_in() {
  convert "$SHOT" -crop "$3x$4+$((CLIENT_X + $1))+$((CLIENT_Y + $2))" +repage -fx "$5" -format '%[fx:mean]' info:
}
BLUE='b > 0.8 && r < 0.3 && g < 0.3'
WHITE='r > 0.95 && g > 0.95 && b > 0.95'
RED='r > 0.6 && g < 0.3 && b < 0.3'
SELECTION='b > 0.6 && r < 0.35 && g > 0.4'

# expect WHAT SHARE CONDITION: ends the test as failed unless the awk
# condition holds for the share s.
expect() {
  echo "$1: $2"
  awk -v s="$2" "BEGIN { exit !($3) }" || { echo "FAIL: $1"; exit 1; }
}

# wait_for_exit SECONDS: waits for the program to end and returns its status.
wait_for_exit() {
  local tenths=$(($1 * 10))
  for _ in $(seq "$tenths"); do
    if ! kill -0 "$APP_PID" 2>/dev/null; then
      local status=0
      wait "$APP_PID" || status=$?
      APP_PID=""
      return "$status"
    fi
    sleep 0.1
  done
  echo "the program did not end"
  return 124
}

# frame_of WINDOW: sets LEFT TOP RIGHT BOTTOM, the window's outer edges with
# the frame the window manager put round it.
frame_of() {
  local info x y w h extents fl fr ft fb
  info=$(xwininfo -id "$1")
  x=$(awk '/Absolute upper-left X/ { print $NF }' <<<"$info")
  y=$(awk '/Absolute upper-left Y/ { print $NF }' <<<"$info")
  w=$(awk '/Width:/ { print $NF }' <<<"$info")
  h=$(awk '/Height:/ { print $NF }' <<<"$info")
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  read -r fl fr ft fb <<<"$extents"
  LEFT=$((x - fl)) TOP=$((y - ft)) RIGHT=$((x + w + fr)) BOTTOM=$((y + h + fb))
  echo "frame $LEFT,$TOP to $RIGHT,$BOTTOM"
}
# on_screen NAME WINDOW: the window's frame stands on the screen once the
# window manager has framed it and the window has placed itself again (a
# loaded machine may take a while).
on_screen() {
  for _ in $(seq 30); do
    frame_of "$2"
    local size=${SCREEN_SIZE:-1280x800}
    if [ "$LEFT" -ge 0 ] && [ "$TOP" -ge 0 ] && [ "$RIGHT" -le "${size%x*}" ] && [ "$BOTTOM" -le "${size#*x}" ]; then
      return 0
    fi
    sleep 0.1
  done
  echo "FAIL: $1 stands off the ${SCREEN_SIZE:-1280x800} screen"
  exit 1
}

