// Values a level author can write that make no sense: each has a defined,
// tested outcome (refused with a message, or played in a stated way) and
// none may crash or read outside a table. Built to run under the address
// and undefined-behaviour sanitizers as well.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "game/Game.h"
#include "graphics/Animation.h"
#include "player/KeyRelease.h"
#include "shell/Log.h"
#include "shell/Startup.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"
#include "tests/support/PlayField.h"

namespace {

// A real Game on level1.inf of the given text, in its first life, keys
// released, log captured from the life start on.
struct Arena {
  explicit Arena(const std::string& levelText) {
    releaseAllKeys();
    tree.writeLevel("level1.inf", levelText);
    game = std::make_unique<Game>(640, 480, 100);
    game->startLevel("level1.inf");
    game->beginLife();
    log_capture(&log);
  }
  ~Arena() {
    releaseAllKeys();
    log_capture(nullptr);
  }
  bool tickHolding(const std::vector<int>& codes) {
    game->inputSource.inputFromDevices = false;
    game->input.releaseAll();
    for (int code : codes) game->input.hold(code);
    const bool ended = game->tick();
    game->input.releaseAll();
    return ended;
  }
  Player& player() { return game->player; }

  GameTree tree;
  std::unique_ptr<Game> game;
  std::vector<std::string> log;
};

// A floor of claimable bricks at row 300 across the screen and one far-off
// tile nobody reaches, so walking never clears the level.
LevelText floorLevel() {
  LevelText level;
  for (int x = 0; x < 640; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 1 10");
  }
  level.tiles.push_back("600 470 brick brick_clear 1 10");
  return level;
}

// ---------------------------------------------------------------------------
// Start-up settings

TEST(HostileStartup, TickRatesWithoutAUsableTimerPeriodRunAtOneHundred) {
  const char* configured[] = {"0", "-5", "2000000", "-2147483648", "1193182"};
  for (const char* value : configured) {
    MediaTree tree;
    tree.writeText("media/pwe.cfg", std::string("[mechanics]\nupdates_per_second = ") + value + "\n");
    set_config_file("media/pwe.cfg");
    std::vector<std::string> lines;
    log_capture(&lines);
    StartupSettings settings = readStartupSettings();
    log_capture(nullptr);
    set_config_file("no-such-file.cfg");
    EXPECT_EQ(settings.updatesPerSecond, 100) << value;
    const std::string said = std::string("updates_per_second ") + value + " unusable; using 100.";
    EXPECT_EQ(lines, std::vector<std::string>{said}) << value;
  }
}

TEST(HostileStartup, EmptyOrNegativeScreenSidesAreNeverAskedFor) {
  struct Case {
    int width, height;
  };
  const Case cases[] = {{0, 480}, {640, 0}, {-1, 480}, {640, -1}, {0, 0}, {-1, -1}};
  for (const Case& c : cases) {
    for (bool windowed : {true, false}) {
      StartupSettings settings;
      settings.windowed = windowed;
      settings.width = c.width;
      settings.height = c.height;
      EXPECT_FALSE(screenSizeUsable(settings, 1024, 768))
          << c.width << "x" << c.height << (windowed ? " window" : " full screen");
      EXPECT_FALSE(screenSizeUsable(settings, 0, 0))
          << c.width << "x" << c.height << " on an unmeasured desktop";
    }
  }
}

class HostileStartupDeathTest : public testing::Test {
 protected:
  void SetUp() override { testing::GTEST_FLAG(death_test_style) = "threadsafe"; }
};

TEST_F(HostileStartupDeathTest, EmptyOrNegativeScreenSidesFailStartUpWithoutABox) {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || display[0] == '\0') GTEST_SKIP() << "needs an X display";
  const char* configs[] = {"width = 0\n", "height = 0\n", "width = -1\n", "height = -1\n"};
  for (const char* config : configs) {
    EXPECT_EXIT(
        {
          MediaTree tree;
          tree.writeText("media/pwe.cfg", std::string("[display]\n") + config);
          int width = 0;
          int height = 0;
          int updatesPerSecond = 0;
          int result = initialise(width, height, updatesPerSecond);
          // Ends at once, as std::exit would not skip the leak checker's
          // stop-the-world, which crashes now and then in a child holding
          // the X connection; what this child leaves is no concern here.
          std::_Exit(result == -1 ? 3 : 4);
        },
        testing::ExitedWithCode(3), "pwe: Couldn't set graphics mode!")
        << config;
  }
}

