#!/usr/bin/env bash
# A hand of a game in a real window on a 1280x800 screen with openbox, at
# the Fast pace: the user passes, the computers bid, name trump and meld, and
# South's legal cards are played from the keyboard (the focus stands on a
# card that can be played; Enter plays it) until the hand is on the score
# sheet. Screenshots of the table in mid-trick and of the score sheet are
# kept in the folder given.
set -euo pipefail
source "$(dirname "$0")/xvfb_lib.sh"
program="$1"
shots="$2"
mkdir -p "$shots"
trap stop_x_server EXIT
use_fresh_settings 'pace=fast'
export VANTREL_GAME_SEED=12
SCREEN_SIZE=1280x800 start_x_server
start_window_manager
start_program "$program"
xdotool windowactivate --sync "$WINDOW" key ctrl+g
game=$(xdotool search --sync --onlyvisible --name '^Game$' | sed -n 1p)
xdotool search --sync --onlyvisible --name '^New Game$' >/dev/null
xdotool key Return sleep 0.5

# The window fits the screen, frame included.
on_screen "The game window" "$game"

# The Practice keys act on the game's hand here: F5 opens no analysis of the
# table's deal, F6 asks for a code, Ctrl+Shift+C copies the game's code.
xdotool windowactivate --sync "$game" key F5 sleep 1
if xdotool search --onlyvisible --name '^Hand Analysis$' >/dev/null; then
  echo "FAIL: F5 in the game window analysed the table's deal"
  exit 1
fi
xdotool key F6
timeout 10 xdotool search --sync --onlyvisible --name '^Deal from Code$' >/dev/null ||
  { echo "FAIL: F6 in the game window asked for no code"; exit 1; }
xdotool key Escape sleep 0.3
xdotool windowactivate --sync "$game" key ctrl+shift+c sleep 0.3
code=$(xclip -selection clipboard -o)
echo "the game's deal code: $code"

sheet=""
midtrick=0
for step in $(seq 400); do
  xdotool windowactivate --sync "$game" >/dev/null 2>&1 || true
  xdotool key alt+p sleep 0.05 key Return sleep 0.25
  if [ "$midtrick" = 0 ] && [ "$step" -gt 18 ]; then
    import -window root "$shots/game-mid-trick.png"
    midtrick=1
  fi
  if [ $((step % 8)) = 0 ]; then
    xdotool key ctrl+shift+s sleep 0.2
    sheet=$(xclip -selection clipboard -o 2>/dev/null || true)
    if grep -q '^1 ' <<<"$sheet"; then break; fi
  fi
done
echo "$sheet"
grep -q '^1 ' <<<"$sheet" || { echo "FAIL: the hand never reached the score sheet"; exit 1; }
grep -Eq '(Made|Set) ' <<<"$sheet" || { echo "FAIL: the sheet has no result"; exit 1; }
grep -qF -- "$code" <<<"$sheet" || { echo "FAIL: Ctrl+Shift+C did not copy the game's deal code"; exit 1; }
xdotool key alt+s sleep 0.5
import -window root "$shots/game-score-sheet.png"

# The hand's review: Ctrl+R opens it beside the game; once worked out, its
# Copy gives the review as text; the arrow keys step the small table.
xdotool windowactivate --sync "$game" key ctrl+r
review=$(timeout 10 xdotool search --sync --onlyvisible --name '^Hand Review' | sed -n 1p) ||
  { echo "FAIL: Ctrl+R opened no Hand Review"; exit 1; }
import -window root "$shots/review-working.png"
printf '' | xclip -selection clipboard
text=""
for wait in $(seq 90); do
  sleep 2
  xdotool windowactivate --sync "$review" key alt+o sleep 0.2
  text=$(xclip -selection clipboard -o 2>/dev/null || true)
  if grep -q '^Hand review' <<<"$text"; then break; fi
done
grep -q '^Hand review' <<<"$text" || { echo "FAIL: the review never finished"; exit 1; }
grep -q '^Trick 12, taken by' <<<"$text" || { echo "FAIL: the review lacks the last trick"; exit 1; }
on_screen "The Hand Review" "$review"
xdotool key End sleep 0.2 key Left Left Left sleep 0.5
import -window root "$shots/review.png"
xdotool key Home sleep 0.2 key Right Right Right Right Right sleep 0.5
import -window root "$shots/review-trick-2.png"

# The history kept the game: Ctrl+Shift+G lists it, and its statistics.
xdotool key Escape sleep 0.3
xdotool windowactivate --sync "$WINDOW" key ctrl+shift+g
history=$(timeout 10 xdotool search --sync --onlyvisible --name '^Game History$' | sed -n 1p) ||
  { echo "FAIL: Ctrl+Shift+G opened no Game History"; exit 1; }
on_screen "The Game History" "$history"
sleep 0.5
import -window root "$shots/history.png"
xdotool windowactivate --sync "$history" key alt+s sleep 0.8
import -window root "$shots/history-statistics.png"

# Killed and started again, the program offers the game for resuming and
# restores it with its score sheet.
kill -9 "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
start_program "$program"
xdotool windowactivate --sync "$WINDOW" key ctrl+g
timeout 10 xdotool search --sync --onlyvisible --name '^Resume the Game$' >/dev/null ||
  { echo "FAIL: the unfinished game was not offered"; exit 1; }
sleep 0.3
import -window root "$shots/history-resume.png"
xdotool key Return sleep 1
game=$(xdotool search --sync --onlyvisible --name '^Game$' | sed -n 1p)
xdotool windowactivate --sync "$game" key ctrl+shift+s sleep 0.3
resumed=$(xclip -selection clipboard -o 2>/dev/null || true)
grep -q '^1 ' <<<"$resumed" || { echo "FAIL: the resumed game lacks its first hand: $resumed"; exit 1; }
echo "PASS"
