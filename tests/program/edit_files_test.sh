# The help, saving under a new name and a new level, driven as an author
# would: F1 shows the help over the map and Escape closes it without
# leaving; Ctrl+Shift+S saves the changed level under a new name, which the
# title then names; Ctrl+N with unsaved changes asks first, Cancel keeps
# them and Discard starts a new level, neither touching a file; Ctrl+O of
# what cannot be opened (a FIFO) says so and keeps the level, and of a
# level opens it. Shift+G shows the grid and hides it again.
source "$(dirname "$0")/edit_lib.sh" "$@"
start_x
cp "$work/media/level1.inf" "$work/first.inf"
start_editor first.inf
wait_editor
# The map alone: the status bar changes as the live checks finish, and the
# map takes their marks (a blob passes close) once the proof is done.
map=640x480+0+0
[ "$(title)" = "pwe-edit - first.inf" ] || fail "title '$(title)' for first.inf"
xdotool mousemove --window "$wid" 20 20
wait_warning_mark 60 || fail "the live checks marked no close pass on level1"
sleep 0.5
window_shot "$work/plain.png" "$map"

hold_key F1
window_shot "$work/help.png" "$map"
[ "$(differing_pixels "$work/plain.png" "$work/help.png")" -gt 10000 ] ||
  fail "F1 showed no help over the map"
hold_key Escape
kill -0 "$game_pid" 2>/dev/null || fail "Escape over the help left the editor"
window_shot "$work/closed.png" "$map"
[ "$(differing_pixels "$work/plain.png" "$work/closed.png")" = "0" ] ||
  fail "the help did not close on Escape"

hold_key shift+g
window_shot "$work/grid.png" "$map"
[ "$(differing_pixels "$work/plain.png" "$work/grid.png")" -gt 1000 ] || fail "Shift+G showed no grid"
hold_key shift+g
window_shot "$work/nogrid.png" "$map"
[ "$(differing_pixels "$work/plain.png" "$work/nogrid.png")" = "0" ] || fail "Shift+G left the grid on"

# A tile above the bottom floor, then saved as another file.
click_at 300 203
wait_title "pwe-edit - first.inf *" 5 || fail "no unsaved-changes mark after a click: '$(title)'"
hold_key ctrl+shift+s
# The selector offers the file's own path; its name is replaced.
xdotool key --delay 40 --repeat 9 BackSpace
xdotool type --delay 40 "again.inf"
sleep 0.3
hold_key Return
wait_title "pwe-edit - again.inf" 5 || fail "the title did not follow the new name: '$(title)'"
[ -f "$work/again.inf" ] || fail "Ctrl+Shift+S wrote no again.inf"
[ "$(tiles_of "$work/again.inf" | awk '$1 == 288 && $2 == 200' | wc -l)" -eq 1 ] ||
  fail "again.inf does not hold the tile placed"
cmp -s "$work/media/level1.inf" "$work/first.inf" || fail "saving as another name changed first.inf"

# A change, then a new level: the question comes first.
click_at 400 203
wait_title "pwe-edit - again.inf *" 5 || fail "no unsaved-changes mark: '$(title)'"
[ -e "$work/.again.inf.lock" ] || fail "no lock on again.inf while it is edited"
cp "$work/again.inf" "$work/saved.inf"
window_shot "$work/before.png"
hold_key ctrl+n
window_shot "$work/asked.png"
[ "$(title)" = "pwe-edit - again.inf *" ] || fail "Ctrl+N did not wait for an answer: '$(title)'"
[ "$(differing_pixels "$work/before.png" "$work/asked.png")" -gt 1000 ] ||
  fail "Ctrl+N with unsaved changes asked nothing"
hold_key c
[ "$(title)" = "pwe-edit - again.inf *" ] || fail "Cancel did not keep the level: '$(title)'"
hold_key ctrl+n
hold_key d
wait_title "pwe-edit - new level" 5 || fail "Discard did not start a new level: '$(title)'"
cmp -s "$work/saved.inf" "$work/again.inf" || fail "discarding the changes wrote again.inf"
[ ! -e "$work/.again.inf.lock" ] || fail "the new level kept the old file's lock"

mkfifo "$work/pipe.inf"
# The selector starts in the working directory, where the files are.
window_shot "$work/new.png"
hold_key ctrl+o
xdotool type --delay 40 "pipe.inf"
sleep 0.3
hold_key Return
sleep 0.5
[ "$(title)" = "pwe-edit - new level" ] || fail "a refused open changed the editor: '$(title)'"
window_shot "$work/refused.png"
[ "$(differing_pixels "$work/new.png" "$work/refused.png")" -gt 1000 ] ||
  fail "a refused open said nothing"
hold_key Return  # the message's OK
hold_key ctrl+o
xdotool type --delay 40 "again.inf"
sleep 0.3
hold_key Return
wait_title "pwe-edit - again.inf" 5 || fail "Ctrl+O did not open again.inf: '$(title)'"

hold_key Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo PASS
