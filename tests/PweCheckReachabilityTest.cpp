// pwe-check's reachability findings and --route, run as users run them on
// small media trees: the lines about what cannot be reached, the countdown
// warning, and a written route that the replay player plays to a cleared
// level with the enemies there.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "authoring/Replay.h"
#include "game/Game.h"
#include "tests/support/CheckerRun.h"
#include "tests/support/FileText.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"
#include "tests/support/PlayField.h"

namespace fs = std::filesystem;

namespace {

// The lines the reachability search is behind; the layout rules may say
// more about the same levels.
std::vector<std::string> reachabilityLines(const CheckRun& run) {
  std::vector<std::string> found;
  for (const std::string& line : run.lines) {
    for (const char* mark : {"cannot be reached", "cannot be cleared", "route", "search stopped"}) {
      if (line.find(mark) != std::string::npos) {
        found.push_back(line);
        break;
      }
    }
  }
  return found;
}

LevelText floorWithLedge() {
  LevelText level;
  for (int x = 0; x < 640; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 1 10");
  }
  level.tiles.push_back("300 256 brick brick_clear 1 10");  // above the jump's reach
  return level;
}

TEST(PweCheckReachability, NamesEveryTileAndItemOutOfReachAtItsRecord) {
  GameTree tree;
  LevelText level = floorWithLedge();
  level.items = {"300 200 gem 5", "500 290 gem 5"};
  tree.writeLevel("level1.inf", level.str());
  const CheckRun run = runChecker();
  EXPECT_EQ(reachabilityLines(run),
            (std::vector<std::string>{
                "media/level1.inf:27:1: claimable tile at 300, 256 cannot be reached from the "
                "start position",
                "media/level1.inf:32:1: warning: item at 300, 200 cannot be reached from the start "
                "position",
                "media/level1.inf:0:0: the level cannot be cleared: 1 claimable tile cannot be "
                "reached"}));
  EXPECT_EQ(run.status, 1);
}

TEST(PweCheckReachability, WarnsWhenTheRouteTakesLongerThanTheCountdown) {
  GameTree tree;
  // 100 on the countdown ends the life after 301 ticks; the floor takes
  // longer to walk.
  tree.writeLevel("level1.inf", GameTree::simpleLevel(100));
  const CheckRun run = runChecker();
  const std::vector<std::string> lines = reachabilityLines(run);
  ASSERT_EQ(lines.size(), 1u) << testing::PrintToString(run.lines);
  const std::string start = "media/level1.inf:0:0: warning: the quickest route found takes ";
  const std::string end = " s; the countdown allows 3.0 s";
  EXPECT_EQ(lines[0].rfind(start, 0), 0u) << lines[0];
  EXPECT_EQ(lines[0].substr(lines[0].size() - end.size()), end) << lines[0];
  EXPECT_EQ(run.status, 0);
}

TEST(PweCheckReachability, WritesARouteTheReplayPlayerClearsTheLevelWith) {
  GameTree tree;
  LevelText level;
  for (int x = 0; x < 320; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 1 10");
  }
  level.tiles.push_back("480 100 brick brick_clear 1 10");  // only teleporter 2 leads there
  level.tiles.push_back("512 100 brick brick_clear 1 10");
  level.teleporters = {"40 268 pad pad_cool 1", "500 68 pad pad_cool 2"};
  level.enemies = {"200 299 1 50 300 1.5 1 0 blob 300 50"};
  tree.writeLevel("level1.inf", level.str());
  const CheckRun run = runChecker("--route level1.inf route.replay");
  EXPECT_EQ(reachabilityLines(run), std::vector<std::string>{});

  Replay replay;
  std::string error;
  ASSERT_TRUE(readReplay("route.replay", replay, error)) << error;
  EXPECT_EQ(replay.level, "level1.inf");
  EXPECT_EQ(replay.levelHash, fileHash("media/level1.inf"));
  EXPECT_EQ(replay.playerHash, fileHash("media/player.inf"));
  EXPECT_FALSE(replay.enemiesAbsent);
  bool teleports = false;
  for (const ReplayRun& keys : replay.runs) teleports = teleports || keys.keys.find('2') != std::string::npos;
  EXPECT_TRUE(teleports);

  releaseAllKeys();
  auto game = std::make_unique<Game>(640, 480, 100);
  game->startLevel("level1.inf");
  const ReplayOutcome outcome = playReplay(*game, replay);
  EXPECT_TRUE(outcome.cleared);
  EXPECT_EQ(outcome.livesLost, 0);
  EXPECT_EQ(outcome.ticks, replay.tickCount());
  EXPECT_EQ(outcome.scoreGained, replay.expectScore);
  EXPECT_EQ(outcome.scoreGained, 12 * 10);
  EXPECT_EQ(game->enemyManager.enemies().size(), 1u);
}

TEST(PweCheckReachability, WritesNoRouteForALevelNoRouteClears) {
  GameTree tree;
  tree.writeLevel("level1.inf", floorWithLedge().str());
  const CheckRun run = runChecker("--route level1.inf route.replay");
  const std::vector<std::string> lines = reachabilityLines(run);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "media/level1.inf:0:0: no route is written: no route clears the level");
  EXPECT_FALSE(fs::exists("route.replay"));
  EXPECT_EQ(run.status, 1);

