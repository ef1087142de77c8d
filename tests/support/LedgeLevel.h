#pragma once
// Test support: a ledge of plain floor the player starts near the end of,
// and one claimable tile `gap` pixels past it, reached only by a jump off
// the ledge: the level the route's presses, waits and marks are tried on.
#include <string>

#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"

// floorBeneath: plain floor under the gap, low enough that a jump short
// of the tile lands there alive.
inline LevelText ledgeLevel(int gap, bool floorBeneath = false) {
  LevelText level;
  for (int x = 160; floorBeneath && x < 160 + gap; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 320 brick brick_clear 0 0");
  }
  for (int x = 0; x < 160; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 0 0");
  }
  level.tiles.push_back(std::to_string(160 + gap) + " 300 brick brick_clear 1 10");
  level.start = "140 299 1";
  return level;
}
