// The .anm, .nme and player.inf formats are each read by one description
// that the loaders and pwe-check both follow: for values at and past their
// edges, a file the game refuses always has a checker error naming what it
// stops on, and a file the checker finds no error in plays. (A malformed
// player.inf number is an error the game survives: it stops reading there
// and keeps its own values.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actors/EnemyManager.h"
#include "graphics/Animation.h"
#include "player/Player.h"
#include "shell/Fatal.h"
#include "tests/support/GameTree.h"
#include "tools/check/Diagnostics.h"
#include "tools/check/MediaChecker.h"

namespace {

struct FormatCase {
  const char* name;
  const char* file;     // below media/
  const char* text;
  bool refused;         // the game stops on it
  const char* checker;  // in the checker's error about the file; nullptr: no error
};

const FormatCase formatCases[] = {
    {"one frame", "gfx/anim/player/climb.anm", "climb 1 5", false, nullptr},
    {"no frames", "gfx/anim/player/climb.anm", "climb 0", true,
     "frame count 0 is not between 1 and 10000"},
    {"most frames", "gfx/anim/player/climb.anm", "climb 10001", true,
     "frame count 10001 is not between 1 and 10000"},
    {"count not whole", "gfx/anim/player/climb.anm", "climb 1.5 5", true, "1.5"},
    {"lowest duration", "gfx/anim/player/climb.anm", "climb 1 -2147483648", false, nullptr},
    {"duration past an int", "gfx/anim/player/climb.anm", "climb 1 2147483648", true,
     "2147483648"},
    {"duration missing", "gfx/anim/player/climb.anm", "climb 2 5", true, "frame 1"},
    {"four animations", "gfx/anim/enemy/blob.nme", "blob_l blob_r blob_vl blob_vr", false,
     nullptr},
    {"three animations", "gfx/anim/enemy/blob.nme", "blob_l blob_r blob_vl", true,
     "state 1 walking right"},
    {"an animation not there", "gfx/anim/enemy/blob.nme", "blob_l blob_r blob_vl nothing", true,
     "no animation 'nothing'"},
    {"largest figure", "player.inf",
     "walk_left walk_right climb air_left air_right 1000000 24 2 2 2 2 1 0.5 40 100", false,
     nullptr},
    {"figure past the bound", "player.inf",
     "walk_left walk_right climb air_left air_right 1000001 24 2 2 2 2 1 0.5 40 100", true,
     "Error loading player.inf"},
    {"size not whole", "player.inf",
     "walk_left walk_right climb air_left air_right 16.5 24 2 2 2 2 1 0.5 40 100", false,
     "found '16.5'"},
};

// What the game does with the tree: the loaders of the file's kind, run as
// a Game runs them, under a guard.
bool gameRefuses(const std::string& file) {
  DataFailureGuard guard;
  try {
    if (file == "player.inf") {
      Player player;
      if (player.load() != 0) return true;
      player.loadAnimations();
    } else if (file.find(".nme") != std::string::npos) {
      EnemyManager kinds;
    } else {
      Animation climb("media/gfx/anim/player/", "climb");
    }
  } catch (const DataFailure&) {
    return true;
  }
  return false;
}

std::vector<std::string> checkerErrors(const std::string& file) {
  Diagnostics found;
  MediaChecker checker("media", found);
  checker.setSearchSeconds(0.5);
  checker.run();
  std::vector<std::string> errors;
  for (const Diagnostic& d : found.all()) {
    if (!d.warning && d.file == "media/" + file) errors.push_back(d.message);
  }
  return errors;
}

TEST(FileFormatAgreement, WhatTheGameRefusesTheCheckerCallsAnError) {
  for (const FormatCase& c : formatCases) {
    SCOPED_TRACE(c.name);
    GameTree tree;
    tree.writeText(std::string("media/") + c.file, c.text);
    EXPECT_EQ(gameRefuses(c.file), c.refused);
    const std::vector<std::string> errors = checkerErrors(c.file);
    if (c.checker == nullptr) {
      EXPECT_EQ(errors, std::vector<std::string>{});
      continue;
    }
    ASSERT_FALSE(errors.empty());
    EXPECT_NE(errors.front().find(c.checker), std::string::npos) << errors.front();
  }
}

}  // namespace
