# At the stock scale of 1, F11 fills a 1600x1200 screen with the frame at
# the largest whole scale that fits (2: every pixel a sharp 2x2 block),
# centred on black; F11 again gives back the 640x480 window.
source "$(dirname "$0")/lib.sh" "$@"
start_still_game_at_scale 1 640x480
press "$wid" x 0.1
wait_log "Beginning level." 15 || fail "the first level did not begin"

press "$wid" F11 0.15
sleep 0.5
grep -qx 'Display switched.' "$work/pwe.log" || fail "F11 did not switch: $(cat "$work/stderr.txt")"
screenshot "$work/screen.png"
(cd "$work" && "$render" level1.inf "$work/frame.png" media) || fail "pwe-render failed"
convert "$work/frame.png" -sample 200% "$work/doubled.png"
convert "$work/screen.png" -crop 1280x960+160+120 +repage "$work/middle.png"
differing=$(compare -metric AE "$work/middle.png" "$work/doubled.png" null: 2>&1)
[ "$differing" = "0" ] || fail "$differing pixels of the middle differ from the frame doubled"
# The border around the picture is black.
convert "$work/screen.png" -fill black -draw 'rectangle 160,120 1439,1079' "$work/border.png"
lit=$(lit_pixels "$work/border.png" 1600 1200 0 0)
[ "$lit" = "0" ] || fail "$lit pixels lit outside the centred picture"

press "$wid" F11 0.15
sleep 0.5
[ "$(count_log 'Display switched.')" = "2" ] || fail "the second F11 did not switch back"
[ "$(window_size)" = "640x480" ] || fail "the window is $(window_size) after F11 twice, not 640x480"
press "$wid" Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo PASS
