# SIGTERM after an edit ends the editor with the edit in the autosave copy,
# and the scratch folder of a media tree given by path removed.
source "$(dirname "$0")/edit_lib.sh" "$@"
start_x
cp "$work/media/level1.inf" "$work/mine.inf"
mv "$work/media" "$work/tree"
mkdir "$work/scratch"
(cd "$work" && TMPDIR="$work/scratch" exec "$pwe" mine.inf tree \
   >"$work/stdout.txt" 2>"$work/stderr.txt") &
game_pid=$!
wait_editor
click_at 300 100
# The folder holding mine.inf is its set, one level long, named by the folder.
wait_title "pwe-edit - mine.inf - ${work##*/} 1/1 *" 5 || fail "the click made no change: '$(title)'"
[ -n "$(ls -A "$work/scratch")" ] || fail "no scratch folder for the tree"
kill -TERM "$game_pid"
wait_exit 10
[ "$status" -eq 143 ] || fail "exit status $status after SIGTERM, not the signal's"
[ -f "$work/mine.inf.autosave" ] || fail "no autosave copy after SIGTERM"
cmp -s "$work/mine.inf" "$work/mine.inf.autosave" && fail "the autosave copy lacks the edit"
[ "$(tiles_of "$work/mine.inf.autosave" | wc -l)" -eq $(( $(tiles_of "$work/mine.inf" | wc -l) + 1 )) ] ||
  fail "the autosave copy does not hold the one tile placed"
[ -z "$(ls -A "$work/scratch")" ] || fail "the scratch folder outlived SIGTERM: $(ls -A "$work/scratch")"
echo PASS
