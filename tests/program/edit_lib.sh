# Shared by the editor's whole-program tests: lib.sh's private X server and
# media copy, with pwe-edit as the program. Sourced with pwe-edit and the
# source directory as $1 and $2.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"

# Starts pwe-edit in $work with the given arguments.
start_editor() {
  (cd "$work" && exec "$pwe" "$@" >"$work/stdout.txt" 2>"$work/stderr.txt") &
  game_pid=$!
}

# Sets $wid to the editor's window once it takes input: the title says
# "loading" until then. The editor keeps no log, so it gets a moment to
# connect before the server is asked for windows (asking while Allegro
# connects can make it fail).
wait_editor() {
  sleep 1
  wid=$(timeout 15 xdotool search --sync --onlyvisible --name '^pwe-edit' 2>/dev/null | head -n 1)
  [ -n "$wid" ] || fail "the editor window did not appear: $(cat "$work/stderr.txt")"
  local deadline=$(( SECONDS + 20 ))
  while [ "$(title)" = "pwe-edit - loading" ] && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
  [ "$(title)" != "pwe-edit - loading" ] || fail "the editor did not finish loading"
  xdotool windowfocus --sync "$wid" 2>/dev/null
}

# A left click at (x, y) of the game area, held long enough for a frame to
# see it.
click_at() {
  xdotool mousemove --window "$wid" "$1" "$2"
  sleep 0.2
  xdotool mousedown 1
  sleep 0.2
  xdotool mouseup 1
  sleep 0.2
}

# A key or chord (xdotool's names: ctrl+s, Escape, F5) to the editor.
key_to() {
  xdotool key --window "$wid" "$1"
  sleep 0.5
}

# A key or chord held down for a moment and let go, as a hand types it
# (a quick tap can end before a frame reads the modifiers).
hold_key() {
  xdotool keydown "$1"
  sleep 0.1
  xdotool keyup "$1"
  sleep 0.5
}

# The editor's window as a PNG at $1; with $2 (WxH+X+Y) only that part.
window_shot() {
  if [ -n "${2:-}" ]; then
    xwd -id "$wid" -display "$DISPLAY" | convert xwd:- -crop "$2" +repage "$1"
  else
    xwd -id "$wid" -display "$DISPLAY" | convert xwd:- "$1"
  fi
}

# Waits up to $1 seconds for the live checks' warning colour to show on
# the map: the proof with the enemies marks an enemy that passes close,
# last of all the checks, and a picture taken before it is no picture of
# the map the author goes on to see.
wait_warning_mark() {
  local deadline=$(( SECONDS + $1 ))
  while [ $SECONDS -lt $deadline ]; do
    window_shot "$work/marks.png" 640x480+0+0
    [ "$(convert "$work/marks.png" -fill black +opaque 'rgb(255,190,40)' -fill white \
           -opaque 'rgb(255,190,40)' -format '%[fx:mean>0]' info:)" = "1" ] && return 0
    sleep 0.5
  done
  return 1
}

# Number of pixels that differ between two pictures.
differing_pixels() {
  compare -metric AE "$1" "$2" null: 2>&1
}

# The title names the file and marks unsaved changes with " *".
title() {
  xdotool getwindowname "$wid" 2>/dev/null
}

# Waits up to $2 seconds for the title to be $1.
wait_title() {
  local deadline=$(( SECONDS + $2 ))
  while [ $SECONDS -lt $deadline ]; do
    [ "$(title)" = "$1" ] && return 0
    sleep 0.1
  done
  [ "$(title)" = "$1" ]
}

# The floor tiles of a level file, one "x y name" line each. The file is
# read as the loader reads it, token by token: twelve header numbers, the
# tile count, then six tokens a tile.
tiles_of() {
  tr -s ' \t\r' '\n\n\n' <"$1" | grep -v '^$' | awk '
    NR == 13 { count = $1; next }
    NR > 13 && (NR - 14) < 6 * count {
      field[(NR - 14) % 6] = $1
      if ((NR - 14) % 6 == 5) print field[0], field[1], field[2]
    }'
}
