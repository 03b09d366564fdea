#!/usr/bin/env bash
# A user's journey through the program in a real X server: select a hand, move
# away, name trump, play a trick, deal anew, read a help text, quit. The label
# colours are read off screenshots, which are kept in the folder given.
set -euo pipefail
source "$(dirname "$0")/xvfb_lib.sh"
program="$1"
shots="$2"
mkdir -p "$shots"
echo "screenshots: $shots"
trap stop_x_server EXIT
start_x_server
start_program "$program"
# On a 1280x800 screen the window moves just enough to stand on it whole.
echo "window from $WINDOW_X,$WINDOW_Y to $WINDOW_RIGHT,$WINDOW_BOTTOM"
[ "$WINDOW_RIGHT" -le 1280 ] && [ "$WINDOW_BOTTOM" -le 800 ] && [ "$WINDOW_X" -ge 0 ] || { echo "FAIL: the window is off screen"; exit 1; }

step=0
shot() {
  step=$((step + 1))
  xdotool sleep 0.4
  SHOT="$shots/$(printf '%02d' "$step")-$1.png"
  import -window root "$SHOT"
  echo "screenshot $SHOT"
}

# Fraction of pure-blue pixels in a client-area rectangle of the last shot.
blue_in() {
  local x=$((CLIENT_X + $1)) y=$((CLIENT_Y + $2))
  convert "$SHOT" -crop "$3x$4+$x+$y" +repage -fx 'b > 0.8 && r < 0.3 && g < 0.3' -format '%[fx:mean]' info:
}
expect_blue() {  # name x y w h
  local share
  share=$(blue_in "$2" "$3" "$4" "$5")
  echo "$1 blue share: $share"
  awk -v s="$share" 'BEGIN { exit !(s > 0.02) }' || { echo "FAIL: $1 label is not blue"; exit 1; }
}
# Fraction of near-white pixels in a client-area rectangle of the last shot.
white_in() {
  convert "$SHOT" -crop "$3x$4+$((CLIENT_X + $1))+$((CLIENT_Y + $2))" +repage -fx 'r > 0.95 && g > 0.95 && b > 0.95' -format '%[fx:mean]' info:
}
expect_not_blue() {
  local share
  share=$(blue_in "$2" "$3" "$4" "$5")
  echo "$1 blue share: $share"
  awk -v s="$share" 'BEGIN { exit !(s < 0.005) }' || { echo "FAIL: $1 label is blue"; exit 1; }
}
# The hand labels: South, West, North, East.
SOUTH="192 248 97 17"
WEST="16 128 129 17"
NORTH="184 8 65 17"
EAST="360 128 137 17"
BACKGROUND="700 320"

# The cards from the keyboard: the "Run Trump" box, then Tab to "Run Trump"'s
# check box and on to the cards, where South's first card is entered; Down
# goes to West.
TRUMP_BOX="130 504"
xdotool mousemove $(at $TRUMP_BOX) click 1 sleep 0.2 key Tab sleep 0.1 key Tab
shot keyboard-south
expect_blue South $SOUTH
xdotool key Down
shot keyboard-west
expect_blue West $WEST
expect_not_blue South $SOUTH

# A line picked in the information list stays picked when the mouse passes
# over the background (the list's selection colour near its top).
xdotool mousemove $(at 780 56) click 1 sleep 0.2
xdotool mousemove $(at $BACKGROUND) sleep 0.2 mousemove $(at 700 330)
shot list-line-kept
kept=$(convert "$SHOT" -crop "230x80+$((CLIENT_X + 712))+$((CLIENT_Y + 24))" +repage -fx 'b > 0.6 && r < 0.35 && g > 0.4' -format '%[fx:mean]' info:)
echo "selection colour share at the top of the list: $kept"
awk -v s="$kept" 'BEGIN { exit !(s > 0.02) }' || { echo "FAIL: the list lost the line the user picked"; exit 1; }

xdotool mousemove $(at $BACKGROUND)
xdotool sleep 0.2
xdotool mousemove $(at 200 290) sleep 0.1 mousemove $(at 202 300)
shot south-selected
expect_blue South $SOUTH
expect_not_blue North $NORTH

