// The proof's route shortened by a tour over the order of its runs: on
// levels whose nearest-first order is slow the tour finds a quicker one
// that the game, replayed, still clears; on a shipped level it beats the
// route recorded by hand.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "authoring/ClearingSearch.h"
#include "authoring/ItemWays.h"
#include "authoring/Reachability.h"
#include "authoring/ReachabilityVerdict.h"
#include "authoring/RouteTour.h"
#include "authoring/Replay.h"
#include "game/Game.h"
#include "shell/MediaOverlay.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"
#include "tests/support/PlacedLevel.h"
#include "tests/support/RepositoryRoot.h"

namespace {

void floorRow(LevelText& level, int from, int to, int row, int claimable) {
  for (int x = from; x < to; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " " + std::to_string(row) + " brick brick_clear " +
                          std::to_string(claimable) + " 10");
  }
}

// The sanitizer run is slower: it scales the tour's seconds as pwe-check's.
// The tour's own work alone, but where a test asks for more.
ClearingLimits limitsForThisBuild(bool tour) {
  ClearingLimits limits;
  if (const char* seconds = std::getenv("PWE_SEARCH_SECONDS")) limits.maxSeconds = std::atof(seconds);
  if (!tour) limits.tourTicks = 0;
  limits.tourMore = 0;
  return limits;
}

struct Proved {
  std::size_t ticks = 0;  // of the route, 0 when none cleared
  Replay route;
  bool agrees = false;  // no finding says the game parts from the proof's play
};

Proved prove(Game& game, bool tour) {
  game.beginLife();
  // The search gets the proof's seconds: a loaded machine running the
  // sanitizer build can take longer than the search's own limit.
  ReachabilityLimits searchLimits;
  searchLimits.maxSeconds = limitsForThisBuild(tour).maxSeconds;
  Reachability search(game, searchLimits);
  search.run();
  Proved proved;
  const ReachabilityVerdict verdict = judgeLevel(game, search, limitsForThisBuild(tour));
  if (!verdict.routeWritable || verdict.route.enemiesAbsent) return proved;
  proved.route = verdict.route;
  proved.ticks = static_cast<std::size_t>(verdict.route.tickCount());
  proved.agrees = true;
  for (const LayoutFinding& f : verdict.findings) {
    if (f.message.find("disagree") != std::string::npos) proved.agrees = false;
  }
  return proved;
}

// A level placed, searched and cleared by the proof's greedy orders alone,
// then toured from that route as asked.
struct Greedy {
  explicit Greedy(const LevelText& level) : placed(level), search(placed.game) {
    search.run();
    route = clearWithEnemies(placed.game, search, limitsForThisBuild(false));
  }
  ClearingResult toured(const ClearingLimits& limits, TourStyle style, ClearingResult* atBase = nullptr) {
    ItemWays items;
    ClearingResult toured = route;
    shortenByTour(placed.game, search, toured, limits, items, style, atBase);
    return toured;
  }
  PlacedLevel placed;
  Reachability search;
  ClearingResult route;
};

struct SlowCase {
  const char* name;
  LevelText level;
};

// The player starts a step from the end of a long run, with a short run
// a little further off on the other side: nearest first walks the long
// run out and back; the short one first saves most of a crossing.
std::vector<SlowCase> slowCases() {
  std::vector<SlowCase> cases;
  {
    SlowCase bare{"a long run nearer than a short one", {}};
    floorRow(bare.level, 0, 304, 300, 1);
    floorRow(bare.level, 304, 336, 300, 0);
    floorRow(bare.level, 336, 416, 300, 1);
    bare.level.start = "318 299 1";
    cases.push_back(bare);
  }
  {
    SlowCase guarded{"the same, a blob patrolling a floor above", {}};
    guarded.level = cases.front().level;
    floorRow(guarded.level, 0, 640, 180, 0);
    guarded.level.enemies = {"100 179 1 20 600 1.5 1 0 blob 0 50"};
    cases.push_back(guarded);
  }
  return cases;
}

TEST(RouteTour, FindsAQuickerOrderThanNearestFirstThatStillClears) {
  for (const SlowCase& c : slowCases()) {
    GameTree tree;
    tree.writeLevel("level1.inf", c.level.str());
    auto game = std::make_unique<Game>(640, 480, 100);
    game->startLevel("level1.inf");
    const Proved greedy = prove(*game, false);
    const Proved toured = prove(*game, true);
    ASSERT_GT(greedy.ticks, 0u) << c.name;
    ASSERT_GT(toured.ticks, 0u) << c.name;
    EXPECT_LT(toured.ticks + 50, greedy.ticks) << c.name;
    EXPECT_TRUE(toured.agrees) << c.name;
    const ReplayOutcome outcome = playReplay(*game, toured.route);
    EXPECT_TRUE(outcome.cleared) << c.name;
    EXPECT_EQ(outcome.livesLost, 0) << c.name;
  }
}

