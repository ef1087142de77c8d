// pwe-check's proof that a level can be cleared with its enemies, on levels
// made for it: a guard that never lets the player by, one that is passed
// by waiting, one that an item makes harmless, and a jump that works from
// one tick only. Every route written is played back with the enemies.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "authoring/Replay.h"
#include "game/Game.h"
#include "tests/support/CheckerRun.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"
#include "tests/support/PlayField.h"

namespace {

// A floor that claims nothing, and one claimable tile above it that only
// the ladder leads to: the jump lifts the feet 40 px, the tile lies 64 up.
LevelText ladderLevel() {
  LevelText level;
  for (int x = 0; x < 320; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 0 0");
  }
  level.tiles.push_back("192 236 brick brick_clear 1 10");  // record line 17
  level.ladders = {"200 236 64 rungs"};                     // its foot's centre is 208
  return level;
}

bool startsWith(const std::string& text, const std::string& start) {
  return text.rfind(start, 0) == 0;
}

struct Proof {
  std::vector<std::string> lines;  // the proof's own, notes too
  double routeSeconds = 0.0;       // as the note says; 0 without one
  double parSeconds = -1.0;        // the lower bound the note gives
  Replay route;
  bool routeWritten = false;
};

Proof prove(const LevelText& level) {
  GameTree tree;
  tree.writeLevel("level1.inf", level.str());
  const CheckRun run = runChecker("--route level1.inf route.replay");
  Proof proof;
  for (const std::vector<std::string>* list : {&run.notes, &run.lines}) {
    for (const std::string& line : *list) {
      if (!startsWith(line, "media/level1.inf:")) continue;  // the tree's other levels
      if (line.find("with its enemies") != std::string::npos ||
          line.find("frame-perfect") != std::string::npos) {
        proof.lines.push_back(line);
      }
    }
  }
  for (const std::string& note : proof.lines) {
    const std::string mark = "cleared with its enemies in ";
    const std::size_t at = note.find(mark);
    if (at != std::string::npos) proof.routeSeconds = std::stod(note.substr(at + mark.size()));
    const std::string par = "par between ";
    const std::size_t from = note.find(par);
    if (from != std::string::npos) proof.parSeconds = std::stod(note.substr(from + par.size()));
  }
  std::string error;
  proof.routeWritten = readReplay("route.replay", proof.route, error);
  return proof;
}

// The written route played as the game plays it, enemies and all.
ReplayOutcome replayed(const LevelText& level, const Replay& route) {
  GameTree tree;
  tree.writeLevel("level1.inf", level.str());
  releaseAllKeys();
  auto game = std::make_unique<Game>(640, 480, 100);
  game->startLevel("level1.inf");
  return playReplay(*game, route);
}

TEST(PweCheckEnemies, TellsWhatBlocksALevelAndProvesTheOnesThatClear) {
  struct Case {
    const char* what;
    std::vector<std::string> enemies;
    std::vector<std::string> items;
    std::string start;  // of the one line expected
    int score;          // the route's, when it clears
  };
  const std::vector<Case> cases = {
      // Standing still on the ladder's foot, never harmless.
      {"a guard for good", {"208 299 0 208 208 0 0 0 blob 300 50"}, {},
       "media/level1.inf:22:1: warning: no route found clears the level with its enemies: the "
       "best attempt claimed 0 of 1 tile and was caught by the enemy placed at 208, 299 with "
       "the player at ",
       0},
      // The same guard, harmless for 1000 ticks once the gem is taken:
      // the route takes it, then the guard (50) on the way to the tile.
      {"an item makes it harmless", {"208 299 0 208 208 0 1 0 blob 1000 50"}, {"60 290 gem 25"},
       "media/level1.inf:0:0: note: the level can be cleared with its enemies in ", 10 + 25 + 50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LevelText level = ladderLevel();
    level.enemies = c.enemies;
    level.items = c.items;
    const Proof proof = prove(level);
    ASSERT_EQ(proof.lines.size(), 1u) << testing::PrintToString(proof.lines);
    EXPECT_TRUE(startsWith(proof.lines[0], c.start)) << proof.lines[0];
    if (c.score == 0) continue;
    ASSERT_TRUE(proof.routeWritten);
    EXPECT_FALSE(proof.route.enemiesAbsent);
    const ReplayOutcome outcome = replayed(level, proof.route);
    EXPECT_TRUE(outcome.cleared);
    EXPECT_EQ(outcome.scoreGained, c.score);
    EXPECT_EQ(outcome.livesLost, 0);
  }
}

// The patrol meets a player who sets off at once before the ladder; the
// route stands still first.
TEST(PweCheckEnemies, WaitsForAPatrolToPass) {
  LevelText alone = ladderLevel();
  alone.start = "40 299 1";
  LevelText patrolled = alone;
  patrolled.enemies = {"270 299 0 120 280 1 0 0 blob 300 50"};
  const Proof without = prove(alone);
  const Proof with = prove(patrolled);
  ASSERT_GT(without.routeSeconds, 0.0) << testing::PrintToString(without.lines);
  ASSERT_GT(with.routeSeconds, 0.0) << testing::PrintToString(with.lines);
  EXPECT_GT(with.routeSeconds, without.routeSeconds);
  // Alone the player sets off at once; with the patrol it stands first.
  ASSERT_TRUE(without.routeWritten);
  ASSERT_FALSE(without.route.runs.empty());
  EXPECT_NE(without.route.runs.front().keys, "-");
  ASSERT_FALSE(with.route.runs.empty());
  EXPECT_EQ(with.route.runs.front().keys, "-");
  EXPECT_GT(with.route.runs.front().ticks, 1);
  ASSERT_TRUE(with.routeWritten);
  const ReplayOutcome outcome = replayed(patrolled, with.route);
  EXPECT_TRUE(outcome.cleared);
  EXPECT_EQ(outcome.ticks, with.route.tickCount());
}

// Nothing to claim: the game clears the level in its first tick, and so
// does the route written for it.
TEST(PweCheckEnemies, ALevelWithNothingToClaimIsClearedAtOnce) {
  LevelText level = ladderLevel();
  level.tiles.pop_back();  // the one claimable tile
  const Proof proof = prove(level);
  ASSERT_EQ(proof.lines.size(), 1u) << testing::PrintToString(proof.lines);
  EXPECT_TRUE(startsWith(proof.lines[0], "media/level1.inf:0:0: note: the level can be cleared "
                                         "with its enemies in 0.0 s"))
      << proof.lines[0];
  ASSERT_TRUE(proof.routeWritten);
  EXPECT_EQ(proof.route.tickCount(), 1);
  EXPECT_TRUE(replayed(level, proof.route).cleared);
}

// No route beats the par, alone or waiting for a patrol.
TEST(PweCheckEnemies, ParIsABoundNoRouteBeats) {
  LevelText corridor;
  for (int x = 0; x < 320; x += GameTree::tileWidth) {
    corridor.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 1 10");
  }
  corridor.start = "8 299 1";
  LevelText patrolled = ladderLevel();
  patrolled.start = "40 299 1";
  patrolled.enemies = {"270 299 0 120 280 1 0 0 blob 300 50"};
  for (const LevelText& level : {corridor, patrolled}) {
    const Proof proof = prove(level);
    ASSERT_GT(proof.routeSeconds, 0.0) << testing::PrintToString(proof.lines);
    EXPECT_GT(proof.parSeconds, 0.0);
    EXPECT_LE(proof.parSeconds, proof.routeSeconds);
  }
}

// A ledge of floor ending at column 160 and a claimable tile across a gap.
// The player walks 2 px a tick from 140 and reaches the ledge's end in
// tick 10. Across 74 px the jump has room to spare; across 77 it works
// only from the ledge's end: a tick sooner it falls short, a tick later
// the player has walked off.
TEST(PweCheckEnemies, MarksAJumpThatWorksFromOneTickOnly) {
  const int ledgeEndTick = (160 - 140) / 2;
  struct Case {
    int gap;
    std::string warning;  // empty: none
  };
  const std::vector<Case> cases = {
      {74, ""},
      {77, "media/level1.inf:0:0: warning: 1 input must be frame-perfect (tick " +
               std::to_string(ledgeEndTick) + ")"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gap);
    LevelText level;
    for (int x = 0; x < 160; x += GameTree::tileWidth) {
      level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 0 0");
    }
    level.tiles.push_back(std::to_string(160 + c.gap) + " 300 brick brick_clear 1 10");
    level.start = "140 299 1";
    const Proof proof = prove(level);
    ASSERT_FALSE(proof.lines.empty());
    const bool none = proof.lines[0].find("no input must be frame-perfect") != std::string::npos;
    EXPECT_EQ(none, c.warning.empty()) << proof.lines[0];
    const std::vector<std::string> warnings(proof.lines.begin() + 1, proof.lines.end());
    EXPECT_EQ(warnings, c.warning.empty() ? std::vector<std::string>{}
                                          : std::vector<std::string>{c.warning});
    // The tick named is the one the route presses the jump in.
    if (c.warning.empty()) continue;
    ASSERT_TRUE(proof.routeWritten);
    int tick = 0;
    for (const ReplayRun& run : proof.route.runs) {
      if (run.keys.find('J') != std::string::npos) break;
      tick += run.ticks;
    }
    EXPECT_EQ(tick, ledgeEndTick);
  }
}

}  // namespace
