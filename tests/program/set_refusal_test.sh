# Level sets the game must refuse, and how: a set's file that is no file
# (a FIFO, a folder) ends the run with status 1 and the engine's message
# naming the set's file where it lies, without waiting on it; a call that
# names no set, or a folder as one level, is refused with status 2 before
# any window opens, the sets beside the game listed. The message box is a
# stub xmessage that keeps its text (the last argument) in message.txt.
source "$(dirname "$0")/lib.sh" "$@"
stub="$work/stub"
mkdir -p "$stub"
cat >"$stub/xmessage" <<'STUB'
#!/bin/sh
for last; do :; done
printf '%s\n' "$last" >>message.txt
exit 101
STUB
chmod +x "$stub/xmessage"
extra_path="$stub"

caves="$work/sets/my caves"
mkdir -p "$caves" "$work/sets/deep"
cp "$work/media/level1.inf" "$caves/cave.inf"
tall="$work/tall set"
mkdir -p "$tall/player.inf"
cp "$work/media/level1.inf" "$tall/a.inf"
fifo="$work/fifo set"
mkdir -p "$fifo"
mkfifo "$fifo/cave.inf"

# Refused before any window: status 2 and the line on standard error.
refused_at_once() {
  local said=$1
  shift
  (cd "$work" && "$pwe" "$@" >"$work/stdout.txt" 2>"$work/stderr.txt")
  status=$?
  [ "$status" -eq 2 ] || fail "pwe $* ended with $status, not 2"
  grep -qxF -- "$said" "$work/stderr.txt" || fail "pwe $* said: $(cat "$work/stderr.txt")"
}

refused_at_once "pwe: nosuch is no set, tree or level file; the sets beside the game are: deep my caves" nosuch
refused_at_once "pwe: $caves is a folder, not a level file" --level "$caves"

# Ends with status 1 and the box within ten seconds of the window.
stops_with() {
  local box=$1
  shift
  rm -f "$work/message.txt"
  start_x
  start_game "$@"
  wait_window
  press "$wid" x 0.1
  wait_exit 10
  [ "$status" -eq 1 ] || fail "pwe $* ended with $status, not 1"
  [ "$(cat "$work/message.txt" 2>/dev/null)" = "$box" ] ||
    fail "pwe $* showed: $(cat "$work/message.txt" 2>/dev/null)"
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
}

stops_with "Error loading \"$fifo/cave.inf\"" --level "$fifo/cave.inf"
stops_with "Error loading \"$fifo/cave.inf\"" "$fifo"
stops_with "Error loading $tall/player.inf" "$tall"
echo PASS