  const CheckRun unknown = runChecker("--route level9.inf route.replay");
  ASSERT_FALSE(reachabilityLines(unknown).empty());
  EXPECT_EQ(reachabilityLines(unknown).front(),
            "media:0:0: no route is written: level9.inf is none of the levels level1.inf to "
            "level4.inf");
  EXPECT_EQ(runChecker("--route level1.inf").status, 2);
}

// A level whose only way up is teleporter 10, which has no digit of its
// own: its route is proven with the enemies and written as "#10".
TEST(PweCheckReachability, ProvesAndWritesARouteThroughTeleporterTen) {
  GameTree tree;
  LevelText level;
  for (int x = 0; x < 320; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 1 10");
  }
  level.tiles.push_back("480 100 brick brick_clear 1 10");
  level.tiles.push_back("512 100 brick brick_clear 1 10");
  level.teleporters = {"40 268 pad pad_cool 1"};
  for (int n = 2; n <= 9; ++n) {  // side by side on the floor
    level.teleporters.push_back(std::to_string(70 + 28 * (n - 2)) + " 268 pad pad_cool " +
                                std::to_string(n));
  }
  level.teleporters.push_back("500 68 pad pad_cool 10");
  level.enemies = {"200 299 1 50 300 1.5 1 0 blob 300 50"};
  tree.writeLevel("level1.inf", level.str());
  const CheckRun run = runChecker("--route level1.inf route.replay");
  ASSERT_FALSE(run.notes.empty()) << run.output;
  EXPECT_EQ(run.notes[0].rfind("media/level1.inf:0:0: note: the level can be cleared with its "
                               "enemies in ", 0), 0u) << run.output;
  EXPECT_EQ(run.status, 0) << run.output;

  Replay replay;
  std::string error;
  ASSERT_TRUE(readReplay("route.replay", replay, error)) << error;
  EXPECT_NE(replayText(replay).find("#10\n"), std::string::npos) << replayText(replay);
  releaseAllKeys();
  auto game = std::make_unique<Game>(640, 480, 100);
  game->startLevel("level1.inf");
  const ReplayOutcome outcome = playReplay(*game, replay);
  EXPECT_TRUE(outcome.cleared);
  EXPECT_EQ(outcome.scoreGained, replay.expectScore);
}

