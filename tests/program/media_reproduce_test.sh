#!/usr/bin/env bash
# The committed media tree and contact sheet are generated: running the
# generator again must reproduce them byte for byte.
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

if ! "$python" "$source_dir/tools/mediagen" --out "$work/media" --sheet "$work/media-sheet.png"; then
  echo "FAIL: the generator failed"
  exit 1
fi
status=0
if ! diff -r "$work/media" "$source_dir/media"; then
  echo "FAIL: media/ differs from what tools/mediagen writes"
  status=1
fi
if ! cmp "$work/media-sheet.png" "$source_dir/docs/media-sheet.png"; then
  echo "FAIL: docs/media-sheet.png differs from what tools/mediagen writes"
  status=1
fi
[ "$status" -eq 0 ] && echo "media tree reproduced byte for byte"
exit "$status"
