# The presses and releases of a dialog never reach the map: clicking a
# field of the level's form and then its Cancel, and clicking OK in the
# player start's form, leave the new level's tiles as they were, where the
# tile tool would otherwise paint one under each click once the dialog
# had closed.
source "$(dirname "$0")/edit_lib.sh" "$@"
start_x
start_editor new.inf
wait_editor
key_to ctrl+s
wait_title "pwe-edit - new.inf" 5 || fail "not saved: '$(title)'"
cp "$work/new.inf" "$work/before.inf"

# press_at X Y: a press and release held long enough for the GUI to see.
press_at() {
  xdotool mousemove --window "$wid" "$1" "$2"
  sleep 0.2
  xdotool mousedown 1
  sleep 0.2
  xdotool mouseup 1
  sleep 0.4
}
# The level's form: 12 fields, 600 x 258, centred in the 752 x 524 window
# (the map and the tool strip): its first box at (376, 161), OK at
# (534, 375) and Cancel at (624, 375).
xdotool mousemove --window "$wid" 5 5
sleep 0.3
key_to l
press_at 456 165
press_at 624 375
# The start's form (3 fields, 600 x 132, so OK at (534, 312)) over the
# start of a new level, which stands at 40 on the floor along the bottom.
xdotool mousemove --window "$wid" 40 465
sleep 0.3  # Enter opens what is under the pointer as the editor last saw it
key_to Return
press_at 534 312
sleep 0.5
key_to ctrl+s
cmp -s "$work/before.inf" "$work/new.inf" ||
  fail "the dialogs' clicks changed the level: $(diff "$work/before.inf" "$work/new.inf")"
key_to Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo PASS
