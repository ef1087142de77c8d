# The levels of a set at hand: the title names the set and the level's
# place in it; Page Down opens the next level and Page Up the previous,
# round the list; with unsaved changes Page Up asks first, Cancel keeps
# the level, Discard opens the other and leaves the file as it was.
source "$(dirname "$0")/edit_lib.sh" "$@"
start_x
set_dir="$work/caves"
mkdir -p "$set_dir"
for name in a b c; do cp "$work/media/level1.inf" "$set_dir/$name.inf"; done
printf 'title = Caves\nlevel = a.inf\nlevel = b.inf\nlevel = c.inf\n' >"$set_dir/set.cfg"

start_editor caves/b.inf media
wait_editor
[ "$(title)" = "pwe-edit - b.inf - Caves 2/3" ] || fail "title '$(title)' for the set's second level"
key_to Next
wait_title "pwe-edit - c.inf - Caves 3/3" 5 || fail "Page Down opened '$(title)'"
key_to Next
wait_title "pwe-edit - a.inf - Caves 1/3" 5 || fail "Page Down from the last opened '$(title)'"
cp "$set_dir/a.inf" "$work/a-before.inf"
click_at 300 100
wait_title "pwe-edit - a.inf - Caves 1/3 *" 5 || fail "no unsaved change: '$(title)'"
hold_key Prior
hold_key c
[ "$(title)" = "pwe-edit - a.inf - Caves 1/3 *" ] || fail "Cancel did not keep the level: '$(title)'"
hold_key Prior
hold_key d
wait_title "pwe-edit - c.inf - Caves 3/3" 5 || fail "Page Up after Discard opened '$(title)'"
cmp -s "$work/a-before.inf" "$set_dir/a.inf" || fail "discarding the changes wrote a.inf"
key_to Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo PASS