// A route the countdown ends before it clears is no route to write.
TEST(PweCheckReachability, WritesNoRouteTheCountdownCutsShort) {
  const struct {
    int countdown;
    const char* allows;  // what the countdown allows
  } cases[] = {{0, "0.0 s"}, {100, "3.0 s"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.countdown);
    GameTree tree;
    tree.writeLevel("level1.inf", GameTree::simpleLevel(c.countdown));
    const CheckRun run = runChecker("--route level1.inf route.replay");
    const std::vector<std::string> lines = reachabilityLines(run);
    ASSERT_FALSE(lines.empty()) << run.output;
    const std::string start =
        "media/level1.inf:0:0: no route is written: the quickest route found takes ";
    const std::string end = std::string(" s; the countdown allows ") + c.allows;
    EXPECT_EQ(lines.back().rfind(start, 0), 0u) << lines.back();
    EXPECT_EQ(lines.back().substr(lines.back().size() - end.size()), end) << lines.back();
    EXPECT_FALSE(fs::exists("route.replay"));
    EXPECT_EQ(run.status, 1);
  }
}

// The route replaces a recording, or nothing; never the author's other
// files, such as the level itself named by mistake.
TEST(PweCheckReachability, ReplacesOnlyARecordingWithTheRoute) {
  const struct {
    const char* out;
    const char* before;  // the file at out before the run; nullptr for none
    bool replaced;
  } cases[] = {
      {"route.replay", nullptr, true},
      {"route.replay", "pwe-replay 1\nlevel level1.inf\nkeys\n", true},
      {"route.replay", "", true},
      {"notes.txt", "the author's notes\n", false},
      {"media/level1.inf", nullptr, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.out) + " holding " + (c.before ? c.before : "nothing"));
    GameTree tree;
    tree.writeLevel("level1.inf", GameTree::simpleLevel(4000));
    if (c.before != nullptr) std::ofstream(c.out, std::ios::binary) << c.before;
    std::string before;
    if (fs::exists(c.out)) before = readFile(c.out);
    const CheckRun run = runChecker(std::string("--route level1.inf ") + c.out);
    Replay replay;
    std::string error;
    EXPECT_EQ(readReplay(c.out, replay, error), c.replaced) << run.output;
    EXPECT_EQ(run.status, c.replaced ? 0 : 1) << run.output;
    if (c.replaced) continue;
    EXPECT_EQ(readFile(c.out), before);
    const std::vector<std::string> lines = reachabilityLines(run);
    ASSERT_FALSE(lines.empty()) << run.output;
    EXPECT_EQ(lines.back(), "media/level1.inf:0:0: no route is written: " +
                                fs::absolute(c.out).string() +
                                " holds no recording, and is left as it was");
  }
}

}  // namespace

// A tile out of reach is named with how near the search came, in the
// numbers an author moves it by.
TEST(PweCheckReachability, SaysHowNearTheNearestApproachCame) {
  struct Case {
    const char* what;
    std::vector<std::string> tiles;
    std::string nearMiss;
  };
  std::vector<std::string> floor;
  for (int x = 0; x < 320; x += GameTree::tileWidth) {
    floor.push_back(std::to_string(x) + " 300 brick brick_clear 1 10");
  }
  const auto with = [&](const std::string& tile) {
    std::vector<std::string> tiles = floor;
    tiles.push_back(tile);
    return tiles;
  };
  const std::vector<Case> cases = {
      // The jump's 2 px steps rise short of its 40 px: the step to the apex
      // is taken back, so the feet rise from 299 to 261, over the floor row 262.
      {"too high", with("160 248 brick brick_clear 1 10"),
       "media/level1.inf:17:1: warning: claimable tile at 160, 248 is a near miss: the highest "
       "jump from the floor at row 300 reaches row 262, 14 px short of it"},
      {"at the highest jump", with("160 262 brick brick_clear 1 10"), ""},
      // The floor's last tile ends at column 320, where the centre last stands.
      {"too far sideways", with("560 300 brick brick_clear 1 10"),
       "media/level1.inf:17:1: warning: claimable tile at 560, 300 is a near miss: the nearest "
       "the player gets is 240 px to the left, on the floor at row 300"},
      {"too high and too far", with("560 200 brick brick_clear 1 10"),
       "media/level1.inf:17:1: warning: claimable tile at 560, 200 is a near miss: the nearest "
       "the player gets is 240 px to the left and 62 px below it: the highest jump from the "
       "floor at row 300 reaches row 262"},
      {"lower and too far", with("560 400 brick brick_clear 1 10"),
       "media/level1.inf:17:1: warning: claimable tile at 560, 400 is a near miss: the nearest "
       "the player gets is 240 px to the left and 100 px above it, on the floor at row 300"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GameTree tree;
    LevelText level;
    level.tiles = c.tiles;
    tree.writeLevel("level1.inf", level.str());
    const CheckRun run = runChecker();
    std::vector<std::string> near;
    for (const std::string& line : run.lines) {
      if (line.find("near miss") != std::string::npos) near.push_back(line);
    }
    const std::vector<std::string> expected =
        c.nearMiss.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.nearMiss};
    EXPECT_EQ(near, expected) << testing::PrintToString(run.lines);
  }
}

