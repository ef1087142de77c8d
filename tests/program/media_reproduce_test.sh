#!/usr/bin/env bash
# The committed media tree, contact sheet and desktop icons are generated,
# all but the level files: running the generator again must reproduce them
# byte for byte. The
# levels (media/level*.inf) are sources that authors edit by hand, proven
# clearable by the replays; the generator must not write them. The moss
# set's own looks (sets/moss/gfx) are generated the same way, and nothing
# else of the set: its levels and set.cfg are sources too.
# Usage: media_reproduce_test.sh <pwe-binary> <source-dir>
set -u
source_dir=${2:?usage: media_reproduce_test.sh <pwe-binary> <source-dir>}
python=/usr/bin/python3
if ! "$python" -c "import PIL" 2>/dev/null; then
  echo "FAIL: $python cannot import PIL (install python3-pil)"
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! "$python" -B "$source_dir/tools/mediagen" --out "$work/media" --sheet "$work/media-sheet.png" \
     --icons "$work/icons"; then
  echo "FAIL: the generator failed"
  exit 1
fi
status=0
written=$(cd "$work/media" && find . -name 'level*.inf')
if [ -n "$written" ]; then
  echo "FAIL: tools/mediagen wrote level files, which are sources edited by hand: $written"
  status=1
fi
# Beside the committed level files, media/ must be exactly what the
# generator writes: nothing more, nothing less, byte for byte.
cp "$source_dir"/media/level*.inf "$work/media/"
if ! diff -r "$work/media" "$source_dir/media"; then
  echo "FAIL: media/ differs from what tools/mediagen writes (the level files are sources and not compared)"
  status=1
fi
if ! cmp "$work/media-sheet.png" "$source_dir/docs/media-sheet.png"; then
  echo "FAIL: docs/media-sheet.png differs from what tools/mediagen writes"
  status=1
fi
if ! diff -r "$work/icons" "$source_dir/dist/icons"; then
  echo "FAIL: dist/icons/ differs from what tools/mediagen writes"
  status=1
fi
mkdir -p "$work/moss"
cp "$source_dir"/sets/moss/*.inf "$source_dir/sets/moss/set.cfg" "$work/moss/"
if ! "$python" -B "$source_dir/tools/mediagen" --set-out "$work/moss"; then
  echo "FAIL: the generator failed to write the moss set's looks"
  status=1
fi
# Only gfx/ is the generator's: the set's sources beside it stay as they were.
if ! diff -r "$work/moss" "$source_dir/sets/moss"; then
  echo "FAIL: sets/moss differs from what tools/mediagen --set-out writes beside its levels and set.cfg"
  status=1
fi
[ "$status" -eq 0 ] && echo "media tree, the moss set's looks and icons reproduced byte for byte (level files are sources, not generated)"
exit "$status"
