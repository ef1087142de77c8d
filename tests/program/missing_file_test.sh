# A file missing from the media tree ends the program with status 1 and
# its message in a box; the box is a stub xmessage that records its text
# (the last argument) instead of waiting for a click.
source "$(dirname "$0")/lib.sh" "$@"
mkdir -p "$work/bin"
cat >"$work/bin/xmessage" <<STUB
#!/bin/sh
for argument in "\$@"; do last="\$argument"; done
printf '%s' "\$last" > "$work/message.txt"
exit 0
STUB
chmod +x "$work/bin/xmessage"
extra_path="$work/bin"
start_x

check_missing() {
  local file="$1" expected="$2"
  rm -f "$work/message.txt" "$work/pwe.log"
  mv "$work/media/$file" "$work/moved"
  start_game
  wait_window
  press "$wid" x 0.1
  wait_exit 20
  mv "$work/moved" "$work/media/$file"
  [ "$status" -eq 1 ] || fail "exit status $status without $file"
  [ -f "$work/message.txt" ] || fail "no message box without $file"
  local shown
  shown="$(cat "$work/message.txt")"
  [ "$shown" = "$expected" ] || fail "without $file the box said [$shown], not [$expected]"
}

check_missing "player.inf" "Error loading player.inf"
check_missing "gfx/static/back.png" 'Error loading "media/gfx/static/back.png".'
check_missing "level1.inf" 'Error loading "level1.inf"'
echo PASS