// An item out of reach is named the same way, measured between the
// player's frame and the item's picture, at the item's record.
TEST(PweCheckReachability, SaysHowNearTheNearestApproachCameToAnItem) {
  struct Case {
    const char* what;
    std::string item;                 // a gem, 8 x 8
    std::vector<std::string> lines;   // every line about reach
    std::vector<std::string> ladders = {};
  };
  // The floor's centre last stands at 320, so the 16 px frame's last
  // column is 327. The feet rise from 299 to 261 (as for tiles above),
  // lifting the 24 px frame's top to row 238.
  const std::vector<Case> cases = {
      {"just above the highest jump", "100 220 gem 5",  // bottom row 227
       {"media/level1.inf:21:1: warning: item at 100, 220 cannot be reached from the start "
        "position",
        "media/level1.inf:21:1: warning: item at 100, 220 is a near miss: the highest jump from "
        "the floor at row 300 lifts the top of the player's frame to row 238, 11 px short of "
        "it"}},
      {"at the highest jump", "100 231 gem 5", {}},  // bottom row 238
      // Beyond where a jump off the floor's end falls to its death.
      {"beside the floor's end", "560 292 gem 5",
       {"media/level1.inf:21:1: warning: item at 560, 292 cannot be reached from the start "
        "position",
        "media/level1.inf:21:1: warning: item at 560, 292 is a near miss: the nearest the "
        "player gets is 233 px to the left, on the floor at row 300"}},
      {"high and beside", "560 200 gem 5",  // bottom row 207
       {"media/level1.inf:21:1: warning: item at 560, 200 cannot be reached from the start "
        "position",
        "media/level1.inf:21:1: warning: item at 560, 200 is a near miss: the nearest the "
        "player gets is 233 px to the left and 31 px below it: the highest jump from the floor "
        "at row 300 lifts the top of the player's frame to row 238"}},
      // A climb stops with the feet on the row above the ladder's top, 199,
      // the frame's top at 176, and no jump starts on a ladder: from the
      // top rung it would lift the frame past the gem.
      {"above a ladder's top", "152 150 gem 5",  // bottom row 157
       {"media/level1.inf:22:1: warning: item at 152, 150 cannot be reached from the start "
        "position",
        "media/level1.inf:22:1: warning: item at 152, 150 is a near miss: the nearest the "
        "player gets is 19 px below it, on the ladder with its feet at row 199"},
       {"150 200 100 rungs"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GameTree tree;
    LevelText level;
    for (int x = 0; x < 320; x += GameTree::tileWidth) {
      level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 1 10");
    }
    level.ladders = c.ladders;
    level.items = {c.item};
    tree.writeLevel("level1.inf", level.str());
    const CheckRun run = runChecker();
    std::vector<std::string> lines;
    for (const std::string& line : run.lines) {
      for (const char* mark : {"cannot be reached", "near miss"}) {
        if (line.find(mark) != std::string::npos) lines.push_back(line);
      }
    }
    EXPECT_EQ(lines, c.lines) << testing::PrintToString(run.lines);
  }
}
