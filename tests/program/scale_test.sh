# At [display] scale 2 the window shows each game pixel as a sharp 2 x 2
# block: a screenshot of a level's first frame equals pwe-render's frame of
# it with every pixel doubled. The level is the first without its
# enemies, items and teleporters (which move or animate) and with only its
# last tile claimable, so that nothing changes before the screenshot; the
# countdown changes only after three seconds.
source "$(dirname "$0")/lib.sh" "$@"
render="$(dirname "$pwe")/tools/pwe-render"
[ -x "$render" ] || fail "no pwe-render at $render"
still_first_level
sed -i 's/^scale = 1$/scale = 2/' "$work/media/pwe.cfg"
grep -qx 'scale = 2' "$work/media/pwe.cfg" || fail "no [display] scale to set in pwe.cfg"
x_screen=1600x1200
start_x
start_game
wait_window
size=$(xwininfo -id "$wid" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = "1280x960" ] || fail "the window is $size, not 1280x960"
press "$wid" x 0.1
wait_log "Beginning level." 15 || fail "the first level did not begin"
sleep 1
xwd -id "$wid" -display "$DISPLAY" | convert xwd:- "$work/window.png"
(cd "$work" && "$render" level1.inf "$work/frame.png" media) || fail "pwe-render failed"
convert "$work/frame.png" -sample 200% "$work/doubled.png"
differing=$(compare -metric AE "$work/window.png" "$work/doubled.png" null: 2>&1)
[ "$differing" = "0" ] || fail "$differing pixels differ from the frame doubled"
press "$wid" Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo PASS
