// The par's lower bound: which claimable tiles make one run, and on levels
// made for it, how close the bound comes to the route found without ever
// passing it.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "authoring/ClaimWays.h"
#include "authoring/ClearingRoute.h"
#include "authoring/Reachability.h"
#include "authoring/RunBound.h"
#include "authoring/RunEntries.h"
#include "authoring/RunStays.h"
#include "game/Game.h"
#include "game/ReplayFile.h"
#include "tests/support/BestTime.h"
#include "tests/support/CaseName.h"
#include "tests/support/CheckerRun.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"

namespace {

FloorTile tileAt(int x, int y, int width = 16) {
  FloorTile tile;
  tile.x = x;
  tile.y = y;
  tile.width = width;
  tile.claimable = 1;
  return tile;
}

struct RunsCase {
  const char* name;
  std::vector<FloorTile> tiles;
  std::vector<bool> wanted;
  std::vector<std::vector<int>> runs;  // tile indices by run, rows top down
};

// With a reach of 9 either side, tiles up to 20 px apart can share a claim.
TEST(ClaimRuns, GroupTheTilesOneStandingPlaceCanReachInTurn) {
  const std::vector<RunsCase> cases = {
      {"one row touching, out of order", {tileAt(32, 100), tileAt(0, 100), tileAt(16, 100)},
       {true, true, true}, {{1, 2, 0}}},
      {"a gap a claim bridges", {tileAt(0, 100), tileAt(36, 100)}, {true, true}, {{0, 1}}},
      {"a gap no claim bridges", {tileAt(0, 100), tileAt(37, 100)}, {true, true}, {{0}, {1}}},
      {"two rows", {tileAt(0, 200), tileAt(0, 100), tileAt(16, 200)}, {true, true, true},
       {{1}, {0, 2}}},
      {"an unwanted tile splits nothing and joins nothing",
       {tileAt(0, 100), tileAt(16, 100), tileAt(60, 100)}, {true, false, true}, {{0}, {2}}},
      {"nothing wanted", {tileAt(0, 100)}, {false}, {}},
  };
  for (const RunsCase& c : cases) {
    const std::vector<ClaimRun> runs = claimRuns(c.tiles, c.wanted, 9.0f);
    std::vector<std::vector<int>> got;
    for (const ClaimRun& run : runs) got.push_back(run.tiles);
    EXPECT_EQ(got, c.runs) << c.name;
  }
}

// A run whose turns stand 160 px apart, walked at 2 px a tick (80 ticks
// from turn to turn), with a gap g of 60 px: what its stays ask, by the
// ways they are entered and left.
TEST(RunStays, CountTheirWalksAndTheirShareOfTheWays) {
  const double never = std::numeric_limits<double>::infinity();
  auto start = [&](float x) { return RunEntry{x, never, never, 0.0}; };
  auto from = [&](float x, double ticks) { return RunEntry{x, ticks, never, never}; };
  auto back = [&](float x, double ticks) { return RunEntry{x, never, ticks, never, ticks}; };
  auto teleport = [&](float x, double ticks) { return RunEntry{x, never, never, never, never, ticks}; };
  // Left for another run nowhere; a teleport starts from 200, reached at
  // the walking pace.
  std::vector<RunExit> padAt200;
  for (int x = 0; x <= 240; x += 2) padAt200.push_back({static_cast<float>(x), never, std::abs(200.0 - x) / 2});
  auto everywhere = [](double out) {
    std::vector<RunExit> exits;
    for (int x = 0; x <= 240; x += 2) exits.push_back({static_cast<float>(x), out});
    return exits;
  };
  struct Case {
    const char* name;
    std::vector<RunEntry> entries;
    std::vector<RunExit> exits;
    double outShare;
    bool begins, finishes;
    double ticks;
    double inShare = -1.0;  // of a way in from away: below 0, the rest of outShare
  };
  // Left for another run only where it begins, at 10 ticks.
  std::vector<RunExit> leftOnlyAt40 = everywhere(never);
  leftOnlyAt40.push_back({40, 10});
  // A place known only to within some pixels counts at the nearest of them.
  const RunEntry doubtedStart{120, never, never, 0.0, never, never, 10.0f};
  std::vector<RunExit> leftOnlyNear40 = everywhere(never);
  leftOnlyNear40.push_back({40, 10, never, 8.0f});
  // Two stays may leave a gap g between them.
  const double apart = (160.0 - 60.0) / 2.0;
  const std::vector<Case> cases = {
      {"begun at one turn, ended at the other", {start(40)}, everywhere(0), 0.5, true, true, 80},
      {"begun between: to one turn, then the other", {start(120)}, everywhere(0), 0.5, true, true,
       120},
      {"left where it was begun", {start(40)}, leftOnlyAt40, 0.5, true, false, 80 + 80 + 5},
      {"begun between, known to 10 px", {doubtedStart}, everywhere(0), 0.5, true, true, 115},
      {"left where it was begun, known to 8 px", {start(40)}, leftOnlyNear40, 0.5, true, false,
       80 + 76 + 5},
      {"left for another run at a price", {start(40)}, everywhere(10), 1.0, true, false, 90},
      {"entered from another run", {from(200, 20)}, everywhere(0), 0.5, false, true, 10 + 80},
      {"with no way out it can only end the route", {start(40)}, everywhere(never), 0.5, true,
       false, never},
      {"two stays a gap apart", {start(40), from(200, 0)}, everywhere(0), 0.5, true, true, apart},
      {"a way in shared with the way out", {start(40), from(200, 40)}, everywhere(0), 0.5, true,
       true, apart + 20},
      {"a way back paid whole", {start(40), back(200, 40)}, everywhere(0), 0.5, true, true, 80},
      // Dearer than the gap, a way back still spares the walk back.
      {"a way back instead of the walk back", {start(40), back(40, 50)}, leftOnlyAt40, 0.5, true,
       false, 80 + 50 + 5},
      {"the life begins once", {start(40), start(200)}, everywhere(0), 0.5, true, true, 80},
      // Walked to the teleport, then a tick to the middle: nothing gained.
      {"a teleport back leaves from where teleports start", {start(40), teleport(100, 1)}, padAt200,
       0.5, true, true, 80},
      {"a teleport from where the run begins", {start(200), teleport(40, 1)}, padAt200, 0.5, true,
       true, 1 + (160.0 - 60.0) / 2},
      // Exits already split by the caller: counted whole, the entry its share.
      {"an exit given whole, a way in a quarter", {from(200, 20)}, everywhere(10), 1.0, false,
       false, 5 + 80 + 10, 0.25},
      {"an exit given whole, a way in whole", {from(200, 20)}, everywhere(10), 1.0, false, false,
       20 + 80 + 10, 1.0},
  };
  for (const Case& c : cases) {
    const StaysTicks stays =
        staysTicks(c.entries, c.exits, RunEnds{40, 200}, 60.0, 2.0, c.outShare, c.inShare);
    EXPECT_DOUBLE_EQ(stays.ticks[c.begins][c.finishes], c.ticks) << c.name;
  }
}

TEST(ClaimRuns, KnowTheirSpanAndWidestStep) {
  const std::vector<FloorTile> tiles = {tileAt(0, 100), tileAt(16, 100, 32), tileAt(60, 100)};
  const std::vector<ClaimRun> runs = claimRuns(tiles, {true, true, true}, 9.0f);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].firstLeft, 0);
  EXPECT_EQ(runs[0].lastLeft, 60);
  EXPECT_EQ(runs[0].widest, 32);
  EXPECT_EQ(runs[0].widestStep, 44);
}

