// The waits of a route cut where it still clears: a wait nothing needs
// goes, one a patrol needs stays in part, a cut that would make a press
// frame-perfect is not taken, and a route of thousands of waits is
// squeezed only as far as its budget goes. Every route squeezed is played
// back as the game plays it, against the trail the squeeze kept.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "authoring/ClearingSearch.h"
#include "authoring/Reachability.h"
#include "authoring/Replay.h"
#include "authoring/RouteSqueeze.h"
#include "game/Game.h"
#include "tests/support/GameTree.h"
#include "tests/support/LedgeLevel.h"
#include "tests/support/LevelText.h"
#include "tests/support/PlayField.h"

namespace {

// Runs of one tick's keys: "R", "JR", "U" or "-" for none.
using Runs = std::vector<std::pair<int, std::string>>;

std::vector<TickInput> routeOf(const Runs& runs) {
  const std::string letters = "LRUDJ";  // the search's key bits, in order
  std::vector<TickInput> route;
  for (const auto& [ticks, keys] : runs) {
    TickInput input;
    for (char c : keys) {
      const std::size_t bit = letters.find(c);
      if (bit != std::string::npos) input.keys |= static_cast<std::uint8_t>(1u << bit);
    }
    route.insert(route.end(), static_cast<std::size_t>(ticks), input);
  }
  return route;
}

Replay replayOf(const std::vector<TickInput>& route) {
  Replay replay;
  for (const TickInput& tick : route) replay.append(replayKeyText(tick.keys, tick.digit));
  return replay;
}

ClearingLimits limitsForThisBuild() {
  ClearingLimits limits;
  if (const char* seconds = std::getenv("PWE_SEARCH_SECONDS")) limits.maxSeconds = std::atof(seconds);
  return limits;
}

struct Squeezed {
  int given = 0;    // ticks the route given takes to clear, 0 when it does not
  int ticks = 0;    // the same of the route squeezed
  int livesLost = 0;
  int parted = -1;  // where the game's play parts from the squeeze's trail
  SqueezeWork work;
};

// The level's own game plays the route given, then the squeezed one.
class SqueezeRun {
 public:
  explicit SqueezeRun(const LevelText& level) {
    tree_.writeLevel("level1.inf", level.str());
    releaseAllKeys();
    game_ = std::make_unique<Game>(640, 480, 100);
    game_->startLevel("level1.inf");
    game_->beginLife();
    search_ = std::make_unique<Reachability>(*game_);
    search_->run();
  }

  // Ticks to clear, 0 when the route does not.
  int clearsIn(const std::vector<TickInput>& route) {
    const ReplayOutcome outcome = playReplay(*game_, replayOf(route));
    return outcome.cleared && outcome.livesLost == 0 ? outcome.ticks : 0;
  }

  Squeezed squeeze(const std::vector<TickInput>& route, const ClearingLimits& limits) {
    Squeezed s;
    s.given = clearsIn(route);
    ClearingResult clear;
    clear.end = ClearingResult::End::Cleared;
    clear.route = route;
    s.work = squeezeWaits(*game_, *search_, clear, limits);
    ReplayTrace trace;
    trace.hashes = true;
    const ReplayOutcome outcome = playReplay(*game_, replayOf(clear.route), trace);
    s.ticks = outcome.cleared ? outcome.ticks : 0;
    s.livesLost = outcome.livesLost;
    if (clear.route.size() != route.size()) s.parted = firstDivergence(clear.hashes, outcome.hashes);
    return s;
  }

  // The proof's own route, its tour left out so that its waits are the
  // search's.
  std::vector<TickInput> proofRoute() {
    ClearingLimits limits = limitsForThisBuild();
    limits.tourTicks = 0;
    return clearWithEnemies(*game_, *search_, limits).route;
  }

