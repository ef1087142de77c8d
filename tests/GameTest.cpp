// The Game as a whole: how it is built, what one tick does and in which
// order, the countdown, lives, the level-cleared test and Escape.
#include "game/Game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "shell/Log.h"
#include "shell/Sound.h"
#include "shell/TickTimer.h"
#include "tests/support/FileText.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"
#include "tests/support/TickFeeder.h"

namespace {

// One claimable brick under the player's start (100, 299) and one far away,
// so standing still never clears the level.
LevelText standingLevel() {
  LevelText level;
  level.tiles = {"96 300 brick brick_clear 1 10", "400 300 brick brick_clear 1 10"};
  return level;
}

int indexOf(const std::vector<std::string>& lines, const std::string& text) {
  auto found = std::find(lines.begin(), lines.end(), text);
  return found == lines.end() ? -1 : static_cast<int>(found - lines.begin());
}

int countOf(const std::vector<std::string>& lines, const std::string& text) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), text));
}

class GameTest : public testing::Test {
 protected:
  void TearDown() override {
    log_capture(nullptr);
    observePlayedSamples(nullptr);
  }

  // Writes the level as level1.inf, builds the Game and starts the level.
  std::unique_ptr<Game> play(const LevelText& level, int updatesPerSecond = 100) {
    tree.writeLevel("level1.inf", level.str());
    auto game = std::make_unique<Game>(640, 480, updatesPerSecond);
    game->inputSource.inputFromDevices = false;  // a test's keys are held in the input record
    game->startLevel("level1.inf");
    game->beginLife();
    return game;
  }

  GameTree tree;
};

TEST_F(GameTest, IsBuiltAfterItsManagersAndBeforeThePlayerFileIsRead) {
  std::vector<std::string> log;
  log_capture(&log);
  {
    Game game(640, 480, 100);
    int created = indexOf(log, "Creating game instance.");
    int playerFile = indexOf(log, "Loading player data from media/player.inf.");
    ASSERT_GT(created, 0) << "the managers load and log before the Game announces itself";
    EXPECT_GT(playerFile, created);
    EXPECT_FALSE(game.quit);
    EXPECT_FALSE(game.levelDone);
    EXPECT_FALSE(game.teleportCooldownActive);
    EXPECT_EQ(game.walkVoice, 0);
    EXPECT_EQ(game.player.sprite.animationIndex(), Player::walkRight);
    EXPECT_EQ(game.player.width, GameTree::playerWidth);
    EXPECT_EQ(game.output.display, screen);
    EXPECT_EQ(countOf(log, "Game buffer BITMAP freed."), 0);
  }
  EXPECT_EQ(countOf(log, "Game buffer BITMAP freed."), 1);
}

// The chute manager is made after the configuration is read, so a
// configured tolerance decides whether a point beside a chute is its entry.
TEST_F(GameTest, StructureManagersUseTheConfiguredTolerances) {
  struct Case {
    const char* config;
    bool entryTenPixelsLeft;
  } cases[] = {{"", true}, {"[mechanics]\nchute_horiz_tol = 0\n", false}};
  for (const Case& c : cases) {
    tree.writeText("media/pwe.cfg", c.config);
    set_config_file("media/pwe.cfg");
    LevelText level = standingLevel();
    level.chutes = {"200 300 64 16 1 step"};
    auto game = play(level);
    Chute found;
    EXPECT_EQ(game->chuteManager->entryAt(190.0f, 299.0f, found), c.entryTenPixelsLeft)
        << c.config;
    game.reset();
    set_config_data("", 0);
  }
}

TEST_F(GameTest, MissingPlayerFileEndsTheProgram) {
  tree.remove("media/player.inf");
  EXPECT_EXIT(
      {
        setenv("PWE_LOG", "1", 1);
        log_open("failure.log");
        Game game(640, 480, 100);
      },
      testing::ExitedWithCode(1), "Error loading player.inf");
  EXPECT_EQ(lastLine("failure.log"), "Error loading the player data. Exiting.");
}

TEST_F(GameTest, MissingLevelFileEndsTheProgramNamingIt) {
  Game game(640, 480, 100);
  EXPECT_EXIT(game.startLevel("level9.inf"), testing::ExitedWithCode(1),
              "Error loading \"level9.inf\"");
}

TEST_F(GameTest, StartingALevelClearsLevelDone) {
  auto game = play(LevelText());  // no claimable tile: cleared at once
  EXPECT_TRUE(game->tick());
  EXPECT_TRUE(game->levelDone);
  game->startLevel("level1.inf");
  EXPECT_FALSE(game->levelDone);
}