// Entries chosen to begin pieces of a run: with a gap g of 60 px walked at
// 1.5 px a tick, a piece begun a whole gap from its neighbour spares 40
// ticks, and the first piece's entry is free.
TEST(RunEntries, SpareNoMoreThanTheirGapsLessTheirCost) {
  const double never = 1e18;
  auto at = [&](float x, double cost) { return RunEntry{x, cost, never}; };
  struct Case {
    const char* name;
    std::vector<RunEntry> entries;
    double spared;
  };
  const std::vector<Case> cases = {
      {"the free entry alone", {at(0, never)}, 0.0},
      {"a cheap entry a whole gap away", {at(0, never), at(200, 10)}, 40.0 - 10.0},
      // Counted by pixel column: 30 columns apart may be up to 31 pixels.
      {"a cheap entry nearer than a gap", {at(0, never), at(30, 5)}, 31.0 / 1.5 - 5.0},
      {"places within one column are one", {at(0.2f, never), at(30.1f, 5), at(30.9f, 1)},
       31.0 / 1.5 - 1.0},
      {"an entry dearer than its gap", {at(0, never), at(200, 45)}, 0.0},
      {"entries at one place count once", {at(0, never), at(200, 10), at(200, 10)}, 30.0},
      {"two cheap pieces, each a gap on", {at(0, never), at(100, 10), at(200, 10)}, 60.0},
      {"the free entry in the middle", {at(0, 10), at(100, never), at(200, 10)}, 60.0},
      {"a way back priced like a way in", {at(0, never), RunEntry{200, never, 25}}, 15.0},
      {"many entries packed closer than they pay for",
       {at(0, never), at(100, 4), at(101, 4), at(102, 4), at(103, 4)}, 36.0},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(entriesSaving(c.entries, 60.0, 1.5), c.spared) << c.name;
  }
}

