# With no time on any level's countdown every life ends in its first tick:
# the run ends after the third with status 0.
source "$(dirname "$0")/lib.sh" "$@"
for level in "$work"/media/level[1-4].inf; do
  # The first token of a level file is its countdown.
  python3 - "$level" <<'PY'
import sys
path = sys.argv[1]
tokens = open(path).read().split(None, 1)
open(path, "w").write("0\n" + tokens[1])
PY
done
start_x
start_game
wait_window
press "$wid" x 0.1
wait_exit 20
[ "$status" -eq 0 ] || fail "exit status $status after the last life"
[ "$(count_log "Lives = 0")" -eq 1 ] || fail "no \"Lives = 0\" in the log"
[ "$(count_log "Player lives going from 1 to 0.")" -eq 1 ] || fail "the last life was not lost"
[ "$(count_log "Beginning level.")" -eq 3 ] || fail "expected three lives on level 1"
echo PASS
