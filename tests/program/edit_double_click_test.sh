# A double click opens the element under the cursor and does nothing else:
# with the start tool, a double click on level 1's second blob opens the
# blob's form (Escape closes it, the editor stays) and leaves the start
# where it was, so the level is still unchanged.
source "$(dirname "$0")/edit_lib.sh" "$@"
start_x
cp "$work/media/level1.inf" "$work/mine.inf"
start_editor mine.inf
wait_editor
key_to 7
# The blob stands at 300, 223 (its record), 12 pixels wide and tall.
xdotool mousemove --window "$wid" 300 218
sleep 0.3
xdotool click --repeat 2 --delay 120 1
sleep 1
# The title is not renewed while a form is open.
key_to Escape  # closes the blob's form
kill -0 "$game_pid" 2>/dev/null || fail "no form was open: Escape left the editor"
[ "$(title)" = "pwe-edit - mine.inf" ] || fail "the double click changed the level: '$(title)'"
cmp -s "$work/mine.inf" "$work/media/level1.inf" || fail "the file changed"
key_to Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo PASS
