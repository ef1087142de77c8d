// The four levels in turn, round and round, until Escape or the last life.
#include "shell/LevelSequence.h"
#include "shell/LevelSet.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "game/Game.h"
#include "shell/Log.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"
#include "tests/support/TickFeeder.h"

namespace {

// Cleared in the first tick: the one claimable tile is under the player.
std::string clearedAtOnce(int points) {
  LevelText level;
  level.tiles = {"96 300 brick brick_clear 1 " + std::to_string(points)};
  return level.str();
}

// Costs a life in every tick: no time, and a tile the player cannot reach.
std::string fatal() {
  LevelText level;
  level.countdown = 0;
  level.tiles = {"96 300 brick brick_clear 1 1", "400 300 brick brick_clear 1 1"};
  return level.str();
}

// The level files opened, in order, from the loader's log lines.
std::vector<int> levelsLoaded(const std::vector<std::string>& log) {
  std::vector<int> loaded;
  const std::string prefix = "Loading level data from media/level";
  for (const std::string& line : log) {
    if (line.compare(0, prefix.size(), prefix) == 0) loaded.push_back(line[prefix.size()] - '0');
  }
  return loaded;
}

class LevelSequenceTest : public testing::Test {
 protected:
  void TearDown() override { log_capture(nullptr); }

  // Runs the whole sequence with a stand-in timer, unless the test brings
  // its own; the log is captured.
  void run(bool withTimer = true) {
    game = std::make_unique<Game>(640, 480, 100);
    game->inputSource.inputFromDevices = false;
    game->input.hold(KEY_ESC, escapeHeld);
    log_capture(&log);
    std::unique_ptr<TickFeeder> timer;
    if (withTimer) timer = std::make_unique<TickFeeder>();
    runLevelSequence(*game, treeLevels().levels);
    log_capture(nullptr);
  }

  GameTree tree;
  std::unique_ptr<Game> game;
  std::vector<std::string> log;
  bool escapeHeld = false;  // held in the input record from the first tick
};

// level1.inf is cleared at once when it is first read and fatal when it is
// read again, so the run goes round once and then ends: the wrap from level
// 4 to level 1 is seen, and the score has run on through all five levels.
// The file is rewritten once its first reading has closed it and before
// the first tick is given: without ticks the game cannot leave level 1.
TEST_F(LevelSequenceTest, AfterTheFourthLevelTheFirstComesAgain) {
  tree.writeLevel("level1.inf", clearedAtOnce(1));
  tree.writeLevel("level2.inf", clearedAtOnce(10));
  tree.writeLevel("level3.inf", clearedAtOnce(100));
  tree.writeLevel("level4.inf", clearedAtOnce(1000));
  const int watch = inotify_init1(IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  ASSERT_GE(inotify_add_watch(watch, "media/level1.inf", IN_CLOSE_NOWRITE), 0);
  std::atomic<bool> ended{false};
  std::thread rewriter([&] {
    // Should the level never be read, the ticks come all the same and the
    // expectations below say what went wrong.
    pollfd closed{watch, POLLIN, 0};
    char event[sizeof(inotify_event) + 256];
    if (poll(&closed, 1, 10000) == 1 && read(watch, event, sizeof event) > 0) {
      tree.writeLevel("level1.inf", fatal());
    }
    TickFeeder timer;
    while (!ended.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  });
  run(false);
  ended.store(true);
  rewriter.join();
  close(watch);

  EXPECT_EQ(levelsLoaded(log), (std::vector<int>{1, 2, 3, 4, 1}));
  // The fatal level's tile under the player is claimed afresh in each of
  // the three lives it costs.
  EXPECT_EQ(game->player.score, 1111 + 3);
  EXPECT_EQ(game->player.lives, 0);
  EXPECT_TRUE(game->quit);
}

TEST_F(LevelSequenceTest, LastLifeLostOnLevelThreeEndsTheRun) {
  tree.writeLevel("level1.inf", clearedAtOnce(1));
  tree.writeLevel("level2.inf", clearedAtOnce(1));
  tree.writeLevel("level3.inf", fatal());
  run();
  EXPECT_EQ(levelsLoaded(log), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(game->player.lives, 0);
  EXPECT_TRUE(game->quit);
}

TEST_F(LevelSequenceTest, EscapeEndsTheRunWithoutOpeningAnotherLevel) {
  escapeHeld = true;
  run();
  EXPECT_EQ(levelsLoaded(log), (std::vector<int>{1}));
  EXPECT_EQ(game->player.lives, 3);
  EXPECT_TRUE(game->quit);
}

TEST_F(LevelSequenceTest, NothingIsLoadedOnceQuitIsSet) {
  game = std::make_unique<Game>(640, 480, 100);
  game->quit = true;
  log_capture(&log);
  runLevelSequence(*game, treeLevels().levels);
  EXPECT_TRUE(levelsLoaded(log).empty());
}

}  // namespace
