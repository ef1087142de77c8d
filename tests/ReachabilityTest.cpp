// The reachability search on small levels whose answer is known by their
// making, on the shipped levels, and the snapshot it is built on: a Game
// given a TickState back runs on exactly as it ran from there.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "authoring/Reachability.h"
#include "authoring/Replay.h"
#include "authoring/TickState.h"
#include "game/Game.h"
#include "shell/LevelSequence.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"
#include "tests/support/PlayField.h"
#include "tests/support/RepositoryRoot.h"

namespace {

// A floor of claimable bricks along row `y` from x0 to x1.
void addFloor(LevelText& level, int x0, int x1, int y) {
  for (int x = x0; x < x1; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " " + std::to_string(y) + " brick brick_clear 1 10");
  }
}

LevelText groundFloor() {
  LevelText level;
  addFloor(level, 0, 640, 300);
  return level;
}

struct Searched {
  std::unique_ptr<Game> game;
  std::unique_ptr<Reachability> search;
};

Searched searchLevel(GameTree& tree, const LevelText& level, ReachabilityLimits limits = {}) {
  releaseAllKeys();
  tree.writeLevel("level1.inf", level.str());
  Searched s;
  s.game = std::make_unique<Game>(640, 480, 100);
  s.game->startLevel("level1.inf");
  s.game->beginLife();
  s.search = std::make_unique<Reachability>(*s.game, limits);
  s.search->run();
  return s;
}

Replay replayOf(const Reachability::Route& route) {
  Replay replay;
  replay.level = "level1.inf";
  replay.enemiesAbsent = true;
  for (const TickInput& tick : route.ticks) replay.append(replayKeyText(tick.keys, tick.digit));
  return replay;
}

struct KnownLevel {
  const char* name;
  LevelText (*make)();
  std::vector<int> unreachedTiles;  // indices in the level's tile list
  std::vector<int> unreachedItems;
};

const KnownLevel knownLevels[] = {
    {"a ledge above the jump's reach",
     [] {
       LevelText level = groundFloor();
       level.tiles.push_back("300 256 brick brick_clear 1 10");
       return level;
     },
     {20}, {}},
    {"the same ledge one tile row lower",
     [] {
       LevelText level = groundFloor();
       level.tiles.push_back("300 264 brick brick_clear 1 10");
       return level;
     },
     {}, {}},
    {"a floor below a deadly drop, reached down a chute",
     [] {
       LevelText level;
       level.start = "100 199 1";
       addFloor(level, 0, 320, 200);
       addFloor(level, 320, 640, 400);
       level.chutes.push_back("300 200 200 16 1 step");
       return level;
     },
     {}, {}},
    {"the same floors without the chute",
     [] {
       LevelText level;
       level.start = "100 199 1";
       addFloor(level, 0, 320, 200);
       addFloor(level, 320, 640, 400);
       return level;
     },
     {10, 11, 12, 13, 14, 15, 16, 17, 18, 19}, {}},
    {"a ledge reached only through teleporter 2",
     [] {
       LevelText level;
       addFloor(level, 0, 320, 300);
       addFloor(level, 480, 544, 100);
       level.teleporters = {"40 268 pad pad_cool 1", "500 68 pad pad_cool 2"};
       return level;
     },
     {}, {}},
    {"the same ledge behind a number no key reaches",
     [] {
       LevelText level;
       addFloor(level, 0, 320, 300);
       addFloor(level, 480, 544, 100);
       level.teleporters = {"40 268 pad pad_cool 1", "500 68 pad pad_cool 3"};
       return level;
     },
     {10, 11}, {}},
    {"a ledge above a ladder whose top misses it",
     [] {
       LevelText level = groundFloor();
       addFloor(level, 192, 256, 150);
       level.ladders.push_back("200 200 100 rungs");
       return level;
     },
     {20, 21}, {}},
    {"the same ledge with the ladder reaching it",
     [] {
       LevelText level = groundFloor();
       addFloor(level, 192, 256, 150);
       level.ladders.push_back("200 150 150 rungs");
       return level;
     },
     {}, {}},
    {"a gem above the jump's reach and one on the floor",
     [] {
       LevelText level = groundFloor();
       level.items = {"300 200 gem 5", "500 290 gem 5"};
       return level;
     },
     {}, {0}},
};

class KnownLevels : public testing::TestWithParam<KnownLevel> {};

