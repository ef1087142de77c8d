# Seven tiles of a new level's floor (16 wide) selected with the select tool (the
# band passing under the start, which stands on them), Enter
# opens one dialog for them, their points set to 25 in it: Ctrl+S saves
# all seven at 25 and the rest of the floor as it was; Ctrl+Z takes the
# whole edit back in one step and Ctrl+S saves the floor at 10 again.
source "$(dirname "$0")/edit_lib.sh" "$@"
start_x
start_editor new.inf
wait_editor

# "x points" of each tile in the floor row at 472, as the loader reads the
# file: twelve header numbers, the count, then six tokens a tile.
floor_points() {
  tr -s ' \t\r' '\n\n\n' <"$work/new.inf" | grep -v '^$' | awk '
    NR == 13 { count = $1; next }
    NR > 13 && (NR - 14) < 6 * count {
      field[(NR - 14) % 6] = $1
      if ((NR - 14) % 6 == 5 && field[1] == 472) print field[0], field[5]
    }'
}

key_to s
xdotool mousemove --window "$wid" 0 472
sleep 0.2
xdotool mousedown 1
sleep 0.2
xdotool mousemove --window "$wid" 100 479
sleep 0.2
xdotool mouseup 1
sleep 0.3
key_to Return
# The fields: x, y, the look and its "...", the claimed look and its
# "...", claimable, points.
for _ in 1 2 3 4 5 6 7; do key_to Tab; done
xdotool type --delay 100 25
key_to Return
wait_title "pwe-edit - new.inf *" 5 || fail "the dialog changed nothing: '$(title)'"
key_to ctrl+s
wait_title "pwe-edit - new.inf" 5 || fail "still unsaved after Ctrl+S: '$(title)'"
changed="$(floor_points | awk '$2 == 25 { print $1 }' | tr '\n' ' ')"
[ "$changed" = "0 16 32 48 64 80 96 " ] || fail "tiles at 25 points: '$changed'; the floor: $(floor_points | tr '\n' ' ')"
[ "$(floor_points | awk '$2 == 10' | wc -l)" -eq 33 ] || fail "the rest of the floor changed"
key_to ctrl+z
key_to ctrl+s
wait_title "pwe-edit - new.inf" 5 || fail "still unsaved after undo and Ctrl+S: '$(title)'"
[ "$(floor_points | awk '$2 == 10' | wc -l)" -eq 40 ] ||
  fail "one undo left the floor as: $(floor_points | tr '\n' ' ')"
key_to Escape  # lets go of the selection
key_to Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo PASS
