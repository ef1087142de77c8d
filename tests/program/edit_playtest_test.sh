# F5 with an unsaved change plays the level; walking right for a moment
# and Escape come back to the editor with the change still there, undo
# still undoing it, and the path walked drawn over the map.
source "$(dirname "$0")/edit_lib.sh" "$@"
start_x
cp "$work/media/level1.inf" "$work/edited.inf"
start_editor edited.inf
wait_editor
click_at 300 203
wait_title "pwe-edit - edited.inf *" 5 || fail "no unsaved change after a click: '$(title)'"

key_to F5
sleep 0.5
# A held key reaches the game's key[] through the focused window.
xdotool windowfocus --sync "$wid" 2>/dev/null
xdotool keydown Right
sleep 1
xdotool keyup Right
# The game reads Escape from key[] once a tick, so it is held, not tapped.
press "$wid" Escape 0.3
sleep 0.5
kill -0 "$game_pid" 2>/dev/null || fail "the editor ended with the play-test"
[ "$(title)" = "pwe-edit - edited.inf *" ] || fail "the change was lost: '$(title)'"

# The path is drawn in its own colour (40, 230, 255), ending in a dot of
# 21 pixels: more than that is a line walked.
xwd -id "$wid" -display "$DISPLAY" | convert xwd:- "$work/after.png"
path_pixels=$(convert "$work/after.png" -fx 'abs(r*255-40)<2 && abs(g*255-230)<2 && abs(b*255-255)<2 ? 1 : 0' \
  -format '%[fx:round(mean*w*h)]' info:)
[ "$path_pixels" -gt 40 ] || fail "no path drawn after walking ($path_pixels pixels)"

key_to ctrl+s
tiles_of "$work/edited.inf" | grep -qx "288 200 .*" || fail "the placed tile is not in the saved file"
key_to ctrl+z
key_to ctrl+s
cmp "$work/media/level1.inf" "$work/edited.inf" || fail "undo after the play-test did not restore the level"
key_to Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo PASS
