# A quick Ctrl+Shift+S whose Shift is let go before the editor reads the
# key still asks for a new name: the modifiers are those held as the key
# went down. Each try leaves the file as it was and puts the save-as
# dialog up (which Escape then closes).
source "$(dirname "$0")/edit_lib.sh" "$@"
start_x
cp "$work/media/level1.inf" "$work/mine.inf"
cp "$work/mine.inf" "$work/before.inf"
start_editor mine.inf
wait_editor
click_at 300 100
wait_title "pwe-edit - mine.inf *" 5 || fail "the click made no change: '$(title)'"
for try in $(seq 10); do
  window_shot "$work/map.png"
  # As a quick hand does it: Shift up first, all within a frame.
  xdotool keydown --delay 0 ctrl shift s keyup --delay 0 shift s ctrl
  sleep 0.7
  cmp -s "$work/mine.inf" "$work/before.inf" || fail "try $try: the chord saved over the file"
  [ "$(title)" = "pwe-edit - mine.inf *" ] || fail "try $try: the title says '$(title)'"
  window_shot "$work/dialog.png"
  [ "$(differing_pixels "$work/map.png" "$work/dialog.png")" -gt 5000 ] ||
    fail "try $try: no save-as dialog came up"
  key_to Escape
done
echo PASS
