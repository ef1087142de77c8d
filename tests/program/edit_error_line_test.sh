# The form's error line shows the first problem it has now, or nothing: a
# countdown typed wrong puts a reason in red under the fields, and mending
# it leaves no red there at all.
source "$(dirname "$0")/edit_lib.sh" "$@"
start_x
start_editor new.inf
wait_editor
xdotool mousemove --window "$wid" 5 5
key_to l
# The level's form, 600 x 258 centred in the 752 x 524 window (the map and
# the tool strip): its two error lines lie at (86, 337), 580 x 20. Its first box, the countdown,
# has the focus.
red_in_error_lines() {
  xwd -id "$wid" -display "$DISPLAY" | convert xwd:- -crop 580x20+86+337 +repage \
    -fx 'r>0.6 && g<0.25 && b<0.25 ? 1 : 0' -format '%[fx:round(mean*w*h)]' info:
}
[ "$(red_in_error_lines)" = "0" ] || fail "a reason shows before anything was typed"
key_to End
key_to x
red="$(red_in_error_lines)"
[ "$red" -gt 0 ] || fail "no reason shows for a countdown of 4000x"
key_to BackSpace
red="$(red_in_error_lines)"
[ "$red" = "0" ] || fail "$red red pixels left on the error line after the countdown was mended"
key_to Escape
key_to Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo PASS