xdotool mousemove $(at $BACKGROUND) sleep 0.1 mousemove $(at 700 330)
shot background
expect_not_blue South $SOUTH

xdotool mousemove $(at 26 190) sleep 0.1 click --repeat 2 --delay 60 1
shot west-names-trump
expect_blue West $WEST
expect_not_blue South $SOUTH

# "Play Hand" from the keyboard: Shift+Tab from the "Run Trump" box, then Enter.
xdotool mousemove $(at $TRUMP_BOX) click 1 sleep 0.2 key shift+Tab sleep 0.1 key Return
xdotool sleep 0.3
# A press on South's first card released 300 pixels away plays nothing.
xdotool mousemove $(at 200 340) mousedown 1 sleep 0.1 mousemove $(at 500 340) sleep 0.1 mouseup 1
shot press-released-away
white=$(white_in 194 290 20 60)
awk -v s="$white" 'BEGIN { exit !(s > 0.5) }' || { echo "FAIL: a press released away from the card played it"; exit 1; }
for point in "200 340" "26 230" "194 100" "370 230"; do
  xdotool mousemove $(at $point) click 1 sleep 0.15
done
shot one-trick-played
blue=0
for label in "$SOUTH" "$WEST" "$NORTH" "$EAST"; do
  share=$(blue_in $label)
  awk -v s="$share" 'BEGIN { exit !(s > 0.02) }' && blue=$((blue + 1))
done
echo "labels showing the trick's winner: $blue"
[ "$blue" -eq 1 ] || { echo "FAIL: expected exactly one winner label"; exit 1; }
# The four played cards are off the table: South's first card is gone.
white=$(white_in 194 290 20 60)
echo "white share where South's first card stood: $white"
awk -v s="$white" 'BEGIN { exit !(s < 0.2) }' || { echo "FAIL: the played card is still shown"; exit 1; }

xdotool mousemove $(at 76 404) click 1
shot shuffled
white=$(white_in 194 290 20 60)
awk -v s="$white" 'BEGIN { exit !(s > 0.5) }' || { echo "FAIL: the new deal does not show South's first card"; exit 1; }

xdotool windowfocus --sync "$WINDOW" key ctrl+m
help=$(xdotool search --sync --onlyvisible --name '^Meld$' | head -n 1)
shot help-meld
xdotool windowfocus --sync "$help" key Escape
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '^Meld$' >/dev/null 2>&1 || break
  sleep 0.1
done
if xdotool search --onlyvisible --name '^Meld$' >/dev/null 2>&1; then
  echo "FAIL: Escape did not close the help window"
  exit 1
fi
shot help-closed

# The hand analysis opens beside the table and fills in its figures.
xdotool windowfocus --sync "$WINDOW" key F5
xdotool sleep 1.5
analysis=$(xdotool search --onlyvisible --name '^Hand Analysis$' | head -n 1)
[ -n "$analysis" ] || { echo "FAIL: no Hand Analysis window"; exit 1; }
shot hand-analysis
xdotool windowfocus --sync "$analysis"
xdotool key Escape
xdotool sleep 0.3

# A deal laid from its code: every hand one suit, West all hearts.
red_in() {
  convert "$SHOT" -crop "$3x$4+$((CLIENT_X + $1))+$((CLIENT_Y + $2))" +repage -fx 'r > 0.6 && g < 0.3 && b < 0.3' -format '%[fx:mean]' info:
}
xdotool windowfocus --sync "$WINDOW" key F6
xdotool sleep 0.5
xdotool type --delay 20 '0000-dwdw-z7z7-r9r9-0'
xdotool key Return
shot dealt-from-code
west=$(red_in 18 150 18 60)
south=$(red_in 194 270 18 60)
echo "red share: West's first card $west, South's first card $south"
awk -v w="$west" -v s="$south" 'BEGIN { exit !(w > 0.02 && s < 0.002) }' || { echo "FAIL: the deal from its code is not laid"; exit 1; }

xdotool mousemove $(at 656 404) click 1
status=0
wait_for_exit 10 || status=$?
echo "exit status $status"
exit "$status"
