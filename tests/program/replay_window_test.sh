# The route pwe-check writes for the first level plays in the game's
# window with no key pressed: the player walks and claims tiles, Escape
# ends it at once with status 0; a recording cut short ends by itself
# after its last frame was held; recordings made for other data, or not
# there at all, are refused with status 2 and one line, before any window.
source "$(dirname "$0")/lib.sh" "$@"
check="$(dirname "$pwe")/tools/pwe-check"
[ -x "$check" ] || fail "no pwe-check at $check"

(cd "$work" && "$check" --route level1.inf route.replay >"$work/check.txt" 2>&1)
[ -s "$work/route.replay" ] || fail "pwe-check wrote no route: $(cat "$work/check.txt")"

# Starts the game on recording $1 (relative to $work), its log on.
watch() {
  rm -f "$work/pwe.log"
  (cd "$work" && PWE_LOG=1 exec "$pwe" --replay "$1" >"$work/stdout.txt" 2>"$work/stderr.txt") &
  game_pid=$!
}

# The game area below the panels, from a picture of the window.
play_area() {
  xwd -id "$wid" -display "$DISPLAY" | convert xwd:- -crop 640x420+0+40 +repage "$1"
}

start_x
watch route.replay
wait_window
wait_log "Watching a recording of level1.inf." 10 || fail "the recording did not start"
play_area "$work/early.png"
sleep 2
play_area "$work/later.png"
differing=$(compare -metric AE "$work/early.png" "$work/later.png" null: 2>&1)
[ "$differing" -gt 50 ] || fail "the picture hardly changed in two seconds ($differing pixels)"
# Only the player claims tiles, and nobody pressed a key.
[ "$(grep -c "for clearing tile" "$work/pwe.log")" -gt 0 ] || fail "no tile was claimed"
press "$wid" Escape 0.3
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
grep -qxF "The recording has ended." "$work/pwe.log" && fail "Escape did not end the recording at once"

# The route's first second alone: the game ends by itself, the last frame
# having stayed up a while.
sed -n '1,/^keys$/p' "$work/route.replay" >"$work/short.replay"
echo "100 R" >>"$work/short.replay"
watch short.replay
wait_window
wait_log "The recording has ended." 15 || fail "the recording did not run to its end"
sleep 1
kill -0 "$game_pid" 2>/dev/null || fail "the last frame was not held"
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status at the end of a recording"

# Refusals: $1 the recording, $2 the whole line on standard error.
expect_refused() {
  watch "$1"
  wait_exit 10
  [ "$status" -eq 2 ] || fail "exit status $status for $1, not 2"
  [ "$(cat "$work/stderr.txt")" = "$2" ] || fail "for $1 the game said: $(cat "$work/stderr.txt")"
  [ ! -e "$work/pwe.log" ] || fail "the game started on the refused $1"
}
sed 's/^level-hash .*/level-hash 0123456789abcdef/' "$work/route.replay" >"$work/other.replay"
expect_refused other.replay "pwe: other.replay: media/level1.inf changed since this recording was made"
sed 's/^level .*/level level7.inf/' "$work/route.replay" >"$work/unknown.replay"
expect_refused unknown.replay \
  "pwe: unknown.replay: the recording's level 'level7.inf' is none of the levels level1.inf to level4.inf"
expect_refused missing.replay "pwe: cannot open missing.replay"
echo "walk_left = something else" >>"$work/media/player.inf"
expect_refused route.replay "pwe: route.replay: media/player.inf changed since this recording was made"
echo PASS
