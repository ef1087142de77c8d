# The title card is on screen before the game starts, and the game then
# runs until Escape ends it with status 0.
source "$(dirname "$0")/lib.sh" "$@"
start_x
start_game
wait_window
sleep 0.5
screenshot "$work/splash.png"
# Title "Pitwick Engine" in the built-in 8-pixel font, centred on x 320
# from row 200; the version line from row 320; nothing lit between them.
title=$(lit_pixels "$work/splash.png" 140 8 250 200)
version=$(lit_pixels "$work/splash.png" 180 8 230 320)
gap=$(lit_pixels "$work/splash.png" 640 56 0 260)
echo "lit pixels: title $title, version $version, between $gap"
[ "$title" -gt 50 ] && [ "$version" -gt 50 ] && [ "$gap" -eq 0 ] ||
  fail "the title card is not on screen"
# The card ends by itself after four seconds and the first level begins.
wait_log "Beginning level." 15 || fail "the first level did not begin after the card"
press "$wid" Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo PASS