TEST_P(KnownLevels, ReportExactlyTheTilesAndItemsOutOfReach) {
  const KnownLevel& known = GetParam();
  GameTree tree;
  Searched s = searchLevel(tree, known.make());
  ASSERT_TRUE(s.search->complete());
  EXPECT_EQ(s.search->unreachedTiles(), known.unreachedTiles);
  EXPECT_EQ(s.search->unreachedItems(), known.unreachedItems);
  if (!known.unreachedTiles.empty()) return;

  // Everything can be claimed: the route claims it, and played by the
  // replay player without enemies it clears the level on its last tick.
  const Reachability::Route route = s.search->route();
  EXPECT_TRUE(route.followed);
  EXPECT_TRUE(route.clears);
  EXPECT_EQ(route.tilesLeft, 0);
  const Replay replay = replayOf(route);
  const ReplayOutcome outcome = playReplay(*s.game, replay);
  EXPECT_TRUE(outcome.cleared);
  EXPECT_EQ(outcome.ticks, static_cast<int>(route.ticks.size()));
  EXPECT_EQ(outcome.scoreGained, route.scoreGained);
}

INSTANTIATE_TEST_SUITE_P(SmallLevels, KnownLevels, testing::ValuesIn(knownLevels),
                         [](const testing::TestParamInfo<KnownLevel>& info) {
                           std::string name;
                           for (const char* c = info.param.name; *c != '\0'; ++c) {
                             name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                           }
                           return name;
                         });

// A limit stops the search with what it found so far, and says so.
TEST(Reachability, StopsAtItsStateLimit) {
  GameTree tree;
  ReachabilityLimits limits;
  limits.maxStates = 50;
  Searched s = searchLevel(tree, groundFloor(), limits);
  EXPECT_FALSE(s.search->complete());
  EXPECT_LE(s.search->stateCount(), 50u + 32u);
}

// An item only a frame the player never shows could touch: the frames of
// walking and jumping are clear in their top rows, the climbing frames are
// not, and the level has no ladder. At the top of a jump only the clear
// rows reach the gem.
TEST(Reachability, AnItemOnlyAFrameNeverShownWouldTouchIsOutOfReach) {
  GameTree tree;
  const int clear = makeacol32(255, 0, 255, 0);
  const int solid = makeacol32(200, 40, 40, 255);
  for (const char* animation : {"walk_left", "walk_right", "air_left", "air_right"}) {
    for (int frame = 0; frame < (animation[0] == 'w' ? 4 : 1); ++frame) {
      tree.writePng(std::string("media/gfx/anim/player/") + animation + "/" +
                        std::to_string(frame) + ".png",
                    GameTree::playerWidth, GameTree::playerHeight,
                    [&](int, int y) { return y < 8 ? clear : solid; });
    }
  }
  LevelText level = groundFloor();
  level.items = {"300 238 gem 5", "300 246 gem 5"};
  Searched s = searchLevel(tree, level);
  ASSERT_TRUE(s.search->complete());
  EXPECT_EQ(s.search->unreachedItems(), std::vector<int>{0});
}

// The shipped levels: every tile and item within reach, and a route that
// the replay player plays to a clear level before the countdown runs out.
class ShippedLevel : public testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(enterRepositoryRoot());
    releaseAllKeys();
  }
};

// The time budget is set for optimised builds; the sanitizer run, whose
// instrumented build is several times slower, gives more through
// PWE_SEARCH_SECONDS as it does for pwe-check.
ReachabilityLimits limitsForThisBuild() {
  ReachabilityLimits limits;
  if (const char* seconds = std::getenv("PWE_SEARCH_SECONDS")) {
    limits.maxSeconds = std::atof(seconds);
  }
  return limits;
}

TEST_P(ShippedLevel, IsClearableWithinItsCountdown) {
  auto game = std::make_unique<Game>(640, 480, 100);
  game->startLevel(GetParam());
  game->beginLife();
  Reachability search(*game, limitsForThisBuild());
  search.run();
  ASSERT_TRUE(search.complete());
  EXPECT_TRUE(search.unreachedTiles().empty());
  EXPECT_TRUE(search.unreachedItems().empty());
  const Reachability::Route route = search.route();
  ASSERT_TRUE(route.clears);
  Replay replay = replayOf(route);
  replay.level = GetParam();
  const ReplayOutcome outcome = playReplay(*game, replay);
  EXPECT_TRUE(outcome.cleared) << "countdown " << game->countdown;
  EXPECT_EQ(outcome.livesLost, 0);
  EXPECT_EQ(outcome.scoreGained, route.scoreGained);
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedLevel, testing::ValuesIn(levelFiles),
                         [](const testing::TestParamInfo<const char*>& info) {
                           return std::string("level") + std::to_string(info.index + 1);
                         });

}  // namespace
