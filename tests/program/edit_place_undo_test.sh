# Two tiles placed by clicking on a new level, the second undone with
# Ctrl+Z, Ctrl+S: the file holds the first tile and not the second, where
# the grid of the tile's size (16 x 8) puts it, and the editor leaves on
# Escape.
source "$(dirname "$0")/edit_lib.sh" "$@"
start_x
start_editor new.inf
wait_editor
[ "$(title)" = "pwe-edit - new.inf" ] || fail "title '$(title)' for a new level"
click_at 100 203
click_at 300 203
wait_title "pwe-edit - new.inf *" 5 || fail "no unsaved-changes mark after two clicks: '$(title)'"
key_to ctrl+z
key_to ctrl+s
wait_title "pwe-edit - new.inf" 5 || fail "still unsaved after Ctrl+S: '$(title)'"
[ -f "$work/new.inf" ] || fail "Ctrl+S wrote no new.inf"
# A new level starts with a floor along the bottom; the clicks were above it.
tiles="$(tiles_of "$work/new.inf" | awk '$2 == 200')"
[ "$tiles" = "96 200 $(echo "$tiles" | cut -d' ' -f3)" ] ||
  fail "expected the one tile at 96 200 in row 200, the file holds: $tiles"
[ ! -e "$work/new.inf.tmp" ] || fail "the temporary file was left behind"
key_to Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo PASS
