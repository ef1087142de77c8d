# The selection tool through the real window: two tiles placed, selected
# with S and a drag, copied with Ctrl+C and pasted with Ctrl+V where the
# mouse went; Ctrl+S saves the copies and, after Ctrl+Z, their removal.
# Then Ctrl and a drag with the tile tool fill a rectangle, and Escape
# lets go of a selection before it leaves. Tiles are 16 x 8 here.
source "$(dirname "$0")/edit_lib.sh" "$@"

# A key held with Ctrl, as a hand presses them.
ctrl_key() {
  xdotool keydown ctrl
  sleep 0.1
  xdotool keydown "$1"
  sleep 0.1
  xdotool keyup "$1"
  sleep 0.1
  xdotool keyup ctrl
  sleep 0.5
}

# A left drag through the points given as "x y" pairs.
drag_through() {
  xdotool mousemove --window "$wid" "$1" "$2"
  sleep 0.2
  xdotool mousedown 1
  sleep 0.2
  shift 2
  while [ $# -ge 2 ]; do
    xdotool mousemove --window "$wid" "$1" "$2"
    sleep 0.2
    shift 2
  done
  xdotool mouseup 1
  sleep 0.3
}

# Saves and gives the tiles above the new level's floor, sorted.
saved_tiles() {
  ctrl_key s
  wait_title "pwe-edit - new.inf" 5 || fail "still unsaved after Ctrl+S: '$(title)'"
  tiles_of "$work/new.inf" | awk '$2 < 400 { print $1, $2 }' | sort -n -k2 -k1 | tr '\n' ';'
}

start_x
start_editor new.inf
wait_editor
click_at 100 203
click_at 116 203
xdotool keydown s; sleep 0.1; xdotool keyup s; sleep 0.3
drag_through 90 195 110 205 125 210
ctrl_key c
xdotool mousemove --window "$wid" 300 103
sleep 0.3
ctrl_key v
got="$(saved_tiles)"
[ "$got" = "288 96;304 96;96 200;112 200;" ] || fail "after the paste the file holds: $got"

ctrl_key z
got="$(saved_tiles)"
[ "$got" = "96 200;112 200;" ] || fail "after undoing the paste the file holds: $got"

xdotool keydown 1; sleep 0.1; xdotool keyup 1; sleep 0.3
xdotool mousemove --window "$wid" 200 50
sleep 0.2
xdotool keydown ctrl
sleep 0.2
drag_through 200 50 220 55 240 60
xdotool keyup ctrl
sleep 0.3
got="$(saved_tiles)"
want="192 48;208 48;224 48;240 48;192 56;208 56;224 56;240 56;96 200;112 200;"
[ "$got" = "$want" ] || fail "after the fill the file holds: $got"

ctrl_key a
key_to Escape
kill -0 "$game_pid" 2>/dev/null || fail "Escape left the editor with a selection"
key_to Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo PASS
