// pwe-check proves a tree's levels side by side, a child process each: the
// report and the route written are those of one process proving them in
// turn, and a child that dies is an error of its level. How its report
// crosses the pipe: tests/LevelReportTest.cpp.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/CheckerRun.h"
#include "tests/support/FileText.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"

namespace {

// The checker run with PWE_CHECK_JOBS (and the test's kill hook) set.
CheckRun runWithJobs(const std::string& jobs, const std::string& arguments,
                     const std::string& killed = "") {
  setenv("PWE_CHECK_JOBS", jobs.c_str(), 1);
  if (!killed.empty()) setenv("PWE_CHECK_KILL_LEVEL", killed.c_str(), 1);
  CheckRun run = runChecker(arguments);
  unsetenv("PWE_CHECK_JOBS");
  unsetenv("PWE_CHECK_KILL_LEVEL");
  return run;
}

LevelText floorOf(int x0, int x1) {
  LevelText level;
  for (int x = x0; x < x1; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 1 10");
  }
  return level;
}

// Four levels whose proofs say different things: a tile and an item out
// of reach, a countdown shorter than the route, a patrol leaving its
// floor, and a plain one.
void writeMixedLevels(GameTree& tree) {
  LevelText ledge = floorOf(0, 640);
  ledge.tiles.push_back("300 256 brick brick_clear 1 10");
  ledge.items = {"300 200 gem 5"};
  tree.writeLevel("level1.inf", ledge.str());
  tree.writeLevel("level2.inf", GameTree::simpleLevel(100));
  LevelText patrol = floorOf(0, 320);
  patrol.enemies = {"200 299 1 50 500 1.5 1 0 blob 300 50"};
  tree.writeLevel("level3.inf", patrol.str());
  tree.writeLevel("level4.inf", floorOf(64, 400).str());
}

}  // namespace

TEST(PweCheckSideBySide, ReportsAndRoutesAsOneProcessDoes) {
  const struct {
    const char* arguments;
    const char* route;  // the file --route writes, or ""
  } cases[] = {
      {"", ""},
      {"--route level2.inf route.replay", "route.replay"},
      {"--route level4.inf route.replay", "route.replay"},
      {"--route level1.inf route.replay", "route.replay"},  // none is found
      {"media/level4.inf media/level1.inf media/level3.inf", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    GameTree tree;
    writeMixedLevels(tree);
    const CheckRun alone = runWithJobs("1", c.arguments);
    const std::string aloneRoute = *c.route ? readFile(c.route) : "";
    if (*c.route) std::remove(c.route);
    for (const char* jobs : {"2", "4"}) {
      const CheckRun together = runWithJobs(jobs, c.arguments);
      EXPECT_EQ(together.output, alone.output) << jobs << " jobs";
      EXPECT_EQ(together.status, alone.status) << jobs << " jobs";
      if (*c.route) {
        EXPECT_EQ(readFile(c.route), aloneRoute) << jobs << " jobs";
        std::remove(c.route);
      }
    }
    EXPECT_GE(alone.lines.size() + alone.notes.size(), 4u) << alone.output;
  }
}

TEST(PweCheckSideBySide, ReportsAKilledChildAsAnErrorOfItsLevel) {
  GameTree tree;  // four plain levels, each proven clean
  const CheckRun clean = runWithJobs("2", "");
  EXPECT_EQ(clean.status, 0) << clean.output;
  const CheckRun run = runWithJobs("2", "--route level3.inf route.replay", "level3.inf");
  const std::string why =
      "the proof of the level ended without an answer: killed by signal 9 (Killed)";
  const std::string at = "media/level3.inf:0:0: ";
  EXPECT_EQ(run.lines,
            (std::vector<std::string>{at + why, at + "no route is written: " + why}));
  expectProvenWithoutExactPresses(run,
                                  {"media/level1.inf", "media/level2.inf", "media/level4.inf"});
  EXPECT_EQ(run.status, 1);
  EXPECT_FALSE(std::filesystem::exists("route.replay"));
}
