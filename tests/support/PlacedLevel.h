#pragma once
// A level of the test's own, written into a fresh tree and placed in a
// real Game at the start of its first life.
#include "game/Game.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"

struct PlacedLevel {
  GameTree tree;
  Game game{640, 480, 100};
  explicit PlacedLevel(const LevelText& text) {
    tree.writeLevel("level1.inf", text.str());
    game.startLevel("level1.inf");
    game.beginLife();
  }
};