// ---------------------------------------------------------------------------
// Level files refused as a whole

// The level file with one of its six counts replaced.
std::string levelWithCount(int kind, const std::string& count) {
  std::string text = "3000 10 10 0 400 10 0 10 5 100 299 1\n";
  for (int k = 0; k < 6; ++k) text += (k == kind ? count : std::string("0")) + "\n";
  return text;
}

TEST(HostileLevelDeathTest, CountsOutsideZeroToTenThousandStopLikeAMissingLevel) {
  testing::GTEST_FLAG(death_test_style) = "fast";
  GameTree tree;
  Game game(640, 480, 100);
  const char* kinds[] = {"tiles", "ladders", "chutes", "enemies", "items", "teleporters"};
  for (int kind = 0; kind < 6; ++kind) {
    for (const char* count : {"-1", "1000000000"}) {
      SCOPED_TRACE(std::string(kinds[kind]) + " " + count);
      tree.writeLevel("level2.inf", levelWithCount(kind, count));
      EXPECT_EXIT(game.startLevel("level2.inf"), testing::ExitedWithCode(1),
                  "Error loading \"level2\\.inf\"\n");
    }
  }
  // The same file with a count of 10000 is a level.
  tree.writeLevel("level2.inf", levelWithCount(1, "10000"));
  game.startLevel("level2.inf");
  EXPECT_EQ(game.level.ladderCount, 10000);
}

TEST(HostileLevelDeathTest, StartAnimationsThatThePlayerHasNotAreRefused) {
  testing::GTEST_FLAG(death_test_style) = "fast";
  GameTree tree;
  Game game(640, 480, 100);
  for (int animation : {7, 5, -1, 2000000}) {
    LevelText level = floorLevel();
    level.start = "100 299 " + std::to_string(animation);
    tree.writeLevel("level1.inf", level.str());
    game.startLevel("level1.inf");
    EXPECT_EXIT(game.beginLife(), testing::ExitedWithCode(1),
                "Start animation " + std::to_string(animation) +
                    " is not a player animation \\(0 to 4\\)\\.")
        << animation;
  }
}

// ---------------------------------------------------------------------------
// Ladders and chutes of odd sizes

TEST(HostileStructures, ALadderWithoutHeightHasNoImageAndNeverTakesThePlayer) {
  // The ladder's band (6 pixels in from each side of a 16-wide graphic)
  // holds the player at x 100; its top is the floor's top row.
  for (const char* height : {"0", "-5"}) {
    SCOPED_TRACE(height);
    LevelText level = floorLevel();
    level.ladders.push_back(std::string("92 300 ") + height + " rungs");
    Arena arena(level.str());
    const Ladder& ladder = arena.game->ladderManager->ladders().at(0);
    EXPECT_FALSE(ladder.image);
    for (int t = 0; t < 50; ++t) arena.tickHolding({KEY_UP});
    for (int t = 0; t < 50; ++t) arena.tickHolding({KEY_DOWN});
    Player& p = arena.player();
    EXPECT_EQ(p.x, 100.0f);
    EXPECT_EQ(p.y, 299.0f);
    EXPECT_FALSE(p.climbStep);
    EXPECT_EQ(p.sprite.animationIndex(), Player::walkRight);
    EXPECT_TRUE(p.alive);

    BitmapPtr shown(create_bitmap(640, 480));
    arena.game->output.display = shown.get();
    arena.game->drawFrame();
    arena.game->output.display = nullptr;
  }
}

