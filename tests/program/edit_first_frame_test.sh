# The editor's game area is the game's first frame, pixel for pixel: a new
# level saved into the tree and drawn by pwe-render is the picture the
# editor shows above its status bar (with the cursor off the map and a
# level the checks find nothing in, so nothing is drawn over it). Leaving
# with an unsaved change asks first; discarding leaves the file as saved.
source "$(dirname "$0")/edit_lib.sh" "$@"
render="$(dirname "$pwe")/pwe-render"
[ -x "$render" ] || fail "no pwe-render beside $pwe"
start_x
start_editor media/fresh.inf
wait_editor
key_to ctrl+s
wait_title "pwe-edit - fresh.inf" 5 || fail "not saved: '$(title)'"
xdotool mousemove --window "$wid" 320 495
sleep 0.5
# The live checks of a clean level leave no mark; give them time to say so.
sleep 3
xwd -id "$wid" -display "$DISPLAY" | convert xwd:- -crop 640x480+0+0 +repage "$work/editor.png"
(cd "$work" && "$render" fresh.inf "$work/game.png" media) || fail "pwe-render failed"
differing=$(compare -metric AE "$work/editor.png" "$work/game.png" null: 2>&1)
[ "$differing" = "0" ] || fail "$differing pixels differ between the editor and the first frame"

cp "$work/media/fresh.inf" "$work/saved.inf"
click_at 300 203
wait_title "pwe-edit - fresh.inf *" 5 || fail "no unsaved change after a click"
key_to Escape
kill -0 "$game_pid" 2>/dev/null || fail "the editor left without asking"
key_to d  # the question's Discard
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after discarding"
cmp "$work/saved.inf" "$work/media/fresh.inf" || fail "discarding changed the file"
echo PASS
