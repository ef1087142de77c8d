# The editor's window is known to the desktop as pwe-edit, apart from the
# game's, and shows the project's icon.
source "$(dirname "$0")/edit_lib.sh" "$@"
xicon="$(dirname "$pwe")/../tests/pwe-xicon"
[ -x "$xicon" ] || fail "no pwe-xicon at $xicon"
start_x
start_editor media/level1.inf
wait_editor
check_window_identity "$wid" pwe-edit "$xicon"
key_to Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo PASS
