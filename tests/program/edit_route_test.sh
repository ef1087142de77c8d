# F7 in the editor plays the route the live checks found through the
# level, with no key of the user's but F7: the player walks it, Escape
# comes back, and the path it took is drawn over the map, its hard
# moments marked. A level no route clears says so and plays nothing.
source "$(dirname "$0")/edit_lib.sh" "$@"
start_x
cp "$work/media/level1.inf" "$work/edited.inf"
start_editor edited.inf
wait_editor

# Pixels of the path's own colour (40, 230, 255) in a picture of the window.
path_pixels() {
  xwd -id "$wid" -display "$DISPLAY" | convert xwd:- "$1"
  convert "$1" -fx 'abs(r*255-40)<2 && abs(g*255-230)<2 && abs(b*255-255)<2 ? 1 : 0' \
    -format '%[fx:round(mean*w*h)]' info:
}

[ "$(path_pixels "$work/before.png")" -eq 0 ] || fail "a path is drawn before any play"
# Pixels of the warnings' colour (255, 190, 40) in the game area: the
# checks' marks, and after the route its hard moments' marks besides.
warning_pixels() {
  window_shot "$1" 640x480+0+0
  convert "$1" -fx 'abs(r*255-255)<2 && abs(g*255-190)<2 && abs(b*255-40)<2 ? 1 : 0' \
    -format '%[fx:round(mean*w*h)]' info:
}
wait_warning_mark 60 || fail "the checks marked no warning on the shipped level"
warned=$(warning_pixels "$work/warned.png")
# The game area, from a picture of the window.
game_area() {
  xwd -id "$wid" -display "$DISPLAY" | convert xwd:- -crop 640x480+0+0 +repage "$1"
}

key_to F7
# The search runs in the background; once it is done the player walks,
# and the picture changes with no key held.
game_area "$work/last.png"
moving=0
for _ in $(seq 60); do
  sleep 0.5
  game_area "$work/now.png"
  differing=$(compare -metric AE "$work/last.png" "$work/now.png" null: 2>&1)
  if [ "$differing" -gt 50 ]; then moving=1; break; fi
  mv "$work/now.png" "$work/last.png"
done
[ "$moving" = 1 ] || fail "nothing moved within 30 seconds of F7"
sleep 2
kill -0 "$game_pid" 2>/dev/null || fail "the editor ended during the route"
press "$wid" Escape 0.3
sleep 0.5
kill -0 "$game_pid" 2>/dev/null || fail "Escape ended the editor, not the route"
[ "$(title)" = "pwe-edit - edited.inf" ] || fail "the route changed the level: '$(title)'"
drawn=$(path_pixels "$work/after.png")
[ "$drawn" -gt 40 ] || fail "no path drawn after the route ($drawn pixels)"
# The shipped level's route has a hard moment, marked on its path.
marked=$(warning_pixels "$work/marked.png")
[ "$marked" -gt $(( warned + 20 )) ] ||
  fail "no hard moment marked on the route ($warned warning pixels before, $marked after)"
# A tile in the sky, out of every jump's reach: no route clears the level.
click_at 600 40
wait_title "pwe-edit - edited.inf *" 5 || fail "no unsaved change after a click: '$(title)'"
key_to F7
sleep 15
drawn=$(path_pixels "$work/none.png")
[ "$drawn" -eq 0 ] || fail "a route was played through a level none clears ($drawn pixels)"
kill -0 "$game_pid" 2>/dev/null || fail "the editor ended after F7"
key_to ctrl+z
key_to Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo PASS
