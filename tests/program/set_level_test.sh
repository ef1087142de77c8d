# A level set played by name: `pwe SET` over the tree of the working
# directory shows the set's level in its own look, as pwe-render draws the
# same level of the same set. The set's folder has a space in its name; its
# level floors the screen with a tile only the set has, and nothing on it
# moves. The countdown panel changes every three seconds, so the
# comparison leaves out its box and holds every other pixel exact.
source "$(dirname "$0")/lib.sh" "$@"
render="$(dirname "$pwe")/tools/pwe-render"
[ -x "$render" ] || fail "no pwe-render at $render"

set_dir="$work/my caves"
mkdir -p "$set_dir/gfx/static/floor tiles/normal"
# Without a gAMA chunk, which the PNG loader would apply to the colour.
convert -size 16x8 xc:'rgb(10,200,90)' -define png:exclude-chunk=all \
  "PNG32:$set_dir/gfx/static/floor tiles/normal/moss.png" || fail "could not draw the set's tile"
{
  echo 4000
  echo "8 4 0"     # the countdown panel, 96 x 28 at (8, 4)
  echo "424 4 0"   # the score panel
  echo "6 4"
  echo "40 463 1"  # the player on the floor
  echo 41
  for x in $(seq 0 16 624); do echo "$x 464 moss brick 0 10"; done
  echo "600 100 brick brick 1 10"  # out of reach: the level goes on
  printf '0\n0\n0\n0\n0\n'
} >"$set_dir/cave.inf"

start_x
start_game "$set_dir"
wait_window
press "$wid" x 0.1
wait_log "Beginning level." 15 || fail "the set's level did not begin"
grep -qF "Loading level data from $set_dir/cave.inf" "$work/pwe.log" ||
  fail "the level was not read from the set"
sleep 0.5
xwd -id "$wid" -display "$DISPLAY" | convert xwd:- "$work/window.png"
(cd "$work" && "$render" cave.inf "$work/frame.png" "$set_dir") || fail "pwe-render failed"

[ "$(convert "$work/window.png" -format '%[pixel:p{100,466}]' info:)" = "srgb(10,200,90)" ] ||
  fail "the window does not show the set's tile"
for picture in window frame; do
  convert "$work/$picture.png" -fill black -draw "rectangle 8,4 103,31" \
    "$work/$picture-rest.png" || fail "could not cover the countdown in $picture.png"
done
differing=$(compare -metric AE "$work/window-rest.png" "$work/frame-rest.png" null: 2>&1)
[ "$differing" = "0" ] || fail "$differing pixels of the window differ from pwe-render's frame"

press "$wid" Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo PASS
