# F11 switches to full screen and F11 again back to the window, or, where
# the display has no full screen, says so in one line on standard error and
# stays: either way the window comes back at the size it had, its pixels
# still sharp at scale 2, the frame whole on it (a screenshot equals
# pwe-render's frame with every pixel doubled), and Alt+Enter does the same.
source "$(dirname "$0")/lib.sh" "$@"
start_still_scaled_game
press "$wid" x 0.1
wait_log "Beginning level." 15 || fail "the first level did not begin"
begun=$(date +%s%N)
before=$(window_size)
[ "$before" = "1280x960" ] || fail "the window is $before before F11, not 1280x960"

switch_twice() {
  local keys="$1" want="$2"
  # The game keeps its one window through the switches (unmapped while
  # full screen), so the keys go on going to it.
  for _ in 1 2; do
    press "$wid" "$keys" 0.15
    sleep 0.2
  done
  local seen
  seen=$(grep -c '^Display \(switched\|not switched\)' "$work/pwe.log")
  [ "$seen" -eq "$want" ] || fail "$seen switches logged after $keys, not $want"
}
switch_twice F11 2
switch_twice alt+Return 4
# The frame on show is the level's first only until the countdown first
# changes, three seconds in; a machine too loaded to switch four times well
# before then leaves no frame to compare with, and says so.
elapsed_ms=$(( ($(date +%s%N) - begun) / 1000000 ))
if [ "$elapsed_ms" -lt 2200 ]; then
  expect_frame_doubled "after the switches"
else
  echo "the switches took $elapsed_ms ms: the frame was not compared"
fi
# One line for each switch the display refused, none for the others.
failures=$(grep -c '^pwe: cannot switch to ' "$work/stderr.txt")
refused=$(grep -c '^Display not switched' "$work/pwe.log")
[ "$failures" -eq "$refused" ] || fail "$failures lines on standard error for $refused refusals"

after=$(window_size)
[ "$after" = "$before" ] || fail "the window is $after after the switches, not $before"
press "$wid" Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo PASS
