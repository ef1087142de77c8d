# Another program taking the keyboard for 30 ms (a screenshot tool, a
# desktop's volume key) does not pause the game; a grab of a second does,
# as [game] pause_on_focus_loss chooses: 1 until P, 2 until the focus is
# back, 0 not at all.
source "$(dirname "$0")/lib.sh" "$@"
xgrab="$(dirname "$pwe")/tests/pwe-xgrab"
[ -x "$xgrab" ] || fail "no pwe-xgrab at $xgrab"
lost="Paused: the window lost the focus."
back="Resumed: the window has the focus again."

# Plays into the first level with the given choice, its window focused.
play_with() {
  sed -i "s/^pause_on_focus_loss = .*/pause_on_focus_loss = $1/" "$work/media/pwe.cfg"
  grep -qx "pause_on_focus_loss = $1" "$work/media/pwe.cfg" || fail "no pause_on_focus_loss in pwe.cfg"
  start_game
  wait_window
  press "$wid" x 0.1
  wait_log "Beginning level." 15 || fail "the first level did not begin"
  xdotool windowfocus --sync "$wid" 2>/dev/null
  sleep 0.3
}

quit_game() {
  press "$wid" Escape
  wait_exit 10
  [ "$status" -eq 0 ] || fail "exit status $status after Escape"
}

start_x
play_with 1
for _ in 1 2 3; do
  "$xgrab" 30 || fail "the keyboard could not be grabbed"
  sleep 0.3
done
[ "$(count_log "$lost")" -eq 0 ] || fail "a 30 ms grab paused the game"
"$xgrab" 1000 || fail "the keyboard could not be grabbed"
wait_log "$lost" 5 || fail "a grab of a second did not pause"
sleep 0.5
[ "$(count_log "$back")" -eq 0 ] || fail "the focus coming back resumed the game"
quit_game

play_with 2
"$xgrab" 1000 || fail "the keyboard could not be grabbed"
wait_log "$lost" 5 || fail "a grab of a second did not pause with choice 2"
wait_log "$back" 5 || fail "the focus coming back did not resume with choice 2"
quit_game

play_with 0
"$xgrab" 1000 || fail "the keyboard could not be grabbed"
sleep 0.5
[ "$(count_log "$lost")" -eq 0 ] || fail "a grab paused the game with choice 0"
quit_game
echo PASS
