# The editor at the largest zoom that fits ([display] scale = 0): on a
# 1920 x 1200 desktop the 640 x 480 map with its status bar and the tool
# strip (752 x 524 in all) is shown at 2, and a click lands on the level pixel under it (the tile tool, grid
# 16 x 8: window point 201, 407 is level pixel 100, 203, in the cell at
# 96, 200). Ctrl+Minus makes the window one screen pixel a level pixel.
source "$(dirname "$0")/edit_lib.sh" "$@"
x_screen=1920x1200
start_x
sed -i 's/^scale = .*/scale = 0/' "$work/media/pwe.cfg"
start_editor new.inf
wait_editor
size() { xwininfo -id "$wid" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }
zoomed="$(size)"
click_at 201 407
wait_title "pwe-edit - new.inf *" 5 || fail "the click placed nothing: '$(title)'"
key_to ctrl+s
wait_title "pwe-edit - new.inf" 5 || fail "still unsaved after Ctrl+S: '$(title)'"
placed="$(tiles_of "$work/new.inf" | awk '$2 != 472 { print $1, $2 }')"
[ "$placed" = "96 200" ] || fail "the click at zoom 2 placed tiles at: '$placed'"
hold_key ctrl+minus
sleep 0.5
plain="$(size)"
key_to Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
[ "$plain" = "$(echo "$zoomed" | awk -Fx '{ print $1 / 2 "x" $2 / 2 }')" ] ||
  fail "Ctrl+Minus made the $zoomed window $plain"
[ "$zoomed" = "1504x1048" ] || fail "the window at the largest zoom that fits is $zoomed"
echo PASS
