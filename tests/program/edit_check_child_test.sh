# The check process an edit starts ends within a second of the editor,
# however the editor ends, and keeps nothing of it: the level's lock is
# free for the next editor (which opens it read-write and offers the
# autosave copy the editor wrote as it ended), the editor's window is gone,
# and a check told to end writes no autosave copy of its own.
source "$(dirname "$0")/edit_lib.sh" "$@"
start_x
child=""
trap 'if [ -n "$child" ]; then kill -KILL "$child" 2>/dev/null; fi; cleanup' EXIT

# Gone, or a zombie its new parent has yet to reap.
gone() {
  local state
  state=$(ps -o stat= -p "$1" 2>/dev/null)
  [ -z "$state" ] || [ "${state:0:1}" = Z ]
}

# Sets $child to the check process of a fresh edit of mine.inf (level 4,
# whose check takes seconds).
edit_and_find_check() {
  cp "$work/media/level4.inf" "$work/mine.inf"
  rm -f "$work"/mine.inf.autosave*
  start_editor mine.inf
  wait_editor
  click_at 300 100
  wait_title "pwe-edit - mine.inf *" 5 || fail "the click made no change: '$(title)'"
  child=""
  for _ in $(seq 50); do
    child=$(pgrep -P "$game_pid" | head -n 1)
    [ -n "$child" ] && return 0
    sleep 0.02
  done
  fail "no check process after the edit"
}

# case: what is signalled, the signal, whether an autosave copy is then
# the editor's to offer.
while read -r target signal offered; do
  edit_and_find_check
  gone "$child" && fail "$target $signal: the check ended before the signal; the test needs a slower level"
  if [ "$target" = check ]; then
    kill "-$signal" "$child"
  else
    kill "-$signal" "$game_pid"
  fi
  sleep 1
  gone "$child" || fail "$target $signal: the check process outlived it by a second"
  child=""
  if [ "$target" = check ]; then
    [ ! -e "$work/mine.inf.autosave" ] || fail "check $signal: the check wrote an autosave copy"
    kill -KILL "$game_pid"
    wait "$game_pid" 2>/dev/null
    continue
  fi
  wait "$game_pid" 2>/dev/null
  [ -z "$(xdotool search --onlyvisible --name '^pwe-edit' 2>/dev/null)" ] ||
    fail "editor $signal: its window stayed on screen"
  start_editor mine.inf
  wait_editor
  sleep 0.5
  if [ "$offered" = yes ]; then
    key_to r  # the question's Recover
    wait_title "pwe-edit - mine.inf *" 5 || fail "editor $signal: no recovery offered: '$(title)'"
  else
    wait_title "pwe-edit - mine.inf" 5 || fail "editor $signal: not opened read-write: '$(title)'"
  fi
  kill -KILL "$game_pid"
  wait "$game_pid" 2>/dev/null
done <<'CASES'
editor KILL no
editor TERM yes
check TERM no
CASES
game_pid=""
echo PASS
