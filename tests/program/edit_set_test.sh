# A level of a set, edited as scripts/edit edits ~/pwe-levels: the folder
# has a tile look of its own that its level uses, and no list yet. The
# editor opens the level with the set's look (the map shows it where the
# tree's tile stood), starts the folder's list with --join-set, and a new
# level saved into the folder joins that list.
source "$(dirname "$0")/edit_lib.sh" "$@"
start_x
mine="$work/mine"
mkdir -p "$mine/gfx/static/floor tiles/normal"
# The set's look: the tree's brick in other colours, so the map shows it.
convert "$work/media/gfx/static/floor tiles/normal/brick.png" -negate \
  "$mine/gfx/static/floor tiles/normal/moss.png"
sed '8s/^0 464 brick /0 464 moss /' "$work/media/level1.inf" >"$mine/a.inf"
grep -q '^0 464 moss ' "$mine/a.inf" || fail "the set's level names no moss tile"
cp "$work/media/level1.inf" "$work/plain.inf"

# The tree's level as the tree draws it, for the set's to differ from.
start_editor plain.inf media
wait_editor
window_shot "$work/brick.png" 16x8+0+464
kill -KILL "$game_pid"
wait "$game_pid" 2>/dev/null

start_editor --join-set "My levels" mine/a.inf media
wait_editor
# The list is started before the title is set, so it names the set.
[ "$(title)" = "pwe-edit - a.inf - My levels 1/1" ] ||
  fail "title '$(title)': $(cat "$work/stderr.txt")"
window_shot "$work/moss.png" 16x8+0+464
convert "$work/brick.png" -negate "$work/negated.png"
[ "$(compare -fuzz 4% -metric AE "$work/negated.png" "$work/moss.png" null: 2>&1)" = "0" ] ||
  fail "the set's moss tile is not drawn where the tree's brick was"
printf '# The levels of this set, played in this order.\ntitle = My levels\nlevel = a.inf\n' \
  >"$work/expected.cfg"
cmp -s "$mine/set.cfg" "$work/expected.cfg" || fail "set.cfg started as: $(cat "$mine/set.cfg" 2>&1)"
kill -KILL "$game_pid"
wait "$game_pid" 2>/dev/null

start_editor mine/new.inf media
wait_editor
hold_key ctrl+s
for _ in $(seq 50); do [ -f "$mine/new.inf" ] && break; sleep 0.1; done
[ -f "$mine/new.inf" ] || fail "Ctrl+S wrote no new.inf"
sleep 0.5
echo "level = new.inf" >>"$work/expected.cfg"
cmp -s "$mine/set.cfg" "$work/expected.cfg" || fail "set.cfg after the save: $(cat "$mine/set.cfg")"
hold_key Escape
echo "PASS"