 private:
  GameTree tree_;
  std::unique_ptr<Game> game_;
  std::unique_ptr<Reachability> search_;
};

LevelText corridor() {
  LevelText level;
  for (int x = 0; x < 320; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 1 10");
  }
  level.start = "8 299 1";
  return level;
}

// A floor that claims nothing and one tile above it that only the ladder
// leads to, its foot at 208; the patrol crosses the foot.
LevelText ladderLevel(bool patrolled) {
  LevelText level;
  for (int x = 0; x < 320; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 0 0");
  }
  level.tiles.push_back("192 236 brick brick_clear 1 10");
  level.ladders = {"200 236 64 rungs"};
  level.start = "40 299 1";
  if (patrolled) level.enemies = {"270 299 0 120 280 1 0 0 blob 300 50"};
  return level;
}

// On the ledge (tests/support/LedgeLevel.h), walked 2 px a tick from 140,
// a gap of 74 px leaves the jump room to spare, 77 only from its end.

TEST(RouteSqueeze, CutsTheWaitsNothingNeeds) {
  struct Case {
    const char* what;
    LevelText level;
    bool proofRoute;  // the wait put before the proof's route; else the runs alone
    Runs runs;
    int cutAtLeast;
  };
  const std::vector<Case> cases = {
      {"a stop in the middle of a walk", corridor(), false, {{40, "R"}, {60, "-"}, {200, "R"}}, 60},
      {"two stops", corridor(), false, {{20, "-"}, {40, "R"}, {30, "-"}, {200, "R"}}, 50},
      {"a wait before the ladder with no patrol", ladderLevel(false), true, {{45, "-"}}, 45},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SqueezeRun run(c.level);
    std::vector<TickInput> route = routeOf(c.runs);
    if (c.proofRoute) {
      const std::vector<TickInput> proof = run.proofRoute();
      ASSERT_FALSE(proof.empty());
      route.insert(route.end(), proof.begin(), proof.end());
    }
    const Squeezed s = run.squeeze(route, limitsForThisBuild());
    ASSERT_GT(s.given, 0);
    EXPECT_GT(s.ticks, 0);
    EXPECT_LE(s.ticks, s.given - c.cutAtLeast);
    EXPECT_EQ(s.livesLost, 0);
    EXPECT_EQ(s.parted, -1);
  }
}

// The proof's route stands first while the patrol passes the ladder's
// foot; a longer wait put before it is cut back, but not the whole wait.
TEST(RouteSqueeze, KeepsWhatAPatrolNeedsOfAWait) {
  for (int extra : {0, 40}) {
    SCOPED_TRACE(extra);
    SqueezeRun run(ladderLevel(true));
    std::vector<TickInput> route = run.proofRoute();
    ASSERT_FALSE(route.empty());
    std::size_t waited = 0;
    while (waited < route.size() && route[waited].keys == 0) ++waited;
    ASSERT_GT(waited, 1u);
    // The wait is needed: without it the patrol meets the player.
    EXPECT_EQ(run.clearsIn({route.begin() + static_cast<std::ptrdiff_t>(waited), route.end()}), 0);
    route.insert(route.begin(), static_cast<std::size_t>(extra), TickInput{});
    const Squeezed s = run.squeeze(route, limitsForThisBuild());
    ASSERT_GT(s.given, 0);
    EXPECT_GT(s.ticks, 0);
    EXPECT_GT(s.ticks, s.given - static_cast<int>(waited) - extra);
    EXPECT_LE(s.ticks, s.given - extra);
    EXPECT_EQ(s.livesLost, 0);
    EXPECT_EQ(s.parted, -1);
  }
}

// Standing at the ledge's end before the jump leaves the jump a window;
// cut, the jump follows the walk at once, and across 77 px that is a
// press on one exact tick: the route given stays.
TEST(RouteSqueeze, TakesNoCutThatMakesAPressFramePerfect) {
  struct Case {
    int gap;
    bool cut;
  };
  for (const Case& c : std::vector<Case>{{74, true}, {77, false}}) {
    SCOPED_TRACE(c.gap);
    SqueezeRun run(ledgeLevel(c.gap));
    const Runs walk = {{10, "R"}};
    const Runs jump = {{1, "JR"}, {80, "R"}};
    Runs waiting = walk;
    waiting.push_back({30, "-"});
    waiting.insert(waiting.end(), jump.begin(), jump.end());
    Runs straight = walk;
    straight.insert(straight.end(), jump.begin(), jump.end());
    // Both clear: only the rule keeps the wait.
    ASSERT_GT(run.clearsIn(routeOf(straight)), 0);
    const Squeezed s = run.squeeze(routeOf(waiting), limitsForThisBuild());
    ASSERT_GT(s.given, 0);
    if (c.cut) {
      EXPECT_LE(s.ticks, s.given - 30);
      EXPECT_EQ(s.parted, -1);
    } else {
      EXPECT_EQ(s.ticks, s.given);
    }
  }
}

// Thousands of one-tick waits, each between two presses of up where no
// ladder is: the squeeze plays no more than its budget, cutting the
// latest first, and a budget smaller than two plays of the route tries
// nothing.
TEST(RouteSqueeze, AThousandWaitsKeepToTheBudget) {
  Runs runs;
  for (int i = 0; i < 3000; ++i) {
    runs.push_back({1, "U"});
    runs.push_back({1, "-"});
  }
  runs.push_back({200, "R"});
  struct Case {
    std::size_t tourTicks;
    bool cut;
  };
  for (const Case& c : std::vector<Case>{{250000, true}, {20000, false}}) {
    SCOPED_TRACE(c.tourTicks);
    SqueezeRun run(corridor());
    ClearingLimits limits = limitsForThisBuild();
    limits.tourTicks = c.tourTicks;
    const Squeezed s = run.squeeze(routeOf(runs), limits);
    ASSERT_GT(s.given, 0);
    EXPECT_LE(s.work.ticksPlayed, squeezeTicks(limits));
    if (c.cut) {
      EXPECT_GE(s.work.stretches, 3000u);
      EXPECT_GT(s.ticks, 0);
      EXPECT_LT(s.ticks, s.given);
      EXPECT_EQ(s.parted, -1);
    } else {
      EXPECT_EQ(s.work.stretches, 0u);
      EXPECT_EQ(s.ticks, s.given);
    }
  }
}

}  // namespace
