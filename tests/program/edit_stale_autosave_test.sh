# An autosave copy recovered and undone back to the file's level is
# removed when the editor is left: it is not offered again.
source "$(dirname "$0")/edit_lib.sh" "$@"
start_x
cp "$work/media/level1.inf" "$work/mine.inf"
cp "$work/media/level2.inf" "$work/mine.inf.autosave"
touch -d '+2 seconds' "$work/mine.inf.autosave"
start_editor mine.inf
wait_editor
sleep 0.5
key_to r  # Recover
wait_title "pwe-edit - mine.inf *" 5 || fail "not recovered: '$(title)'"
key_to ctrl+z
wait_title "pwe-edit - mine.inf" 5 || fail "undo did not come back to the file: '$(title)'"
key_to Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
[ ! -e "$work/mine.inf.autosave" ] || fail "the stale autosave copy is still there"
cmp -s "$work/media/level1.inf" "$work/mine.inf" || fail "the file changed"
echo PASS
