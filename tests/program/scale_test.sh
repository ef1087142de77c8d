# At [display] scale 2 the window shows each game pixel as a sharp 2 x 2
# block: a screenshot of a level's first frame equals pwe-render's frame of
# it with every pixel doubled. The level is the first without its
# enemies, items and teleporters (which move or animate) and with only its
# last tile claimable, so that nothing changes before the screenshot; the
# countdown changes only after three seconds.
source "$(dirname "$0")/lib.sh" "$@"
start_still_scaled_game
press "$wid" x 0.1
wait_log "Beginning level." 15 || fail "the first level did not begin"
sleep 1
expect_frame_doubled "on show"
press "$wid" Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo PASS