TEST(HostileStructures, AChuteWithNegativeShiftAndLowHeightSlidesTheWayItsPictureRuns) {
  struct Case {
    const char* height;
    bool hasImage;  // a chute of no height has nothing to show
    float endX;     // where the slide leaves the player
  };
  // Entered at x 208; a slide step moves 4 left and 8 down, and the step
  // that passes the chute's height is taken back.
  const Case cases[] = {{"10", true, 204.0f}, {"0", false, 208.0f}, {"-20", false, 208.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.height);
    // Entry at (200, 100), running right by its direction but with dx -8,
    // so every slide step goes left. A floor at row 150 catches the player.
    LevelText level;
    for (int x = 96; x < 320; x += GameTree::tileWidth) {
      level.tiles.push_back(std::to_string(x) + " 150 brick brick_clear 0 0");
    }
    level.tiles.push_back("600 470 brick brick_clear 1 10");
    level.start = "200 99 1";
    level.chutes.push_back(std::string("200 100 ") + c.height + " -8 1 step");
    Arena arena(level.str());

    const Chute& chute = arena.game->chuteManager->chutes().at(0);
    EXPECT_EQ(static_cast<bool>(chute.image), c.hasImage);
    if (c.hasImage) {
      // Lower than its graphic: a single step, cut at the bottom.
      EXPECT_EQ(chute.image->w, GameTree::chuteGraphic);
      EXPECT_EQ(chute.image->h, 10);
      BitmapPtr shown(create_bitmap(640, 480));
      arena.game->output.display = shown.get();
      arena.game->drawFrame();
      arena.game->output.display = nullptr;
      // The step's top rows are wood and its top-left corner sits at x.
      const int shownPixel = getpixel(arena.game->buffer.get(), 205, 101);
      EXPECT_EQ(getr(shownPixel), 140);
      EXPECT_EQ(getg(shownPixel), 90);
      EXPECT_EQ(getb(shownPixel), 30);
    }

    Player& p = arena.player();
    arena.tickHolding({});
    ASSERT_TRUE(p.onChute);
    const float entryX = p.x;
    int slideTicks = 0;
    while (p.onChute && slideTicks < 10) {
      arena.tickHolding({});
      ++slideTicks;
      EXPECT_LE(p.x, entryX);
    }
    EXPECT_FALSE(p.onChute);
    EXPECT_LE(slideTicks, 2);
    EXPECT_TRUE(p.hasControl);
    EXPECT_EQ(p.x, c.endX);
    for (int t = 0; t < 100 && p.alive; ++t) arena.tickHolding({});
    EXPECT_TRUE(p.alive);
    EXPECT_EQ(p.y, 149.0f);  // standing on the floor below
    EXPECT_EQ(p.x, c.endX);
  }
}

// ---------------------------------------------------------------------------
// Enemies with a direction or a state other than 0 and 1

