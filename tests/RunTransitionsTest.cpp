// The ways between runs split between the stay that leaves and the stay
// that arrives: the exit's part and the entry's part of one way must never
// add up to more than the way, or the par passes a real route; and each
// part is raised as far as the other allows, or the par says less than it
// knows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "authoring/ClaimWays.h"
#include "authoring/ClearingRoute.h"
#include "authoring/RunBound.h"
#include "authoring/RunExits.h"
#include "authoring/RunTransitions.h"
#include "authoring/StateGraph.h"
#include "tests/support/HandGraph.h"

namespace {

// Two runs of one tile each, A on the row at 100 and B on the row at 200.
// From A's place a way leaves (claiming A as it starts) and lands on B 19
// ticks after that claim; from B's place another leaves (claiming B) and
// lands on A 34 ticks after it. The life begins on A.
FloorTile tileAt(int x, int y) {
  FloorTile tile;
  tile.x = x;
  tile.y = y;
  tile.width = 16;
  tile.claimable = 1;
  return tile;
}

struct TwoRuns {
  std::vector<FloorTile> tiles = {tileAt(0, 100), tileAt(100, 200)};
  // On A, on B, and two places in the air between.
  StateGraph graph = handGraph({{8, 99}, {108, 199}, {50, 150}, {50, 160}},
                               {{0, 2, 10, false, {0}}, {1, 3, 30, false, {1}},
                                {2, 1, 10, false, {1}}, {3, 0, 5, false, {0}}});
};

double least(const std::vector<double>& values) {
  return values.empty() ? std::numeric_limits<double>::infinity()
                        : *std::min_element(values.begin(), values.end());
}

TEST(RunTransitions, SplitEachWayWholeBetweenItsExitAndItsEntry) {
  const struct {
    double share;  // of each way the exits count at first
    double exitA, entryB, exitB, entryA;
  } rows[] = {
      {0.25, 4, 15, 8, 26},
      {0.5, 9, 10, 17, 17},
      {0.75, 14, 5, 25, 9},
  };
  TwoRuns level;
  const RouteLimits limits{ClearingLimits{}};
  const RunMotion motion{6.0f, 8.0f, 6.0f};
  const std::vector<ClaimRun> runs = claimRuns(level.tiles, {true, true}, motion.reach);
  ASSERT_EQ(runs.size(), 2u);
  const claimways::ClaimStart start = claimways::claimStart(level.graph, level.tiles.size(), limits);
  RunTransitions ways(level.graph, runs, start, motion, limits);
  ASSERT_TRUE(ways.measure());
  for (const auto& row : rows) {
    SCOPED_TRACE(row.share);
    std::uint64_t lift = 0;
    const ToOtherRuns onward(level.graph, ways.targets(1.0 - row.share, lift), start.longest, limits);
    ASSERT_TRUE(onward.found());
    std::vector<std::vector<RunExit>> exits = {ways.exits(0, onward, lift, row.share),
                                               ways.exits(1, onward, lift, row.share)};
    std::uint64_t top = 0;
    const ToOtherRuns arriving(level.graph, ways.exitStarts(exits, top), start.longest, limits,
                               ToOtherRuns::Walk::FromClaims);
    ASSERT_TRUE(arriving.found());
    std::vector<double> outs[2], ins[2];
    for (std::size_t r = 0; r < 2; ++r) {
      for (const RunExit& x : exits[r]) outs[r].push_back(x.out);
      for (const RunEntry& e : ways.countedFrom(r, ways.entries(r), arriving, top, 1.0 - row.share)) {
        if (std::isfinite(e.others)) ins[r].push_back(e.others);
      }
    }
    EXPECT_DOUBLE_EQ(least(outs[0]), row.exitA);
    EXPECT_DOUBLE_EQ(least(ins[1]), row.entryB);
    EXPECT_DOUBLE_EQ(least(outs[1]), row.exitB);
    EXPECT_DOUBLE_EQ(least(ins[0]), row.entryA);
    // Whole, and no more: each way's two parts add up to it.
    EXPECT_DOUBLE_EQ(least(outs[0]) + least(ins[1]), 19.0);
    EXPECT_DOUBLE_EQ(least(outs[1]) + least(ins[0]), 34.0);
  }
}

// A claim made as a way ends stands where it ends, on the run; one made
// in a way's first tick is known by where the way leaves, a tick's step
// from it (the walk's 6 px either way here).
TEST(RunTransitions, KnowWhereEachClaimStandsByTheTickThatMadeIt) {
  TwoRuns level;
  const RouteLimits limits{ClearingLimits{}};
  const RunMotion motion{6.0f, 8.0f, 6.0f};
  const std::vector<ClaimRun> runs = claimRuns(level.tiles, {true, true}, motion.reach);
  const claimways::ClaimStart start = claimways::claimStart(level.graph, level.tiles.size(), limits);
  RunTransitions ways(level.graph, runs, start, motion, limits);
  ASSERT_TRUE(ways.measure());
  std::uint64_t lift = 0;
  const ToOtherRuns onward(level.graph, ways.targets(0.5, lift), start.longest, limits);
  ASSERT_TRUE(onward.found());
  const struct {
    const char* name;
    std::size_t run;
    bool exits;
    std::vector<float> doubts;  // in the order of the edges that claim
  } rows[] = {
      {"A left as a way starts, and as one lands there", 0, true, {6.0f, 0.0f}},
      {"B left as a way starts, and as one lands there", 1, true, {6.0f, 0.0f}},
      {"A entered as a way lands", 0, false, {0.0f}},
      {"B entered as a way lands", 1, false, {0.0f}},
  };
  for (const auto& row : rows) {
    std::vector<float> doubts;
    if (row.exits) {
      for (const RunExit& x : ways.exits(row.run, onward, lift, 0.5)) doubts.push_back(x.doubt);
    } else {
      for (const RunEntry& e : ways.entries(row.run)) doubts.push_back(e.doubt);
    }
    EXPECT_EQ(doubts, row.doubts) << row.name;
  }
}

}  // namespace