struct Par {
  double lower = -1.0;
  double route = -1.0;
};

Par parOf(const LevelText& level) {
  GameTree tree;
  tree.writeLevel("level1.inf", level.str());
  const CheckRun run = runChecker();
  Par par;
  for (const std::string& note : run.notes) {
    if (note.rfind("media/level1.inf:", 0) != 0) continue;
    const std::string between = "par between ";
    const std::size_t at = note.find(between);
    if (at == std::string::npos) continue;
    par.lower = std::stod(note.substr(at + between.size()));
    par.route = std::stod(note.substr(note.find(" and ", at) + 5));
  }
  return par;
}

// The ticks of the route pwe-check writes for the tree's level1.inf, with
// its enemies (here none), after its tour.
int checkedRouteTicks() {
  const CheckRun run = runChecker("--route level1.inf route.replay");
  Replay route;
  std::string error;
  if (!readReplay("route.replay", route, error)) return -1;
  return route.tickCount();
}

void floorRow(LevelText& level, int from, int to, int row, int claimable) {
  for (int x = from; x < to; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " " + std::to_string(row) + " brick brick_clear " +
                          std::to_string(claimable) + " 10");
  }
}

struct ParCase {
  const char* name;
  LevelText level;
  double leastShare;  // of the route the bound must reach
};

std::vector<ParCase> parCases() {
  std::vector<ParCase> cases;
  {
    ParCase straight{"one straight run, walked end to end", {}, 0.9};
    floorRow(straight.level, 0, 640, 300, 1);
    straight.level.start = "8 299 1";
    cases.push_back(straight);
  }
  {
    ParCase ladder{"two runs joined by a ladder", {}, 0.75};
    floorRow(ladder.level, 0, 640, 300, 1);
    floorRow(ladder.level, 320, 640, 236, 1);
    ladder.level.ladders = {"600 236 64 rungs"};
    ladder.level.start = "8 299 1";
    cases.push_back(ladder);
  }
  {
    // The only way up is a teleport from the lower run's far end.
    ParCase up{"two runs joined by a teleporter alone", {}, 0.45};
    floorRow(up.level, 0, 128, 300, 1);
    floorRow(up.level, 0, 128, 172, 1);
    up.level.teleporters = {"104 268 pad pad_cool 1", "0 140 pad pad_cool 2"};
    up.level.start = "8 299 1";
    cases.push_back(up);
  }
  return cases;
}

TEST(ParBound, ComesCloseToTheRouteAndNeverPassesIt) {
  for (const ParCase& c : parCases()) {
    const Par par = parOf(c.level);
    ASSERT_GT(par.route, 0.0) << c.name;
    EXPECT_LE(par.lower, par.route) << c.name;
    EXPECT_GE(par.lower, c.leastShare * par.route) << c.name << ": " << par.lower << " of "
                                                   << par.route;
  }
}

// Small levels whose best time a breadth-first search over every input
// finds: the bound never passes it, and no route found beats it. Each runs
// on its own, so that the exhaustive searches share the cores.
struct Truth {
  const char* name;
  LevelText level;
  bool routeIsBest = true;  // the checker's route is held to the best
  double boundShare = 0.6;  // of the best, that the runs bound reaches at least
  std::string config = "";  // pwe.cfg
};

void PrintTo(const Truth& c, std::ostream* out) { *out << c.name; }

