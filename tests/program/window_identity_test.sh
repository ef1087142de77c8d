# The game's window is known to the desktop as pwe, the class its desktop
# entry names, and shows the project's icon.
source "$(dirname "$0")/lib.sh" "$@"
xicon="$(dirname "$pwe")/tests/pwe-xicon"
[ -x "$xicon" ] || fail "no pwe-xicon at $xicon"
grep -qx "StartupWMClass=pwe" "$src/dist/pwe.desktop.in" || fail "the desktop entry names no pwe class"
start_x
start_game
wait_window
check_window_identity "$wid" pwe "$xicon"
press "$wid" Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo PASS
