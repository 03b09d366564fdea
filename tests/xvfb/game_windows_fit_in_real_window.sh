#!/usr/bin/env bash
# The Game window and the Game History on a real screen with openbox, at the
# size given and at the scale given (1 or 2): New Game cancelled leaves the
# window waiting with nothing dealt; a game with every hand shown; the
# History with its buttons. Each window stands whole on the screen, frame
# included, and its bottom row of buttons is in view; the same for a
# double-deck game and a three-handed one, and for the Drills window with
# drills made for a theme, one of them answered.
# Screenshots go to the folder given.
set -euo pipefail
source "$(dirname "$0")/xvfb_lib.sh"
program="$1"
shots="$2"
export SCREEN_SIZE="$3"
scale="${4:-1}"
mkdir -p "$shots"
trap stop_x_server EXIT
use_fresh_settings $'pace=fast\nshowAll=1'
export VANTREL_GAME_SEED=12
export QT_SCALE_FACTOR="$scale"
start_x_server
start_window_manager
start_program "$program"
tag="$SCREEN_SIZE-x$scale"

# New Game cancelled: nothing is dealt and nothing is kept.
xdotool windowactivate --sync "$WINDOW" key ctrl+g
game=$(xdotool search --sync --onlyvisible --name '^Game$' | sed -n 1p)
dialog=$(xdotool search --sync --onlyvisible --name '^New Game$' | sed -n 1p)
on_screen "The New Game dialog" "$dialog"
import -window root "$shots/new-game-$tag.png"
xdotool key Escape sleep 0.5
on_screen "The Game window" "$game"
import -window root "$shots/game-no-game-$tag.png"

# A game with every hand shown, after a few computer moves.
xdotool windowactivate --sync "$game" key ctrl+n
xdotool search --sync --onlyvisible --name '^New Game$' >/dev/null
xdotool key Return sleep 0.5
xdotool windowactivate --sync "$game" key alt+p sleep 3
on_screen "The Game window" "$game"
import -window root "$shots/game-all-hands-$tag.png"
# A few of South's cards played from the keyboard, then Look Back.
for _ in $(seq 10); do xdotool windowactivate --sync "$game" key Return sleep 0.4; done
xdotool windowactivate --sync "$game" key ctrl+l sleep 0.5
import -window root "$shots/game-look-back-$tag.png"
xdotool key ctrl+l

# A double-deck game: the form chosen first in New Game, twenty cards a hand
# on the table, every hand shown, then a few of South's cards played.
xdotool windowactivate --sync "$game" key ctrl+n
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^New Game$' | sed -n 1p) ||
  { echo "FAIL: Ctrl+N opened no New Game dialog during a game"; exit 1; }
xdotool windowactivate --sync "$dialog" key alt+f sleep 0.2 key Down sleep 0.3
import -window root "$shots/new-game-double-deck-$tag.png"
# Dealt, it asks to abandon the game under way.
xdotool key Return sleep 0.8 key alt+y sleep 0.5
xdotool windowactivate --sync "$game" key alt+p sleep 3
on_screen "The Game window, double-deck" "$game"
import -window root "$shots/game-double-deck-$tag.png"
for _ in $(seq 12); do xdotool windowactivate --sync "$game" key Return sleep 0.4; done
import -window root "$shots/game-double-deck-play-$tag.png"

# A three-handed game: the form chosen in New Game, its own rules shown;
# the widow face down in the middle of the table, then the user's pass and
# what the computers make of the hand.
xdotool windowactivate --sync "$game" key ctrl+n
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^New Game$' | sed -n 1p) ||
  { echo "FAIL: Ctrl+N opened no New Game dialog during a double-deck game"; exit 1; }
xdotool windowactivate --sync "$dialog" key alt+f sleep 0.2 key Down sleep 0.3
on_screen "The New Game dialog, three-handed" "$dialog"
import -window root "$shots/new-game-three-handed-$tag.png"
xdotool key Return sleep 0.8 key alt+y sleep 1.5
on_screen "The Game window, three-handed" "$game"
import -window root "$shots/game-three-handed-$tag.png"
xdotool windowactivate --sync "$game" key alt+p sleep 5
import -window root "$shots/game-three-handed-on-$tag.png"

# The History: whole on the screen, its buttons reachable, its statistics
# and its progress.
xdotool windowactivate --sync "$WINDOW" key ctrl+shift+g
history=$(timeout 10 xdotool search --sync --onlyvisible --name '^Game History$' | sed -n 1p) ||
  { echo "FAIL: Ctrl+Shift+G opened no Game History"; exit 1; }
sleep 0.5
on_screen "The Game History" "$history"
import -window root "$shots/history-$tag.png"
xdotool windowactivate --sync "$history" key alt+s sleep 0.8
on_screen "The Game History's statistics" "$history"
import -window root "$shots/history-statistics-$tag.png"
xdotool windowactivate --sync "$history" key alt+o sleep 0.8
on_screen "The Game History's progress" "$history"
import -window root "$shots/history-progress-$tag.png"

# Drills: none due at first; twenty made on fresh deals for the last theme,
# naming trump, the first of them asked on the table and answered by the
# keys, which start on its first choice.
xdotool windowactivate --sync "$WINDOW" key ctrl+d
drills=$(timeout 10 xdotool search --sync --onlyvisible --name '^Drills$' | sed -n 1p) ||
  { echo "FAIL: Ctrl+D opened no Drills window"; exit 1; }
sleep 0.5
xdotool windowactivate --sync "$drills" key alt+t End alt+m
sleep 8
on_screen "The Drills window" "$drills"
import -window root "$shots/drills-$tag.png"
xdotool windowactivate --sync "$drills" key space sleep 0.8
import -window root "$shots/drills-graded-$tag.png"
echo "PASS"
