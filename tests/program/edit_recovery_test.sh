# An autosave copy newer than its file is offered when the file is opened;
# recovering and saving writes the copy's level, the copy is gone, and the
# window's close button then ends the editor, nothing being unsaved.
source "$(dirname "$0")/edit_lib.sh" "$@"
xclose="$(dirname "$pwe")/../tests/pwe-xclose"
[ -x "$xclose" ] || fail "no pwe-xclose at $xclose"
start_x
cp "$work/media/level1.inf" "$work/mine.inf"
cp "$work/media/level2.inf" "$work/mine.inf.autosave"
touch -d '+2 seconds' "$work/mine.inf.autosave"
start_editor mine.inf
wait_editor  # the title names the file once the question is up
sleep 0.5
key_to r  # the question's Recover
wait_title "pwe-edit - mine.inf *" 5 || fail "the recovered copy is not an unsaved change: '$(title)'"
key_to ctrl+s
wait_title "pwe-edit - mine.inf" 5 || fail "not saved: '$(title)'"
cmp "$work/media/level2.inf" "$work/mine.inf" || fail "the saved file is not the autosave copy's level"
[ ! -e "$work/mine.inf.autosave" ] || fail "the autosave copy outlived the save"
"$xclose" "$wid" || fail "pwe-xclose failed"
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after the close button"
echo PASS
