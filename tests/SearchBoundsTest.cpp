// Every stage of a level's check keeps to its bounds on levels made to
// strain them: memory measured as this process's own peak, time on the
// searches' clock. The limits are set small, so each case takes seconds;
// pwe-check's defaults on the full-size levels are measured in
// docs/performance.md.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "authoring/ClearingRoute.h"
#include "authoring/ClearingSearch.h"
#include "authoring/LayoutRules.h"
#include "authoring/Reachability.h"
#include "authoring/ReachabilityVerdict.h"
#include "authoring/RunBound.h"
#include "game/Game.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"
#include "tests/support/PlacedLevel.h"

namespace {

// A floor the player walks, `claimable` of its tiles a pixel apart and the
// last at its end, and above it, out of reach, a floor of `enemies` patrols
// and `items` items.
LevelText strained(int claimable, int enemies, int items, bool stillEnemiesAtTheEnd) {
  LevelText level;
  level.countdown = 100000;
  level.start = "40 299 1";
  for (int x = 0; x < 608; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 0 0");
    level.tiles.push_back(std::to_string(x) + " 40 brick brick_clear 0 0");
  }
  for (int i = 0; i < claimable; ++i) {
    level.tiles.push_back(std::to_string(i % 600) + " 300 brick brick_clear 1 10");
  }
  if (claimable > 0) level.tiles.push_back("608 300 brick brick_clear 1 10");
  for (int i = 0; i < enemies; ++i) {
    level.enemies.push_back(std::to_string(i * 7 % 590) + " 39 " + std::to_string(i % 2) +
                            " 0 600 0." + std::to_string(3 + i % 7) + " 1 0 blob 600 100");
  }
  // Standing anywhere the last tile can be claimed from touches one of them.
  for (int x = 596; stillEnemiesAtTheEnd && x < 640; x += 12) {
    level.enemies.push_back(std::to_string(x) + " 299 0 " + std::to_string(x) + " " +
                            std::to_string(x) + " 0 1 0 blob 600 100");
  }
  for (int i = 0; i < items; ++i) {
    level.items.push_back(std::to_string(10 + i % 70 * 8) + " " + std::to_string(2 + i / 70) +
                          " gem 100");
  }
  return level;
}

// This process's peak resident memory since the last reset, in bytes.
std::size_t peakBytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stoul(line.substr(6)) * 1024;
  }
  return 0;
}

std::size_t residentBytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stoul(line.substr(6)) * 1024;
  }
  return 0;
}

// The peak is counted again from what is resident now.
void resetPeak() { std::ofstream clear("/proc/self/clear_refs");
  clear << "5"; }

std::string joined(const std::vector<LayoutFinding>& findings) {
  std::string text;
  for (const LayoutFinding& f : findings) text += f.message + "\n";
  return text;
}

}  // namespace