TEST(HostileEnemies, OddDirectionsAndStatesPatrolAndMeetThePlayerAsStated) {
  struct Case {
    int direction;
    int state;
    bool playerWalks;   // else the player stands and the enemy comes
    bool catches;       // any state but 1 is dangerous; 1 is killed for points
  };
  const Case cases[] = {
      {2, 0, false, true}, {2, 5, false, true}, {2, 5, true, true}, {0, 5, true, true},
      {-7, 5, false, true}, {2, 1, true, false}, {-7, 1, false, false},
      // Far beyond a million: only ever compared, so they play the same.
      {2000000, -2000000, false, true}, {-2147483647, 2000000, true, true},
      {2000000, 1, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("direction " + std::to_string(c.direction) + " state " +
                 std::to_string(c.state) + (c.playerWalks ? ", player walks" : ""));
    LevelText level = floorLevel();
    // Patrols 20..400 at 1.5 a tick, 100 to the right of the player.
    level.enemies.push_back("200 299 " + std::to_string(c.direction) + " 20 400 1.5 0 " +
                            std::to_string(c.state) + " blob 100 50");
    Arena arena(level.str());
    Player& p = arena.player();
    const Enemy& enemy = arena.game->enemyManager.enemies().at(0);
    // Every combination other than the four meaningful ones shows animation 3.
    EXPECT_EQ(enemy.sprite.animationIndex(), 3);

    bool lifeOver = false;
    bool firstStepLeft = false;
    int ticks = 0;
    for (; ticks < 400 && !lifeOver && enemy.alive; ++ticks) {
      const float before = enemy.x;
      lifeOver = c.playerWalks ? arena.tickHolding({KEY_RIGHT}) : arena.tickHolding({});
      if (ticks == 0) firstStepLeft = enemy.x < before;
      ASSERT_GE(enemy.sprite.animationIndex(), 0) << "tick " << ticks;
      ASSERT_LE(enemy.sprite.animationIndex(), 3) << "tick " << ticks;
      ASSERT_GE(enemy.x, 20.0f);
      ASSERT_LE(enemy.x, 400.0f);
    }
    // Only direction 1 walks right; every other value walks left.
    EXPECT_TRUE(firstStepLeft);
    if (c.catches) {
      EXPECT_TRUE(lifeOver);
      EXPECT_EQ(p.lives, 2);
      EXPECT_TRUE(enemy.alive);
    } else {
      EXPECT_FALSE(lifeOver);
      EXPECT_FALSE(enemy.alive);
      EXPECT_EQ(p.lives, 3);
      EXPECT_GE(p.score, 50);
    }
  }
}

TEST(HostileEnemies, AnEnemyWithAnOddDirectionTurnsAtTheEndOfItsPatrol) {
  // Direction 2 walks left, turns at min_x into direction 1 with the
  // walking-right look of its state, and from then on patrols normally.
  LevelText level = floorLevel();
  level.start = "600 299 1";
  level.enemies.push_back("40 299 2 30 60 2 0 0 blob 100 50");
  Arena arena(level.str());
  const Enemy& enemy = arena.game->enemyManager.enemies().at(0);
  std::vector<float> xs;
  for (int t = 0; t < 40; ++t) {
    arena.tickHolding({});
    xs.push_back(enemy.x);
    if (t == 5) {
      EXPECT_EQ(enemy.direction, 1);
      EXPECT_EQ(enemy.sprite.animationIndex(), 1);  // dangerous, walking right
    }
  }
  EXPECT_EQ(xs[0], 38.0f);
  EXPECT_EQ(xs[4], 30.0f);
  EXPECT_EQ(xs[5], 30.0f);  // the turning step does not move
  EXPECT_EQ(xs[6], 32.0f);
  EXPECT_GE(*std::min_element(xs.begin(), xs.end()), 30.0f);
  EXPECT_LE(*std::max_element(xs.begin(), xs.end()), 60.0f);
}

// Any non-zero changes value turns the enemy at a pickup, and safe_time is
// only compared with the ticks since it: far beyond a million it holds the
// enemy vulnerable, far below zero it lets go in the pickup tick.
TEST(HostileEnemies, ChangesAndSafeTimesOfAnySizeRunAsTickCounts) {
  struct Case {
    const char* changes;
    const char* safeTime;
    int stateAfter;  // after the pickup tick and 300 more
  };
  const Case cases[] = {
      {"2000000", "2147483647", 1},
      {"-2000000", "2000000", 1},
      {"2000000", "-2000000", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("changes ") + c.changes + " safe_time " + c.safeTime);
    LevelText level = floorLevel();
    level.items.push_back("96 290 gem 5");  // under the player's start
    // Patrols far from the player and never meets it.
    level.enemies.push_back(std::string("600 299 0 590 610 1 ") + c.changes + " 0 blob " +
                            c.safeTime + " 50");
    Arena arena(level.str());
    const Enemy& enemy = arena.game->enemyManager.enemies().at(0);
    arena.tickHolding({});
    ASSERT_FALSE(arena.game->itemManager.items().at(0).present);
    for (int t = 0; t < 300; ++t) arena.tickHolding({});
    EXPECT_EQ(enemy.state, c.stateAfter);
  }
}

// ---------------------------------------------------------------------------
// Teleporter numbers beyond the keys

// Numbers logged as teleport destinations.
std::set<int> destinations(const std::vector<std::string>& log) {
  std::set<int> numbers;
  for (const std::string& line : log) {
    int number = 0;
    if (std::sscanf(line.c_str(), "Teleporting to teleporter %d @", &number) == 1) {
      numbers.insert(number);
    }
  }
  return numbers;
}

bool controlKey(int code) {
  return code == KEY_ESC || code == KEY_LEFT || code == KEY_RIGHT || code == KEY_UP ||
         code == KEY_DOWN || code == KEY_SPACE;
}

TEST(HostileTeleporters, TwoHundredPadsPlayWithEveryKeyAndNumbersAbove99AreNeverReached) {
  // Pad 1 holds the player; pads 2 to 99 stand at x 400 and pads 100 to 200
  // at x 520, all on the floor.
  LevelText level = floorLevel();
  level.start = "112 299 1";
  level.teleporters.push_back("100 268 pad pad_cool 1");
  for (int n = 2; n <= 200; ++n) {
    level.teleporters.push_back((n < 100 ? "400" : "520") + std::string(" 268 pad pad_cool ") +
                                std::to_string(n));
  }
  Arena arena(level.str());
  ASSERT_EQ(arena.game->teleporterManager.count(), 200);
  arena.game->teleportCooldown = 0;
  Player& p = arena.player();

  // Every key that is no control, pressed for a tick and released.
  for (int code = 1; code < KEY_MAX; ++code) {
    if (controlKey(code)) continue;
    arena.tickHolding({code});
    arena.tickHolding({});
    ASSERT_TRUE(p.x == 112.0f || p.x == 412.0f) << "after key " << code << ": x " << p.x;
    ASSERT_EQ(p.y, 299.0f) << "after key " << code;
  }
  std::set<int> reached = destinations(arena.log);
  ASSERT_FALSE(reached.empty());
  EXPECT_EQ(*reached.begin(), 2);
  EXPECT_EQ(*reached.rbegin(), 99);  // the last number that has a key

  // Every digit key at once: one teleport, then the cooldown refuses the rest.
  arena.log.clear();
  arena.game->teleportCooldown = 200;
  std::vector<int> digits;
  for (int code = KEY_0; code <= KEY_9; ++code) digits.push_back(code);
  for (int code = KEY_0_PAD; code <= KEY_9_PAD; ++code) digits.push_back(code);
  arena.tickHolding(digits);
  arena.tickHolding({});
  EXPECT_EQ(destinations(arena.log).size(), 1u);
  EXPECT_TRUE(p.alive);
}

TEST(HostileTeleporters, APadNumberedAbove99IsNeverADestination) {
  LevelText level = floorLevel();
  level.start = "112 299 1";
  level.teleporters.push_back("100 268 pad pad_cool 1");
  level.teleporters.push_back("400 268 pad pad_cool 150");
  level.teleporters.push_back("520 268 pad pad_cool 100");
  level.teleporters.push_back("250 268 pad pad_cool 2000000");
  level.teleporters.push_back("300 268 pad pad_cool -2147483648");
  Arena arena(level.str());
  arena.game->teleportCooldown = 0;
  for (int code = 1; code < KEY_MAX; ++code) {
    if (controlKey(code)) continue;
    arena.tickHolding({code});
    arena.tickHolding({});
  }
  EXPECT_EQ(arena.player().x, 112.0f);
  EXPECT_TRUE(destinations(arena.log).empty());
}

// ---------------------------------------------------------------------------
// Files that open but cannot be read (a directory in a file's place)

TEST(UnreadableFiles, ALevelThatCannotBeReadIsRefusedAndChangesNothing) {
  GameTree tree;
  LevelData level;
  ASSERT_EQ(level.load("level1.inf"), 0);
  const int tiles = level.tileCount;
  tree.remove("media/level2.inf");
  tree.makeDirectory("media/level2.inf");
  EXPECT_EQ(level.load("level2.inf"), -1);
  EXPECT_EQ(level.tileCount, tiles);
  EXPECT_EQ(level.tiles.size(), static_cast<size_t>(tiles));
}

TEST(UnreadableFiles, APlayerFileThatCannotBeReadFailsToLoad) {
  GameTree tree;
  tree.remove("media/player.inf");
  tree.makeDirectory("media/player.inf");
  Player player;
  EXPECT_EQ(player.load(), -1);
}

TEST(UnreadableFilesDeathTest, AnAnimationThatCannotBeReadStopsAsIfMissing) {
  testing::GTEST_FLAG(death_test_style) = "fast";
  GameTree tree;
  tree.remove("media/gfx/anim/player/climb.anm");
  tree.makeDirectory("media/gfx/anim/player/climb.anm");
  EXPECT_EXIT(Animation("media/gfx/anim/player/", "climb"), testing::ExitedWithCode(1),
              "Error opening media/gfx/anim/player/climb\\.anm\\.\n");
}

}  // namespace
