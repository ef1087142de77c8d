# Escape during the first level ends the run with status 0; no other level
# file is opened.
source "$(dirname "$0")/lib.sh" "$@"
start_x
start_game
wait_window
press "$wid" x 0.1  # any key ends the title card
wait_log "Beginning level." 15 || fail "the first level did not begin"
sleep 0.5
press "$wid" Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
[ "$(count_log "Loading level data from media/level1.inf")" -eq 1 ] || fail "level1.inf not loaded once"
grep -q "Loading level data from media/level2.inf" "$work/pwe.log" && fail "a second level was opened"
[ "$(count_log "Lives = 0")" -eq 0 ] || fail "lives were lost"
echo PASS