// A shipped level where nearest first and the moves near the route's end
// left much of the route to waiting and crossing: played first, the
// cheapest orders by the estimate take a quarter or more off the route.
TEST(RouteTour, TakesAQuarterOffMoss2ByTheEstimatesOrder) {
  ASSERT_TRUE(enterRepositoryRoot());
  layMediaSet(std::filesystem::absolute("sets/moss").string());
  for (const char* level : {"moss2.inf"}) {
    auto game = std::make_unique<Game>(640, 480, 100);
    game->startLevel(level);
    const Proved greedy = prove(*game, false);
    const Proved toured = prove(*game, true);
    ASSERT_GT(toured.ticks, 0u) << level;
    EXPECT_LE(4 * toured.ticks, 3 * greedy.ticks) << level;
    EXPECT_TRUE(toured.agrees) << level;
  }
  liftMediaSet();
}

// A shipped level: the proof's route, with its tour, is no slower than
// the route recorded by hand in the suite (the greedy route alone was).
TEST(RouteTour, BeatsTheHandRecordedRouteOnLevel1) {
  ASSERT_TRUE(enterRepositoryRoot());
  for (const char* level : {"level1"}) {
    Replay hand;
    std::string error;
    ASSERT_TRUE(readReplay(std::string("tests/replays/") + level + ".replay", hand, error)) << error;
    auto game = std::make_unique<Game>(640, 480, 100);
    game->startLevel(std::string(level) + ".inf");
    const Proved toured = prove(*game, true);
    ASSERT_GT(toured.ticks, 0u) << level;
    EXPECT_LE(toured.ticks, static_cast<std::size_t>(hand.tickCount())) << level;
    EXPECT_TRUE(toured.agrees) << level;
  }
}

// A run with a ladder up from its middle to a run above: claimed in one
// leg it is walked out to its far end and back to the ladder; cut at the
// ladder, its far half waits until the run above is done. Only a tour that
// may cut legs finds that, played from the same nearest-first route: one
// whose style cuts them, or any once past its own work into the more.
TEST(RouteTour, CutsARunWhereAWayLeavesFromItsMiddle) {
  LevelText level;
  floorRow(level, 0, 640, 300, 1);
  floorRow(level, 224, 416, 236, 1);
  level.ladders = {"304 236 64 rungs"};
  level.start = "8 299 1";
  Greedy greedy(level);
  ASSERT_EQ(greedy.route.end, ClearingResult::End::Cleared);
  struct Row {
    const char* name;
    bool cutStyle;
    std::size_t own, more;  // work, 0 for the build's own
    bool cuts;
  };
  const Row rows[] = {
      {"whole legs", false, 0, 0, false},
      {"cut by its style", true, 0, 0, true},
      {"whole legs, then the more", false, 0, 200000, true},
      {"whole legs, its own work cut short", false, 2000, 0, false},
      {"whole legs, cut short, then the more", false, 2000, 200000, true},
  };
  std::size_t whole = 0;
  for (const Row& row : rows) {
    ClearingLimits limits = limitsForThisBuild(true);
    if (row.own != 0) limits.tourTicks = row.own;
    limits.tourMore = row.more;
    limits.tourMorePerState = 0;
    const ClearingResult toured = greedy.toured(limits, TourStyle{false, row.cutStyle});
    EXPECT_EQ(toured.hashes.size(), toured.route.size()) << row.name;
    EXPECT_LE(toured.route.size(), greedy.route.route.size()) << row.name;
    if (whole == 0) whole = toured.route.size();
    if (row.cuts) {
      EXPECT_LT(toured.route.size() + 40, whole) << row.name;
    } else {
      EXPECT_GE(toured.route.size(), whole) << row.name;
    }
  }
}

// The more work a small level allows goes on from where the tour's own
// left off: what the tour's own work gave comes out as it would without
// the more, and the route kept is never longer than it.
TEST(RouteTour, TheMoreWorkGoesOnFromWhereItsOwnLeftOff) {
  LevelText level;
  floorRow(level, 0, 640, 300, 1);
  floorRow(level, 224, 416, 236, 1);
  floorRow(level, 0, 160, 172, 1);
  level.ladders = {"304 236 64 rungs", "96 172 128 rungs"};
  level.start = "8 299 1";
  Greedy greedy(level);
  ASSERT_EQ(greedy.route.end, ClearingResult::End::Cleared);
  const auto tour = [&](std::size_t own, std::size_t more, ClearingResult* atBase) {
    ClearingLimits limits = limitsForThisBuild(true);
    limits.tourTicks = own;
    limits.tourMore = more;
    limits.tourMorePerState = 0;
    return greedy.toured(limits, TourStyle{false, true}, atBase);
  };
  // The tour's own work runs out here with moves still to try; the more
  // finds a quicker order among them.
  for (std::size_t own : {2000, 20000}) {
    const ClearingResult alone = tour(own, 0, nullptr);
    ClearingResult atBase;
    const ClearingResult more = tour(own, 200000, &atBase);
    EXPECT_EQ(atBase.hashes, alone.hashes) << own;
    EXPECT_LT(more.route.size(), atBase.route.size()) << own;
    EXPECT_EQ(more.hashes.size(), more.route.size()) << own;
  }
}

}  // namespace
