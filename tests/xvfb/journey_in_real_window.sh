#!/usr/bin/env bash
# A user's journey through the program in a real X server on a 1280x800
# screen: the cards from the keyboard, a list that keeps the user's line,
# selecting a hand, naming trump, playing a trick from the keyboard and the
# mouse, dealing anew, a help text, the hand analysis, a deal from its code,
# quit. What the screen shows is read off screenshots, kept in the folder given.
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

expect_blue() { expect "$1 label blue" "$(share_in $2 $3 $4 $5 "$BLUE")" 's > 0.02'; }
expect_not_blue() { expect "$1 label not blue" "$(share_in $2 $3 $4 $5 "$BLUE")" 's < 0.005'; }
SOUTH_CARD="194 290 20 60"  # the strip of South's first card
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
expect "the picked line's selection colour" "$(share_in 712 24 230 80 "$SELECTION")" 's > 0.02'

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
expect "South's first card still in its row" "$(share_in $SOUTH_CARD "$WHITE")" 's > 0.5'
for point in "200 340" "26 230" "194 100" "370 230"; do
  xdotool mousemove $(at $point) click 1 sleep 0.15
done
shot one-trick-played
blue=0
for label in "$SOUTH" "$WEST" "$NORTH" "$EAST"; do
  awk -v s="$(share_in $label "$BLUE")" 'BEGIN { exit !(s > 0.02) }' && blue=$((blue + 1))
done
expect "labels showing the trick's winner" "$blue" 's == 1'
# The four played cards are off the table: South's first card is gone.
expect "South's first card taken off" "$(share_in $SOUTH_CARD "$WHITE")" 's < 0.2'

xdotool mousemove $(at 76 404) click 1
shot shuffled
expect "South's first card dealt anew" "$(share_in $SOUTH_CARD "$WHITE")" 's > 0.5'

xdotool windowfocus --sync "$WINDOW" key ctrl+m
help=$(xdotool search --sync --onlyvisible --name '^Meld$' | sed -n 1p)
shot help-meld
xdotool windowfocus --sync "$help" key Escape
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '^Meld$' >/dev/null 2>&1 || break
  sleep 0.1
done
! xdotool search --onlyvisible --name '^Meld$' >/dev/null 2>&1 || { echo "FAIL: Escape did not close the help window"; exit 1; }
shot help-closed

# The hand analysis opens beside the table and fills in its figures.
xdotool windowfocus --sync "$WINDOW" key F5
xdotool sleep 1.5
analysis=$(xdotool search --onlyvisible --name '^Hand Analysis$' | sed -n 1p)
[ -n "$analysis" ] || { echo "FAIL: no Hand Analysis window"; exit 1; }
shot hand-analysis
xdotool windowfocus --sync "$analysis"
xdotool key Escape
xdotool sleep 0.3

# A deal laid from its code: every hand one suit, West all hearts. A mistyped
# code is refused and offered again, to be mended.
xdotool windowfocus --sync "$WINDOW" key F6
xdotool search --sync --onlyvisible --name '^Deal from Code$' >/dev/null
xdotool sleep 0.3 type --delay 20 '0000-dwdw-z7z7-r9r9-1'
xdotool key Return sleep 1 key Return sleep 1 key End BackSpace type '0'
xdotool key Return
shot dealt-from-code
expect "red on West's first card" "$(share_in 18 150 18 60 "$RED")" 's > 0.02'
expect "red on South's first card" "$(share_in 194 270 18 60 "$RED")" 's < 0.002'

xdotool mousemove $(at 656 404) click 1
status=0
wait_for_exit 10 || status=$?
echo "exit status $status"
exit "$status"
