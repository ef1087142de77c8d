# pwe --print-config prints each setting in effect with where it came from
# (the default, the tree's pwe.cfg, the player's own file), opens no window
# (no display is given) and exits 0; with no player's file the stock tree's
# values are what it says.
source "$(dirname "$0")/lib.sh" "$@"
trap cleanup EXIT
home="$(mktemp -d /tmp/pwe-xdg-XXXXXX)"
trap 'rm -rf "$home"; cleanup' EXIT
mkdir -p "$home/pwe"
printf '[keyboard]\nleft = a\n' >"$home/pwe/pwe.cfg"

printed="$(cd "$work" && env -u DISPLAY XDG_CONFIG_HOME="$home" "$pwe" --print-config)" ||
  fail "--print-config did not exit 0"
tree="$(cd "$work" && pwd)/media/pwe.cfg"
expected_lines=(
  "[keyboard] left = 1 (A) from $home/pwe/pwe.cfg"
  "[keyboard] jump = 75 (SPACE) from $tree"
  "[sound] volume = 255 from $tree"
)
for line in "${expected_lines[@]}"; do
  grep -qxF -- "$line" <<<"$printed" || fail "missing line '$line' in: $printed"
done

# Without the player's file the tree's value is in effect.
rm "$home/pwe/pwe.cfg"
printed="$(cd "$work" && env -u DISPLAY XDG_CONFIG_HOME="$home" "$pwe" --print-config)" ||
  fail "--print-config without a player's file did not exit 0"
grep -qxF "[keyboard] left = 82 (LEFT) from $tree" <<<"$printed" ||
  fail "the tree's left key is not in effect: $printed"
echo "print_config ok"