// The countdown loses 100 in the tick after 3 x updatesPerSecond ticks,
// and a countdown of 100 ends the life in that tick.
TEST_F(GameTest, CountdownFallsEveryThreeSecondsAndOneTick) {
  for (int rate : {100, 50}) {
    SCOPED_TRACE(rate);
    LevelText level = standingLevel();
    level.countdown = 500;
    auto game = play(level, rate);
    for (int t = 1; t <= 3 * rate; ++t) ASSERT_FALSE(game->tick()) << t;
    EXPECT_EQ(game->countdown, 500);
    EXPECT_FALSE(game->tick());
    EXPECT_EQ(game->countdown, 400);
    for (int t = 1; t <= 3 * rate; ++t) ASSERT_FALSE(game->tick()) << t;
    EXPECT_EQ(game->countdown, 400);
    EXPECT_FALSE(game->tick());
    EXPECT_EQ(game->countdown, 300);

    level.countdown = 100;
    game = play(level, rate);
    for (int t = 1; t <= 3 * rate; ++t) ASSERT_FALSE(game->tick()) << t;
    EXPECT_EQ(game->player.lives, 3);
    EXPECT_TRUE(game->tick());
    EXPECT_EQ(game->countdown, 0);
    EXPECT_EQ(game->player.lives, 2);
    EXPECT_FALSE(game->quit);
  }
}

TEST_F(GameTest, CountdownOfZeroEndsEveryLifeInItsFirstTick) {
  std::vector<std::string> log;
  LevelText level = standingLevel();
  level.countdown = 0;
  auto game = play(level);
  log_capture(&log);
  for (int life = 1; life <= 3; ++life) {
    if (life > 1) game->beginLife();
    game->player.setJumpState(Player::risingLeft);
    EXPECT_TRUE(game->tick()) << life;
    EXPECT_EQ(game->player.lives, 3 - life);
    EXPECT_EQ(game->player.jumpState, Player::notJumping);
    EXPECT_EQ(game->quit, life == 3);
  }
  EXPECT_EQ(countOf(log, "Lives = 0"), 1);
  EXPECT_NE(indexOf(log, "Player lives going from 1 to 0."), -1);
}

// Clearing the last tile wins the level even in the tick the player is
// caught; with a tile left over, the same catch costs a life.
TEST_F(GameTest, LastTileClearedInTheCatchingTickWinsTheLevel) {
  struct Case {
    std::vector<std::string> tiles;
    bool levelDone;
    int lives;
  } cases[] = {
      {{"96 300 brick brick_clear 1 10"}, true, 3},
      {{"96 300 brick brick_clear 1 10", "400 300 brick brick_clear 1 10"}, false, 2},
  };
  for (const Case& c : cases) {
    std::vector<const SAMPLE*> played;
    LevelText level;
    level.tiles = c.tiles;
    level.enemies = {"100 299 0 0 600 0 0 0 blob 100 50"};
    auto game = play(level);
    observePlayedSamples(&played);
    EXPECT_TRUE(game->tick());
    EXPECT_EQ(game->levelDone, c.levelDone);
    EXPECT_EQ(game->player.lives, c.lives);
    EXPECT_FALSE(game->player.alive) << "the enemy caught the player in both cases";
    EXPECT_EQ(played, std::vector<const SAMPLE*>{game->caughtSample.get()});
    observePlayedSamples(nullptr);
  }
}

// Input runs before the item test: an item one pixel beyond the player's
// right edge is collected in the first tick only when the player walks.
TEST_F(GameTest, ItemIsTestedWhereTheWalkLeftThePlayer) {
  for (bool walk : {false, true}) {
    std::vector<const SAMPLE*> played;
    LevelText level = standingLevel();
    level.items = {"108 290 gem 500"};
    level.enemies = {"400 299 0 300 500 0 1 0 blob 100 50"};
    auto game = play(level);
    game->ticksSinceItem = 40;
    game->input.hold(KEY_RIGHT, walk);
    observePlayedSamples(&played);
    game->tick();
    int before = 10;  // the brick under the start
    EXPECT_EQ(game->player.score, before + (walk ? 500 : 0)) << walk;
    EXPECT_EQ(game->itemManager.items()[0].present, !walk);
    EXPECT_EQ(std::count(played.begin(), played.end(), game->itemSample.get()), walk ? 1 : 0);
    EXPECT_EQ(game->enemyManager.enemies()[0].state, walk ? Enemy::vulnerable : Enemy::dangerous);
    EXPECT_EQ(game->ticksSinceItem, walk ? 1 : 41);
    observePlayedSamples(nullptr);
  }
}

// Enemies move before the contact test: an enemy two pixels short of the
// player, walking towards it, catches it in the first tick.
TEST_F(GameTest, EnemyMovesBeforeTheContactTest) {
  struct Case {
    int enemyX;
    bool caught;
  } cases[] = {{115, true}, {117, false}};
  for (const Case& c : cases) {
    LevelText level = standingLevel();
    level.enemies = {std::to_string(c.enemyX) + " 299 0 0 600 2 0 0 blob 100 50"};
    auto game = play(level);
    EXPECT_EQ(game->tick(), c.caught) << c.enemyX;
    EXPECT_EQ(game->player.lives, c.caught ? 2 : 3);
  }
}

