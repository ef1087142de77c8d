# A whole run with the log off (title card, a little play, a walk, Escape)
# creates, changes and removes nothing in the game's working directory:
# names, kinds, sizes, modes, modification times and contents are the same
# before and after.
source "$(dirname "$0")/lib.sh" "$@"
export LC_ALL=C
# The game's own output goes outside the directory under watch.
outside="$(mktemp -d /tmp/pwe-outside-XXXXXX)"
trap 'rm -rf "$outside"; cleanup' EXIT

# Every entry below $work with what can change about it, and a checksum of
# every file's content.
snapshot() {
  (cd "$work" &&
    find . -printf '%y %m %s %T@ %p\n' | sort &&
    find . -type f -print0 | sort -z | xargs -0 sha256sum)
}

before="$(snapshot)"
[ "$(grep -c '^f ' <<<"$before")" -ge 90 ] || fail "the media copy is not complete"
start_x
(cd "$work" && exec env -u PWE_LOG "$pwe" >"$outside/stdout.txt" 2>"$outside/stderr.txt") &
game_pid=$!
# Searching for windows while the game connects to the X server can make
# its start-up fail; it is up well within a second.
sleep 1
game_log_off=1
wait_window
press "$wid" x 0.1  # ends the title card
sleep 1
xdotool windowfocus --sync "$wid" 2>/dev/null
xdotool keydown Right
sleep 0.5
xdotool keyup Right
sleep 0.3
press "$wid" Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status; $(grep -v ALSA "$outside/stderr.txt" | tail -n 3)"
after="$(snapshot)"
if [ "$before" != "$after" ]; then
  diff <(echo "$before") <(echo "$after") >&2
  fail "the run changed its working directory"
fi
echo "$(grep -c . <<<"$before") entries unchanged"
echo PASS
