# A play-test pauses like the game: after P, a held arrow walks nobody,
# so no path is drawn; Escape still ends the paused play-test, and the
# next one plays unpaused and draws the path walked.
source "$(dirname "$0")/edit_lib.sh" "$@"
start_x
start_editor level1.inf
wait_editor

# Pixels of the path's own colour (40, 230, 255) in the editor's window.
# The path ends in a dot of 21 pixels; a walk adds its line to that.
path_pixels() {
  xwd -id "$wid" -display "$DISPLAY" | convert xwd:- "$work/$1.png"
  convert "$work/$1.png" -fx 'abs(r*255-40)<2 && abs(g*255-230)<2 && abs(b*255-255)<2 ? 1 : 0' \
    -format '%[fx:round(mean*w*h)]' info:
}

walk_right() {
  xdotool windowfocus --sync "$wid" 2>/dev/null
  xdotool keydown Right
  sleep 1
  xdotool keyup Right
}

key_to F5
sleep 0.5
xdotool windowfocus --sync "$wid" 2>/dev/null
press "$wid" p 0.1
sleep 0.2
walk_right
press "$wid" Escape 0.3
sleep 0.5
kill -0 "$game_pid" 2>/dev/null || fail "the editor ended with the paused play-test"
paused=$(path_pixels paused)
[ "$paused" -le 25 ] || fail "the player walked in a paused play-test ($paused path pixels)"

key_to F5
sleep 0.5
walk_right
press "$wid" Escape 0.3
sleep 0.5
walked=$(path_pixels walked)
[ "$walked" -gt 40 ] || fail "the play-test after a paused one did not play ($walked path pixels)"
key_to Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo PASS