TEST_F(GameTest, VulnerableEnemyTouchedScoresItsPoints) {
  LevelText level = standingLevel();
  level.enemies = {"104 299 0 0 600 0 1 1 blob 100 50"};
  auto game = play(level);
  EXPECT_FALSE(game->tick());
  EXPECT_EQ(game->player.score, 10 + 50);
  EXPECT_FALSE(game->enemyManager.enemies()[0].alive);
  EXPECT_EQ(game->player.lives, 3);
}

// A life lost in the middle of a slide: the next life starts standing at
// the start point under the player's control, not still sliding.
TEST_F(GameTest, LifeLostMidSlideStartsTheNextLifeClean) {
  LevelText level = standingLevel();
  level.countdown = 100;
  level.start = "208 299 1";
  level.chutes = {"200 300 200 16 1 step"};
  auto game = play(level, 1);  // the countdown ends the life in tick 4
  for (int t = 1; t <= 3; ++t) ASSERT_FALSE(game->tick());
  EXPECT_TRUE(game->player.onChute);
  EXPECT_FALSE(game->player.hasControl);
  EXPECT_TRUE(game->tick());
  EXPECT_TRUE(game->player.onChute) << "the life ended during the slide";

  game->player.climbStep = true;
  game->beginLife();
  EXPECT_FALSE(game->player.onChute);
  EXPECT_TRUE(game->player.hasControl);
  EXPECT_FALSE(game->player.falling);
  EXPECT_FALSE(game->player.climbStep);
  EXPECT_TRUE(game->player.alive);
  EXPECT_EQ(game->player.x, 208.0f);
  EXPECT_EQ(game->player.y, 299.0f);
  // The first tick of the new life enters the chute afresh from the top.
  EXPECT_FALSE(game->tick());
  EXPECT_TRUE(game->player.onChute);
  EXPECT_EQ(game->player.y, 300.0f);
}

// Escape only raises quit: the tick in which it is seen runs to its end.
TEST_F(GameTest, EscapeDoesNotCutATickShort) {
  LevelText level = standingLevel();
  level.countdown = 0;
  auto game = play(level);
  game->input.hold(KEY_ESC);
  EXPECT_TRUE(game->tick()) << "the countdown still ends the life";
  EXPECT_TRUE(game->quit);
  EXPECT_EQ(game->player.score, 10);
  EXPECT_EQ(game->player.lives, 2);
}

// Escape: the life ends after the ticks that are due and one frame.
TEST_F(GameTest, EscapeEndsTheLifeAfterAFrame) {
  auto game = play(standingLevel());
  BitmapPtr shown(create_bitmap(640, 480));
  clear_to_color(shown.get(), makecol(255, 255, 255));
  game->output.display = shown.get();
  game->input.hold(KEY_ESC);
  {
    TickFeeder timer;
    game->runLife();
  }
  EXPECT_TRUE(game->quit);
  EXPECT_EQ(game->player.lives, 3);
  EXPECT_FALSE(game->levelDone);
  // The background of the frame is on show.
  EXPECT_EQ(getpixel(shown.get(), 320, 100) & 0xFFFFFF, makecol(20, 20, 40));
}

// Losing the last life ends runLife at once: no frame is drawn after it.
TEST_F(GameTest, LastLifeLostEndsWithoutAnotherFrame) {
  LevelText level = standingLevel();
  level.countdown = 0;
  auto game = play(level);
  BitmapPtr shown(create_bitmap(640, 480));
  clear_to_color(shown.get(), makecol(255, 255, 255));
  game->output.display = shown.get();
  game->player.lives = 1;
  {
    TickFeeder timer;
    game->runLife();
  }
  EXPECT_TRUE(game->quit);
  EXPECT_EQ(game->player.lives, 0);
  EXPECT_EQ(getpixel(shown.get(), 320, 100) & 0xFFFFFF, makecol(255, 255, 255));
}

TEST_F(GameTest, RunLifeAfterQuitPlaysNoTick) {
  LevelText level = standingLevel();
  level.countdown = 0;
  auto game = play(level);
  game->quit = true;
  game->runLife();
  EXPECT_EQ(game->player.lives, 3);
  EXPECT_EQ(game->countdown, 0) << "the level was laid out before the quit test";
}

// Lives and score belong to the run, not to a level.
TEST_F(GameTest, LivesAndScoreCarryFromLevelToLevel) {
  LevelText losing = standingLevel();
  losing.countdown = 0;
  LevelText winning;
  winning.tiles = {"96 300 brick brick_clear 1 7"};
  tree.writeLevel("level2.inf", winning.str());
  auto game = play(losing);
  TickFeeder timer;
  game->runLife();
  EXPECT_EQ(game->player.lives, 2);
  EXPECT_EQ(game->player.score, 10);
  game->startLevel("level2.inf");
  game->runLife();
  EXPECT_TRUE(game->levelDone);
  EXPECT_EQ(game->player.lives, 2);
  EXPECT_EQ(game->player.score, 17);
  game->startLevel("level2.inf");
  game->runLife();
  EXPECT_EQ(game->player.score, 24);
}

}  // namespace