// Each search stops at its limit in bytes with the verdict's warning, and
// this process grows by no more than the limit and a margin for the level.
TEST(SearchBounds, MemoryStaysWithinTheLimit) {
  const std::size_t margin = std::size_t{48} << 20;
  const struct {
    const char* name;
    int claimable, enemies;
    std::size_t searchBytes, proofBytes;
    const char* warning;
  } cases[] = {
      {"the proof, 600 tiles a pixel apart, 3000 patrols", 600, 3000, std::size_t{448} << 20,
       std::size_t{4} << 20, "within the search's limits"},
      {"the search", 600, 0, std::size_t{16} << 10, std::size_t{256} << 20,
       "which tiles and items can be reached is not known"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PlacedLevel level(strained(c.claimable, c.enemies, 0, false));
    resetPeak();
    const std::size_t before = residentBytes();
    ReachabilityLimits limits;
    limits.maxBytes = c.searchBytes;
    Reachability search(level.game, limits);
    search.run();
    ClearingLimits proof;
    proof.maxSeconds = 30.0;
    proof.maxBytes = c.proofBytes;
    const std::string verdict = joined(judgeLevel(level.game, search, proof).findings);
    EXPECT_NE(verdict.find(c.warning), std::string::npos) << verdict;
#ifndef __SANITIZE_ADDRESS__  // its quarantine keeps freed memory resident
    EXPECT_LT(peakBytes() - before, std::min(c.searchBytes, c.proofBytes) + margin);
#endif
  }
}

// Each stage ends within a little of its limit in seconds however many
// elements it has to look at.
TEST(SearchBounds, EveryStageKeepsToItsSeconds) {
  const double limit = 1.0;
  // The sanitizer run, ten times slower, sets PWE_SEARCH_SECONDS.
  const double slack = std::getenv("PWE_SEARCH_SECONDS") == nullptr ? 0.5 : 5.0;
  // Still enemies by the last tile, and 4000 items none of which the
  // player can reach: the proof tries every place, and might go after
  // each item from each.
  LevelText floors = strained(600, 0, 4000, true);
  for (int row = 160; row < 300; row += 36) {
    for (int x = 0; x < 608; x += GameTree::tileWidth) {
      floors.tiles.push_back(std::to_string(x) + " " + std::to_string(row) + " brick brick_clear 0 0");
    }
  }
  floors.ladders.push_back("300 160 140 rungs");
  PlacedLevel items(floors);
  Reachability search(items.game);
  search.run();
  ASSERT_TRUE(search.complete());
  ClearingLimits proof;
  proof.maxSeconds = limit;
  double start = searchClockSeconds();
  const ClearingResult blocked = clearWithEnemies(items.game, search, proof);
  EXPECT_NE(blocked.end, ClearingResult::End::Cleared);
  EXPECT_LT(searchClockSeconds() - start, limit + slack);

  // Every element the layout rules look at, many of each, crowded.
  LevelText crowded = strained(3000, 3000, 3000, false);
  for (int i = 0; i < 3000; ++i) {
    const std::string x = std::to_string(i * 13 % 600);
    const std::string y = std::to_string(60 + i * 7 % 220);
    crowded.ladders.push_back(x + " " + y + " 48 rungs");
    crowded.chutes.push_back(x + " " + y + " 48 4 " + std::to_string(i % 2) + " step");
    crowded.teleporters.push_back(x + " " + y + " pad pad_cool " + std::to_string(1 + i % 9));
  }
  PlacedLevel layout(crowded);
  start = searchClockSeconds();
  const std::vector<LayoutFinding> findings = LayoutRules(layout.game, limit).check();
  const double took = searchClockSeconds() - start;
  EXPECT_LT(took, limit + slack);
  if (took > limit) {
    EXPECT_NE(joined(findings).find("the layout rules stopped at their limit of 1 s"),
              std::string::npos);
  }
}

// What follows a route found keeps to the proof's limits again: past
// them the presses left unchecked and a bound not found are said so, and
// nothing more is claimed. Six floors across five gaps, the last tile at
// the end: a jump pressed at each.
TEST(SearchBounds, TheRouteChecksStopAtTheirLimits) {
  LevelText gaps;
  gaps.start = "8 299 1";
  for (int x = 0; x < 608; x += 96) {
    gaps.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 0 0");
    gaps.tiles.push_back(std::to_string(x + 32) + " 300 brick brick_clear 0 0");
  }
  gaps.tiles.push_back("608 300 brick brick_clear 1 10");
  PlacedLevel level(gaps);
  Reachability search(level.game);
  search.run();
  const ClearingResult clear = clearWithEnemies(level.game, search);
  ASSERT_EQ(clear.end, ClearingResult::End::Cleared);

  // By ticks, as pwe-check says it: the proof has all it needs, the
  // presses less than the route and their trials take.
  ClearingLimits ticks;
  ticks.maxTicks = 2 * clear.ticksPlayed;
  const std::string note = judgeLevel(level.game, search, ticks).findings.at(0).message;
  EXPECT_NE(note.find("par between"), std::string::npos) << note;
  EXPECT_NE(note.find("; frame-perfect inputs checked for the first "), std::string::npos) << note;
  EXPECT_EQ(note.find("no input must be frame-perfect"), std::string::npos) << note;

  // By seconds: none left.
  const struct {
    const char* name;
    double seconds;
    bool everything;
  } cases[] = {{"the proof's limits", 60.0, true}, {"no time", 0.0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ClearingLimits limits;
    limits.maxSeconds = c.seconds;
    RouteLimits parLimits(limits);
    EXPECT_EQ(parLowerBound(search, ParLevel(level.game), parLimits).found, c.everything);
    RouteLimits pressLimits(limits);
    const FramePerfect exact = framePerfectTicks(level.game, search, clear.route, pressLimits);
    EXPECT_GT(exact.presses, 0u);
    EXPECT_EQ(exact.checked, c.everything ? exact.presses : 0u);
  }
  // Stopped from another thread: a par no one asks for any longer.
  const std::atomic<bool> unwanted{true};
  RouteLimits stopped{ClearingLimits{}};
  stopped.stopWhen(&unwanted);
  EXPECT_FALSE(parLowerBound(search, ParLevel(level.game), stopped).found);
}

// The report works the par out on a second thread while the proof plays the
// level, claiming and taking back tiles and moving enemies: the par it says
// is the one worked out alone, on a level whose proof waits for a patrol.
TEST(SearchBounds, TheParWorkedOutBesideTheProofIsTheParAlone) {
  LevelText level;
  level.start = "8 299 1";
  for (int x = 0; x < 640; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear " + (x % 64 == 0 ? "1" : "0") +
                          " 10");
  }
  level.enemies = {"300 299 0 200 400 0.5 1 0 blob 600 100"};
  PlacedLevel placed(level);
  Reachability search(placed.game);
  search.run();
  const ReachabilityVerdict verdict = judgeLevel(placed.game, search);
  ASSERT_GT(verdict.clearedTicks, 0) << joined(verdict.findings);
  RouteLimits limits{ClearingLimits{}};
  const ParBound alone = parLowerBound(search, ParLevel(placed.game), limits);
  ASSERT_TRUE(alone.found);
  EXPECT_EQ(verdict.parTicks, std::min(alone.ticks, verdict.clearedTicks));
  EXPECT_GT(verdict.parTicks, 0);
}
