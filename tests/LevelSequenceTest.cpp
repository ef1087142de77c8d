// The four levels in turn, round and round, until Escape or the last life.
#include "shell/LevelSequence.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

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
  void TearDown() override {
    key[KEY_ESC] = 0;
    log_capture(nullptr);
  }

  // Runs the whole sequence with a stand-in timer; the log is captured.
  void run() {
    game = std::make_unique<Game>(640, 480, 100);
    log_capture(&log);
    TickFeeder timer;
    runLevelSequence(*game);
    log_capture(nullptr);
  }

  GameTree tree;
  std::unique_ptr<Game> game;
  std::vector<std::string> log;
};

// level1.inf is a pipe that serves a level that is cleared at once on its
// first opening and a fatal one on its second, so the run goes round once
// and then ends: the wrap from level 4 to level 1 is seen, and the score
// has run on through all five levels.
TEST_F(LevelSequenceTest, AfterTheFourthLevelTheFirstComesAgain) {
  tree.writeLevel("level2.inf", clearedAtOnce(10));
  tree.writeLevel("level3.inf", clearedAtOnce(100));
  tree.writeLevel("level4.inf", clearedAtOnce(1000));
  tree.remove("media/level1.inf");
  ASSERT_EQ(mkfifo("media/level1.inf", 0600), 0);
  std::thread server([] {
    for (const std::string& text : {clearedAtOnce(1), fatal()}) {
      int fd = open("media/level1.inf", O_WRONLY);
      if (fd < 0) return;
      ssize_t written = write(fd, text.data(), text.size());
      (void)written;
      // Keep the end open until the loader has read its level and closed
      // its own, so the next opening gets the next text and nothing else.
      pollfd readerGone{fd, 0, 0};
      poll(&readerGone, 1, 10000);
      close(fd);
    }
  });
  run();
  // Should the level not have been opened twice, let the server finish.
  int unblock = open("media/level1.inf", O_RDONLY | O_NONBLOCK);
  server.join();
  if (unblock >= 0) close(unblock);

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
  key[KEY_ESC] = 1;
  run();
  EXPECT_EQ(levelsLoaded(log), (std::vector<int>{1}));
  EXPECT_EQ(game->player.lives, 3);
  EXPECT_TRUE(game->quit);
}

TEST_F(LevelSequenceTest, NothingIsLoadedOnceQuitIsSet) {
  game = std::make_unique<Game>(640, 480, 100);
  game->quit = true;
  log_capture(&log);
  runLevelSequence(*game);
  EXPECT_TRUE(levelsLoaded(log).empty());
}

}  // namespace