std::vector<Truth> truthCases() {
  std::vector<Truth> cases;
  {
    // Jumps and steps mixed finely beat the tour's route by two ticks.
    Truth straight{"a short straight run", {}, false, 0.9};
    floorRow(straight.level, 0, 192, 300, 1);
    straight.level.start = "8 299 1";
    cases.push_back(straight);
  }
  {
    Truth ladder{"a run and a ladder up to another", {}};
    floorRow(ladder.level, 0, 96, 300, 1);
    floorRow(ladder.level, 96, 192, 300, 0);
    floorRow(ladder.level, 128, 192, 236, 1);
    ladder.level.ladders = {"150 236 64 rungs"};
    ladder.level.start = "8 299 1";
    cases.push_back(ladder);
  }
  {
    Truth gap{"two runs a jump apart", {}, true, 0.75};
    floorRow(gap.level, 0, 64, 300, 1);
    floorRow(gap.level, 128, 192, 300, 1);
    gap.level.start = "8 299 1";
    cases.push_back(gap);
  }
  {
    // The way up is where the run begins: it is walked there and back.
    Truth back{"a run left where it begins", {}, true, 0.64};
    floorRow(back.level, 0, 128, 300, 1);
    floorRow(back.level, 0, 64, 236, 1);
    back.level.ladders = {"8 236 64 rungs"};
    back.level.start = "40 299 1";
    cases.push_back(back);
  }
  {
    // Begun in the middle: one end walked, the other reached by teleport.
    // A short cooldown keeps the states the exhaustive search tells apart few.
    Truth pads{"a run with a teleporter at either end", {}, false, 0.85,
               "[mechanics]\nteleport_cooldown = 16\n"};
    floorRow(pads.level, 0, 224, 300, 1);
    pads.level.teleporters = {"0 268 pad pad_cool 1", "208 268 pad pad_cool 2"};
    pads.level.start = "112 299 1";
    cases.push_back(pads);
  }
  {
    // A fall's chain claims where it leaves and where it lands, and
    // nowhere between.
    Truth drop{"a run that drops onto another", {}, true, 0.8};
    floorRow(drop.level, 0, 96, 236, 1);
    floorRow(drop.level, 0, 192, 300, 1);
    drop.level.start = "8 235 1";
    cases.push_back(drop);
  }
  {
    // A claim made as a jump lands stands where it landed, and a chute
    // that takes the player in the same tick moves it on before the tick
    // ends: the end of the run leads into one.
    Truth chute{"a run whose end leads into a chute", {}, false, 0.8};
    floorRow(chute.level, 0, 192, 300, 1);
    floorRow(chute.level, 0, 96, 236, 1);
    chute.level.ladders = {"8 236 64 rungs"};
    chute.level.chutes = {"96 236 64 16 1 step"};
    chute.level.start = "40 299 1";
    cases.push_back(chute);
  }
  return cases;
}

class ParBoundTruth : public testing::TestWithParam<Truth> {};

TEST_P(ParBoundTruth, NeverPassesTheTrueBestTime) {
  const Truth& c = GetParam();
  GameTree tree;
  tree.writeLevel("level1.inf", c.level.str());
  tree.writeText("media/pwe.cfg", c.config);
  set_config_file("media/pwe.cfg");
  auto game = std::make_unique<Game>(640, 480, 100);
  game->startLevel("level1.inf");
  const int best = bestClearingTicks(*game, 400, 1000000);
  ASSERT_GT(best, 0);
  game->beginLife();
  Reachability search(*game);
  search.run();
  RouteLimits limits{ClearingLimits{}};
  const ParBound par = parLowerBound(search, ParLevel(*game), limits);
  ASSERT_TRUE(par.found);
  EXPECT_LE(par.ticks, best);
  EXPECT_GE(static_cast<int>(search.route().ticks.size()), best);
  // The runs bound on its own, which the ordered one may hide here.
  const StateGraph& graph = *search.foundStates();
  const RunBound runs = claimRunsBound(
      graph, ParLevel(*game), claimways::claimStart(graph, game->floorManager.tiles().size(), limits),
      limits);
  ASSERT_TRUE(runs.found);
  EXPECT_LE(runs.ticks, static_cast<std::uint64_t>(best));
  EXPECT_GE(static_cast<double>(runs.ticks), c.boundShare * best) << runs.ticks << " of " << best;
  // The route pwe-check keeps after its tour: never better than the
  // best, and the best itself where the levels leave no choice to miss.
  const int checked = checkedRouteTicks();
  EXPECT_GE(checked, best);
  if (c.routeIsBest) {
    EXPECT_EQ(checked, best);
  }
}

INSTANTIATE_TEST_SUITE_P(SmallLevels, ParBoundTruth, testing::ValuesIn(truthCases()),
                         caseName<Truth>);

}  // namespace
