# Shared by the whole-program tests: a private X server, a private copy of
# the media tree, starting the game, waiting on it with bounds, and
# stopping it the only safe way (SIGKILL) when it is stuck.
#
# A script sources this with the game executable and the source directory
# as $1 and $2, then works in $work (the copy's root, the game's cwd).

pwe="$1"
src="$2"
work="$(mktemp -d /tmp/pwe-program-XXXXXX)"
game_pid=""
xvfb_pid=""

fail() {
  echo "FAIL: $*" >&2
  if [ -f "$work/pwe.log" ]; then
    echo "--- last log lines ---" >&2
    tail -n 15 "$work/pwe.log" >&2
  fi
  exit 1
}

cleanup() {
  if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then
    kill -KILL "$game_pid" 2>/dev/null
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT

[ -x "$pwe" ] || fail "no game executable at $pwe"
[ -f "$src/media/pwe.cfg" ] || fail "no media tree at $src/media"
cp -r "$src/media" "$work/media"

# Each test has an X server of its own, so games of tests running side by
# side never cover each other's windows or take each other's keys. Its
# desktop is $x_screen, 1024x768 unless a test sets it.
start_x() {
  local n=$(( 600 + RANDOM % 300 ))
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$(( n + 1 )); done
  Xvfb ":$n" -screen 0 "${x_screen:-1024x768}x24" -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.05
  done
  [ -e "/tmp/.X11-unix/X$n" ] || fail "Xvfb :$n did not start"
  export DISPLAY=":$n"
}

# Starts the game in $work with its log on, given this function's
# arguments; extra PATH entries first.
start_game() {
  (cd "$work" && PWE_LOG=1 PATH="${extra_path:+$extra_path:}$PATH" \
     exec "$pwe" "$@" >"$work/stdout.txt" 2>"$work/stderr.txt") &
  game_pid=$!
}

# Sets $wid to the game's window, once it is mapped (on this private
# server the game's is the only one).
# Asking the X server for windows while the game connects to it can make
# allegro_init fail, so the search starts only once start-up is past that.
# A game run with its log off gets a moment instead.
wait_window() {
  if [ "${game_log_off:-0}" = 1 ]; then
    sleep 1
  else
    wait_log "Keyboard initialized." 10 || fail "the game did not get past start-up"
  fi
  wid=$(timeout 10 xdotool search --sync --onlyvisible --name '^Pitwick Engine$' 2>/dev/null | head -n 1)
  [ -n "$wid" ] || fail "the game window did not appear"
}

# Starts the game on this test's X server and plays into the first level:
# its window in $wid, the title card skipped, the level begun.
play_first_level() {
  start_x
  start_game
  wait_window
  press "$wid" x 0.1
  wait_log "Beginning level." 15 || fail "the first level did not begin"
}

# Waits up to $2 seconds until the log holds a line equal to $1.
wait_log() {
  local deadline=$(( SECONDS + $2 ))
  while [ $SECONDS -lt $deadline ]; do
    grep -qxF -- "$1" "$work/pwe.log" 2>/dev/null && return 0
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  grep -qxF -- "$1" "$work/pwe.log" 2>/dev/null
}

# Waits up to $1 seconds for the game to end; its exit status in $status.
# A game that does not end is killed with SIGKILL and the test fails.
wait_exit() {
  local deadline=$(( SECONDS + $1 ))
  while kill -0 "$game_pid" 2>/dev/null; do
    if [ $SECONDS -ge $deadline ]; then
      kill -KILL "$game_pid" 2>/dev/null
      wait "$game_pid" 2>/dev/null
      game_pid=""
      fail "the game did not end within $1 seconds"
    fi
    sleep 0.1
  done
  wait "$game_pid"
  status=$?
  game_pid=""
}

# A key held long enough for at least one game tick to see it.
# The game may be gone before the release (Escape), so xdotool's
# complaints about a vanished window are not news.
press() {
  xdotool keydown --window "$1" "$2" 2>/dev/null
  sleep "${3:-0.3}"
  xdotool keyup --window "$1" "$2" 2>/dev/null
}

screenshot() {
  xwd -root -display "$DISPLAY" | convert xwd:- "$1"
}

# Number of pixels that are not black in the box W x H at (X, Y) of a PNG.
lit_pixels() {
  convert "$1" -crop "$2x$3+$4+$5" +repage -fx 'r+g+b>0 ? 1 : 0' \
    -format '%[fx:round(mean*w*h)]' info:
}

count_log() {
  grep -cxF -- "$1" "$work/pwe.log" 2>/dev/null || true
}

# Fails unless window $1 has the class $2 (as both its instance and class
# names) and shows the project's icon, pixel for pixel; $3 is pwe-xicon.
check_window_identity() {
  local class
  class=$(xprop -id "$1" WM_CLASS 2>/dev/null)
  [ "$class" = "WM_CLASS(STRING) = \"$2\", \"$2\"" ] || fail "the window's class is not $2: $class"
  xprop -id "$1" WM_HINTS 2>/dev/null | grep -q "bitmap id # to use for icon" ||
    fail "the window has no icon"
  "$3" "$1" >"$work/icon.pam" || fail "the window's icon could not be read"
  local differing
  differing=$(compare -metric AE "$src/dist/icons/pwe-48.png" "$work/icon.pam" null: 2>&1)
  [ "$differing" = "0" ] || fail "the window's icon is not the project's: $differing pixels differ"
}

# The first level without its enemies, items and teleporters (which move or
# animate) and with only its last tile claimable, so that nothing on it
# changes for the first three seconds, when the countdown first changes.
still_first_level() {
  python3 - "$work/media/level1.inf" <<'PY' || fail "could not change the level"
import sys
path = sys.argv[1]
lines = open(path).read().split("\n")
at = 5
for kind in range(6):  # tiles, ladders, chutes, enemies, items, teleporters
    while lines[at].strip() == "":
        at += 1
    count = int(lines[at])
    if kind == 0:
        for i in range(at + 1, at + count):
            fields = lines[i].split()
            fields[4] = "0"
            lines[i] = " ".join(fields)
    if kind >= 3:
        del lines[at + 1:at + 1 + count]
        lines[at] = "0"
        count = 0
    at += 1 + count
open(path, "w").write("\n".join(lines))
PY
}

# The still first level at [display] scale $1 on a 1600x1200 desktop: the
# game started, its window in $wid, checked to be $2 (WIDTHxHEIGHT).
start_still_game_at_scale() {
  render="$(dirname "$pwe")/tools/pwe-render"
  [ -x "$render" ] || fail "no pwe-render at $render"
  still_first_level
  sed -i "s/^scale = 1\$/scale = $1/" "$work/media/pwe.cfg"
  grep -qx "scale = $1" "$work/media/pwe.cfg" || fail "no [display] scale $1 in pwe.cfg"
  x_screen=1600x1200
  start_x
  start_game
  wait_window
  [ "$(window_size)" = "$2" ] || fail "the window is $(window_size), not $2"
}

start_still_scaled_game() {
  start_still_game_at_scale 2 1280x960
}

window_size() {
  xwininfo -id "$wid" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
}

# Fails unless the window shows pwe-render's first frame of the level with
# every pixel doubled; $1 says when.
expect_frame_doubled() {
  xwd -id "$wid" -display "$DISPLAY" | convert xwd:- "$work/window.png"
  (cd "$work" && "$render" level1.inf "$work/frame.png" media) || fail "pwe-render failed"
  convert "$work/frame.png" -sample 200% "$work/doubled.png"
  local differing
  differing=$(compare -metric AE "$work/window.png" "$work/doubled.png" null: 2>&1)
  [ "$differing" = "0" ] || fail "$differing pixels differ from the frame doubled $1"
}
