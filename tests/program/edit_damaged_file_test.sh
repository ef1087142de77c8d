# A level file the checker's reader does not read whole (here one that
# begins with a byte-order mark, which the engine's loader reads as an
# empty level) opens read-only and says why; Ctrl+S asks before replacing
# it, and cancelled, leaves the file byte for byte as it was.
source "$(dirname "$0")/edit_lib.sh" "$@"
start_x
printf '\xEF\xBB\xBF' >"$work/bom.inf"
cat "$work/media/level1.inf" >>"$work/bom.inf"
before=$(sha256sum <"$work/bom.inf")
start_editor bom.inf
wait_editor
[ "$(title)" = "pwe-edit - bom.inf (read-only)" ] || fail "not opened read-only: '$(title)'"
key_to Return   # the message saying why
key_to ctrl+s   # asks: Replace it, or Cancel (the default)
key_to Return
[ "$(sha256sum <"$work/bom.inf")" = "$before" ] || fail "Ctrl+S changed the damaged file"
[ ! -e "$work/bom.inf~" ] || fail "a backup was written for a save that did not happen"
key_to Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
[ "$(sha256sum <"$work/bom.inf")" = "$before" ] || fail "the damaged file changed"
[ ! -e "$work/.bom.inf.lock" ] || fail "the lock file outlived the editor"
echo PASS
