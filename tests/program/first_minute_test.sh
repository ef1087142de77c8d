# What a new player meets first: the window's title, a short tap of Space
# that skips the title card without making the player jump, Space in the
# level jumping, and the window's close button ending the run with 0.
source "$(dirname "$0")/lib.sh" "$@"
xclose="$(dirname "$pwe")/tests/pwe-xclose"
[ -x "$xclose" ] || fail "no close-request client at $xclose"
jumped="Switching jump state to up."
start_x
start_game
wait_window
title=$(xdotool getwindowname "$wid")
[ "$title" = "Pitwick Engine" ] || fail "the window is titled '$title'"
xdotool windowfocus --sync "$wid" 2>/dev/null
xdotool keydown space
sleep 0.12
xdotool keyup space
wait_log "Beginning level." 15 || fail "the tap of Space did not end the title card"
sleep 0.5
grep -qF -- "$jumped" "$work/pwe.log" && fail "the tap that skipped the title card made the player jump"
xdotool keydown space
sleep 0.3
xdotool keyup space
sleep 0.3
grep -qF -- "$jumped" "$work/pwe.log" || fail "Space in the level did not jump"
"$xclose" "$wid" || fail "the close request could not be sent"
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after the close button"
echo PASS
