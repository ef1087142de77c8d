#!/bin/bash
# The search's state capture must fail to build when a field is added to
# any type a tick touches and nobody placed it in the capture's ledger.
# Each case copies one header, adds one field to it, puts the copy
# ahead of the tree on the include path and compiles the capture: it must
# be refused. The untouched tree must compile, or the refusals prove nothing.
#   tick_state_ledger_test.sh <c++ compiler> <source dir> <generated include dir>
set -u
cxx=$1
src=$2
generated=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

compile() {  # include dir put first
  "$cxx" -std=c++17 -fsyntax-only -I "$1" -I "$src" -I "$generated" \
    "$src/authoring/TickLedger.cpp" 2>"$work/errors"
}

mkdir -p "$work/none"
if ! compile "$work/none"; then
  echo "FAIL: the untouched capture does not compile"; cat "$work/errors"; exit 1
fi

# header | the line after which the field goes | the field
cases=(
  "player/Player.h|  bool alive = true;|  bool sliding = false;"
  "player/Player.h|  float x = 0.0f;|  float vx = 0.0f;"
  "game/Game.h|  float jumpApexY = 0.0f;|  float jumpPeakY = 0.0f;"
  "game/Game.h|  int lifeTicks = 0;|  bool braking = false;"
  "game/GameParts.h|  Gamepad gamepad;|  bool mouseSteers = false;"
  "structures/Ladder.h|  int height = 0;|  int slack = 0;"
  "actors/Enemy.h|  bool alive = true; |  int hitPoints = 0;"
  "actors/Item.h|  bool present = true; |  int respawnTicks = 0;"
  "actors/Teleporter.h|  int number = 0; |  int charges = 0;"
  "graphics/Sprite.h|  int animationIndex_ = 0; |  bool flipped_ = false;"
  "graphics/Animation.h|  int frameTicks_ = 0; |  int loops_ = 0;"
  "structures/FloorManager.h|  std::vector<int> claimed_; |  int claimedPoints_ = 0;"
  "structures/FloorTile.h|  bool cleared = false; |  int crumble = 0;"
  "player/KeyRelease.h|  bool pending = false; |  int presses = 0;"
)
failed=0
for row in "${cases[@]}"; do
  IFS='|' read -r header anchor field <<<"$row"
  dir="$work/case"
  rm -rf "$dir" && mkdir -p "$dir/$(dirname "$header")"
  awk -v anchor="$anchor" -v field="$field" \
    '{ print } index($0, anchor) == 1 && !done { print field; done = 1 }' \
    "$src/$header" >"$dir/$header"
  if cmp -s "$src/$header" "$dir/$header"; then
    echo "FAIL: $header has no line '$anchor' to add a field after"; failed=1; continue
  fi
  if compile "$dir"; then
    echo "FAIL: '$field' added to $header went unnoticed by the capture"; failed=1
  elif ! grep -q 'structured binding' "$work/errors"; then
    echo "FAIL: '$field' in $header broke the build for another reason:"; cat "$work/errors"
    failed=1
  else
    echo "ok: '$field' in $header is refused"
  fi
done
exit $failed
