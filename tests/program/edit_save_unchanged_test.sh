# Every shipped level opened and saved with no change is written back byte
# for byte: the shipped files are in the layout the editor writes.
source "$(dirname "$0")/edit_lib.sh" "$@"
start_x
for n in 1 2 3 4; do
  cp "$work/media/level$n.inf" "$work/copy$n.inf"
  start_editor "copy$n.inf"
  wait_editor
  key_to ctrl+s
  key_to Escape
  wait_exit 10
  [ "$status" -eq 0 ] || fail "exit status $status after saving level$n.inf"
  cmp "$work/media/level$n.inf" "$work/copy$n.inf" || fail "level$n.inf changed on an unchanged save"
done
echo PASS
