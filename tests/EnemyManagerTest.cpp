#include "actors/EnemyManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "graphics/Resources.h"
#include "shell/Log.h"
#include "shell/Sound.h"
#include "structures/FloorManager.h"
#include "tests/support/EnemyMedia.h"
#include "tests/support/FileText.h"
#include "tests/support/Headless.h"

namespace {

using enemymedia::walkerColour;
using enemymedia::walkerHeight;
using enemymedia::walkerWidth;

const std::string enemyDir = "media/gfx/anim/enemy/";

int colourAt(BITMAP* bitmap, int x, int y) { return getpixel(bitmap, x, y) & 0xFFFFFF; }
int rgb(int value) { return value & 0xFFFFFF; }

// A death test's pattern for one whole line of standard error.
std::string lineOf(const std::string& text) {
  std::string pattern;
  for (char c : text) {
    if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos) pattern += '\\';
    pattern += c;
  }
  return pattern + "\n";
}

BitmapPtr solidFrame(int w, int h) {
  BitmapPtr frame(create_bitmap(w, h));
  clear_to_color(frame.get(), makeacol(255, 255, 255, 255));
  return frame;
}

class EnemyManagerTest : public testing::Test {
 protected:
  void SetUp() override { enemymedia::writeKinds(tree); }

  Enemy place(EnemyManager& manager, const std::string& kind, int x, int y, int direction,
              int min_x, int max_x, float speed, int changes = 0, int state = 0,
              int safe_time = 0, int points = 0) {
    Enemy enemy(x, y, direction, min_x, max_x, speed, changes, state, safe_time, points,
                manager.deathSound());
    enemy.sprite = manager.definitionSprite(manager.findDefinition(kind));
    enemy.selectStartAnimation();
    manager.add(enemy);
    return enemy;
  }

  MediaTree tree;
};

// --- definitions -----------------------------------------------------------

TEST_F(EnemyManagerTest, ConstructionLogsItsStepsAroundTheAnimations) {
  tree.remove(enemyDir + "ghost.nme");
  std::vector<std::string> lines;
  log_capture(&lines);
  EnemyManager manager;
  log_capture(nullptr);
  // Lines written by the animation loader itself are left out here.
  std::vector<std::string> own;
  std::vector<std::string> animationsRead;
  for (const std::string& line : lines) {
    if (line.rfind("Reading ", 0) == 0) animationsRead.push_back(line);
    if (line.rfind("Reading ", 0) == 0 || line.find(" frames from ") != std::string::npos ||
        line.rfind("Frame ", 0) == 0) {
      continue;
    }
    own.push_back(line);
  }
  std::vector<std::string> expected = {
      "Initializing enemy manager",
      "Locating .nme files.",
      "1 .nme files located.",
      "Loading and processing .nme files",
      "Adding animations from .nme file to enemy sprite.",
      "All animations added.",
      "All .nme files successfully loaded and processed.",
  };
  EXPECT_EQ(own, expected);
  EXPECT_EQ(animationsRead, (std::vector<std::string>{"Reading walk_l.anm", "Reading walk_r.anm",
                                                      "Reading soft_l.anm", "Reading soft_r.anm"}));
  EXPECT_EQ(manager.definitionCount(), 1);
}

TEST_F(EnemyManagerTest, TheFirstFourWordsNameTheAnimationsInOrder) {
  const char* const contents[] = {
      "walk_l walk_r soft_l soft_r",
      "walk_l\nwalk_r\nsoft_l\nsoft_r\n",
      "\t walk_l   walk_r\n\n soft_l soft_r",
      // Words after the fourth are not read: these name no animation at all.
      "walk_l walk_r soft_l soft_r missing_one missing_two",
  };
  for (const char* content : contents) {
    tree.writeText(enemyDir + "kind.nme", content);
    EnemyManager manager;
    int index = manager.findDefinition("kind");
    ASSERT_NE(index, -1) << content;
    const Sprite& sprite = manager.definitionSprite(index);
    ASSERT_EQ(sprite.animationCount(), 4) << content;
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(sprite.animation(i).currentFrame()->w, walkerWidth[i]) << content;
      EXPECT_EQ(sprite.animation(i).currentFrame()->h, walkerHeight[i]) << content;
    }
  }
}

TEST_F(EnemyManagerTest, KindNamesAreWholeFileNamesLessExtensionWithCaseCounting) {
  tree.writeText(enemyDir + "Robot.nme", "walk_l walk_r soft_l soft_r");
  EnemyManager manager;
  EXPECT_EQ(manager.definitionCount(), 3);

  std::vector<std::string> lines;
  log_capture(&lines);
  EXPECT_EQ(manager.findDefinition("robot"), -1);
  log_capture(nullptr);
  // Every kind is compared before giving up.
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "passed robot");
  std::set<std::string> compared(lines.begin() + 1, lines.end());
  EXPECT_EQ(compared, (std::set<std::string>{"comparing to Robot", "comparing to walker",
                                             "comparing to ghost"}));

  int robot = manager.findDefinition("Robot");
  ASSERT_NE(robot, -1);
  EXPECT_NE(manager.findDefinition("walker"), robot);
  EXPECT_EQ(manager.findDefinition("Robot.nme"), -1);
  EXPECT_EQ(manager.findDefinition("Robo"), -1);
  EXPECT_EQ(manager.findDefinition(""), -1);

  lines.clear();
  log_capture(&lines);
  manager.findDefinition("Robot");
  log_capture(nullptr);
  // The search stops at the match.
  EXPECT_EQ(lines.back(), "comparing to Robot");
}

TEST_F(EnemyManagerTest, KindsNamingTheSameAnimationsGetTheirOwnCopies) {
  tree.writeText(enemyDir + "twin.nme", "walk_l walk_r soft_l soft_r");
  EnemyManager manager;
  const Sprite& walker = manager.definitionSprite(manager.findDefinition("walker"));
  const Sprite& twin = manager.definitionSprite(manager.findDefinition("twin"));
  for (int i = 0; i < 4; ++i) {
    EXPECT_NE(walker.animation(i).currentFrame(), twin.animation(i).currentFrame());
    EXPECT_EQ(getpixel(walker.animation(i).currentFrame(), 0, 0),
              getpixel(twin.animation(i).currentFrame(), 0, 0));
  }
}

TEST_F(EnemyManagerTest, DeathSoundIsLoadedOnceAndReleasedWithTheEnemies) {
  EnemyManager manager;
  std::vector<std::string> lines;
  log_capture(&lines);
  SharedSample first = manager.deathSound();
  SharedSample second = manager.deathSound();
  log_capture(nullptr);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  EXPECT_EQ(lines, std::vector<std::string>{"media/audio/enemy_death.wav"});

  const long baseline = first.use_count();
  for (int life = 0; life < 3; ++life) {
    manager.clear();
    for (int i = 0; i < 5; ++i) place(manager, "walker", 10 * i, 100, 0, 0, 100, 1.0f);
  }
  EXPECT_EQ(first.use_count(), baseline + 5);
  manager.clear();
  EXPECT_EQ(first.use_count(), baseline);
}

using EnemyManagerDeathTest = EnemyManagerTest;

// The box text on standard error and the log line in pwe.log.
void expectFailure(const std::function<void()>& action, const std::string& box,
                   const std::string& logLine) {
  EXPECT_EXIT(
      {
        setenv("PWE_LOG", "1", 1);
        log_open("pwe.log");
        action();
      },
      testing::ExitedWithCode(1), lineOf(box));
  EXPECT_EQ(lastLine("pwe.log"), logLine);
}

TEST_F(EnemyManagerDeathTest, NoDefinitionFiles) {
  tree.remove(enemyDir + "walker.nme");
  tree.remove(enemyDir + "ghost.nme");
  tree.writeText(enemyDir + "walker.NME", "walk_l walk_r soft_l soft_r");
  expectFailure([] { EnemyManager manager; }, "No .nme files located!",
                "No .nme files located. Exiting.");
}

TEST_F(EnemyManagerDeathTest, DefinitionWithFewerThanFourWords) {
  tree.writeText(enemyDir + "short.nme", "walk_l walk_r\nsoft_l\n");
  expectFailure([] { EnemyManager manager; },
                "Error reading media/gfx/anim/enemy/short.nme: fewer than four animation names.",
                "Error reading media/gfx/anim/enemy/short.nme: fewer than four animation names. "
                "Exiting.");
}

TEST_F(EnemyManagerDeathTest, EmptyDefinitionFile) {
  tree.writeText(enemyDir + "empty.nme", "");
  expectFailure([] { EnemyManager manager; },
                "Error reading media/gfx/anim/enemy/empty.nme: fewer than four animation names.",
                "Error reading media/gfx/anim/enemy/empty.nme: fewer than four animation names. "
                "Exiting.");
}

TEST_F(EnemyManagerDeathTest, UnreadableDefinition) {
  tree.makeDirectory(enemyDir + "odd.nme");
  expectFailure([] { EnemyManager manager; }, "Error loading media/gfx/anim/enemy/odd.nme",
                "Error loading media/gfx/anim/enemy/odd.nme. Exiting");
}

TEST_F(EnemyManagerDeathTest, DefinitionNamingAMissingAnimation) {
  tree.writeText(enemyDir + "walker.nme", "walk_l walk_r nothing soft_r");
  expectFailure([] { EnemyManager manager; }, "Error opening media/gfx/anim/enemy/nothing.anm.",
                "Error opening media/gfx/anim/enemy/nothing.anm.");
}

TEST_F(EnemyManagerDeathTest, MissingDeathSoundStopsTheFirstPlacement) {
  tree.remove("media/audio/enemy_death.wav");
  EnemyManager manager;  // definitions alone do not need the sound
  expectFailure([&manager] { manager.deathSound(); },
                "Error loading media/audio/enemy_death.wav.",
                "Error loading media/audio/enemy_death.wav.");
  expectFailure([] { Enemy enemy(0, 0, 0, 0, 0, 0.0f, 0, 0, 0, 0); },
                "Error loading media/audio/enemy_death.wav.",
                "Error loading media/audio/enemy_death.wav.");
}

// --- movement --------------------------------------------------------------

class EnemyMovementTest : public EnemyManagerTest {
 protected:
  void SetUp() override {
    EnemyManagerTest::SetUp();
    enemymedia::writeFloorImages(tree);
    floors = std::make_unique<FloorManager>();
    enemies = std::make_unique<EnemyManager>();
    FloorTile tile;  // 0..32 x 300..308
    tile.x = 0;
    tile.y = 300;
    tile.width = 32;
    tile.height = 8;
    tile.tile_name = "stone";
    tile.cleared_name = "stone_clear";
    tile.claimable = 1;
    tile.image = floors->image(floors->findImage("stone"));
    tile.cleared_image = floors->clearedImage(floors->findClearedImage("stone_clear"));
    floors->add(tile);
  }

  std::unique_ptr<FloorManager> floors;
  std::unique_ptr<EnemyManager> enemies;
};

TEST_F(EnemyMovementTest, FallsLandsAndPatrolsTickByTick) {
  struct Tick {
    float x, y;
    bool falling;
  };
  struct Case {
    const char* what;
    int x, y, direction, min_x, max_x;
    std::vector<Tick> ticks;
  };
  const Case cases[] = {
      {"drops onto the tile at row 300", 10, 297, 1, 0, 30,
       {{10, 298, true}, {10, 299, true}, {11, 300, true}, {11, 299, false},
        {12, 299, false}, {13, 299, false}}},
      {"placed inside the tile is lifted", 10, 304, 1, 0, 30,
       {{10, 299, false}, {11, 299, false}, {12, 299, false}}},
      {"placed on the tile's bottom row is lifted", 10, 308, 0, 0, 30,
       {{10, 299, false}, {9, 299, false}}},
      {"just below the tile falls on", 10, 309, 1, 0, 30,
       {{10, 310, true}, {10, 311, true}, {10, 312, true}}},
      {"mid-air falls a pixel per tick without walking", 100, 50, 1, 0, 200,
       {{100, 51, true}, {100, 52, true}, {100, 53, true}, {100, 54, true}}},
      {"walks off the tile's end and falls", 30, 299, 1, 0, 60,
       {{31, 299, false}, {32, 299, false}, {33, 299, false}, {33, 300, true},
        {33, 301, true}}},
  };
  for (const Case& c : cases) {
    enemies->clear();
    place(*enemies, "walker", c.x, c.y, c.direction, c.min_x, c.max_x, 1.0f);
    for (size_t i = 0; i < c.ticks.size(); ++i) {
      enemies->update(*floors);
      const Enemy& e = enemies->enemies()[0];
      EXPECT_EQ(e.x, c.ticks[i].x) << c.what << ", tick " << i + 1;
      EXPECT_EQ(e.y, c.ticks[i].y) << c.what << ", tick " << i + 1;
      EXPECT_EQ(e.falling, c.ticks[i].falling) << c.what << ", tick " << i + 1;
    }
  }
}

TEST_F(EnemyMovementTest, WalkingAdvancesTheAnimationTwicePerTickFallingOnce) {
  place(*enemies, "walker", 10, 299, 1, 0, 30, 1.0f);   // walks: animation 1
  place(*enemies, "walker", 100, 50, 1, 0, 200, 1.0f);  // falls: animation 1
  std::vector<int> walkerFrames;
  std::vector<int> fallerFrames;
  for (int tick = 0; tick < 4; ++tick) {
    enemies->update(*floors);
    walkerFrames.push_back(enemies->enemies()[0].sprite.animation(1).frameIndex());
    fallerFrames.push_back(enemies->enemies()[1].sprite.animation(1).frameIndex());
  }
  // Every frame lasts two advances.
  EXPECT_EQ(walkerFrames, (std::vector<int>{1, 0, 1, 0}));
  EXPECT_EQ(fallerFrames, (std::vector<int>{0, 1, 1, 0}));
}

TEST_F(EnemyMovementTest, KilledEnemiesStandStill) {
  place(*enemies, "walker", 10, 299, 1, 0, 30, 1.0f);
  place(*enemies, "walker", 100, 50, 1, 0, 200, 1.0f);
  enemies->enemies()[0].alive = false;
  enemies->enemies()[1].alive = false;
  for (int tick = 0; tick < 3; ++tick) enemies->update(*floors);
  EXPECT_EQ(enemies->enemies()[0].x, 10.0f);
  EXPECT_EQ(enemies->enemies()[1].y, 50.0f);
  EXPECT_EQ(enemies->enemies()[0].sprite.animation(1).frameTicks(), 0);
  EXPECT_EQ(enemies->enemies()[1].sprite.animation(1).frameTicks(), 0);
}

// --- vulnerability ---------------------------------------------------------

// Plays ticks the way the game orders them and records each enemy's state
// after the end-of-vulnerability test of every tick.
std::vector<std::vector<int>> playTicks(EnemyManager& manager, const std::set<int>& pickups,
                                        int ticks) {
  std::vector<std::vector<int>> states(manager.enemies().size());
  int count = 0;  // a life starts counting at 0
  for (int tick = 0; tick < ticks; ++tick) {
    if (pickups.count(tick) != 0) {
      manager.makeVulnerable();
      count = 0;
    }
    manager.endVulnerability(count);
    ++count;
    for (size_t i = 0; i < states.size(); ++i) states[i].push_back(manager.enemies()[i].state);
  }
  return states;
}

TEST_F(EnemyManagerTest, VulnerabilityLastsSafeTimePlusOneTicks) {
  struct Case {
    const char* what;
    int changes, state, safe_time;
    std::set<int> pickups;
    std::vector<int> states;
  };
  const Case cases[] = {
      {"safe_time 3", 1, 0, 3, {0}, {1, 1, 1, 1, 0, 0}},
      {"safe_time 0: the pickup tick only", 1, 0, 0, {0}, {1, 0, 0}},
      {"later pickup", 1, 0, 2, {2}, {0, 0, 1, 1, 1, 0, 0}},
      {"second pickup restarts the count", 1, 0, 3, {0, 2}, {1, 1, 1, 1, 1, 1, 0, 0}},
      {"placed vulnerable, counted from the life start", 1, 1, 2, {}, {1, 1, 1, 0, 0}},
      {"never changes when dangerous", 0, 0, 3, {0, 3}, {0, 0, 0, 0, 0, 0}},
      {"never changes when vulnerable", 0, 1, 0, {0}, {1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    EnemyManager manager;
    place(manager, "walker", 50, 100, 0, 0, 100, 1.0f, c.changes, c.state, c.safe_time);
    auto states = playTicks(manager, c.pickups, static_cast<int>(c.states.size()));
    EXPECT_EQ(states[0], c.states) << c.what;
  }
}

TEST_F(EnemyManagerTest, EachEnemyKeepsItsOwnSafeTimeAndShowsItsState) {
  EnemyManager manager;
  place(manager, "walker", 50, 100, 0, 0, 100, 1.0f, 1, 0, 1);
  place(manager, "walker", 80, 100, 1, 0, 100, 1.0f, 1, 0, 3);
  manager.makeVulnerable();
  EXPECT_EQ(manager.enemies()[0].sprite.animationIndex(), 2);
  EXPECT_EQ(manager.enemies()[0].width, walkerWidth[2]);
  EXPECT_EQ(manager.enemies()[1].sprite.animationIndex(), 3);
  EXPECT_EQ(manager.enemies()[1].height, walkerHeight[3]);
  auto states = playTicks(manager, {}, 4);  // the pickup above was in tick 0
  EXPECT_EQ(states[0], (std::vector<int>{1, 1, 0, 0}));
  EXPECT_EQ(states[1], (std::vector<int>{1, 1, 1, 1}));
  EXPECT_EQ(manager.enemies()[0].sprite.animationIndex(), 0);
  EXPECT_EQ(manager.enemies()[0].width, walkerWidth[0]);
}

TEST_F(EnemyManagerTest, DangerousChangingEnemiesFollowTheirFrameSizeEveryTick) {
  const int widths[2] = {10, 14};
  const int heights[2] = {10, 12};
  const int colours[2] = {makeacol(1, 2, 3, 255), makeacol(4, 5, 6, 255)};
  enemymedia::writeAnimation(tree, "morph", 2, widths, heights, colours);
  tree.writeText(enemyDir + "morph.nme", "morph morph morph morph");
  EnemyManager manager;
  place(manager, "morph", 50, 100, 0, 0, 100, 1.0f, 1, 0, 0);  // changing
  place(manager, "morph", 80, 100, 0, 0, 100, 1.0f, 0, 0, 0);  // steady
  for (Enemy& enemy : manager.enemies()) {
    enemy.sprite.advance();
    enemy.sprite.advance();  // frame 1 (14 x 12) on show
  }
  manager.endVulnerability(0);  // safe_time 0 is not below 0: nothing yet
  EXPECT_EQ(manager.enemies()[0].width, 10);
  manager.endVulnerability(1);
  EXPECT_EQ(manager.enemies()[0].width, 14);
  EXPECT_EQ(manager.enemies()[0].height, 12);
  EXPECT_EQ(manager.enemies()[1].width, 10);
  EXPECT_EQ(manager.enemies()[1].height, 10);
}

TEST_F(EnemyManagerTest, KilledEnemiesAreNotMadeVulnerableOrDangerous) {
  EnemyManager manager;
  place(manager, "walker", 50, 100, 0, 0, 100, 1.0f, 1, 0, 0);
  manager.enemies()[0].alive = false;
  manager.makeVulnerable();
  EXPECT_EQ(manager.enemies()[0].state, Enemy::dangerous);
  manager.enemies()[0].state = Enemy::vulnerable;
  manager.endVulnerability(10);
  EXPECT_EQ(manager.enemies()[0].state, Enemy::vulnerable);
}

// --- meeting the player ----------------------------------------------------

TEST_F(EnemyManagerTest, TheFirstTouchingEnemyDecides) {
  BitmapPtr player = solidFrame(8, 8);
  std::vector<const SAMPLE*> played;
  observePlayedSamples(&played);

  {
    EnemyManager manager;
    place(manager, "ghost", 100, 100, 0, 0, 200, 0.0f, 0, 1, 0, 50);  // vulnerable
    place(manager, "ghost", 100, 100, 0, 0, 200, 0.0f, 0, 0, 0, 70);  // dangerous
    int points = -1;
    EXPECT_FALSE(manager.checkPlayer(player.get(), 100.0f, 90.0f, points));
    EXPECT_EQ(points, 50);
    EXPECT_FALSE(manager.enemies()[0].alive);
    EXPECT_TRUE(manager.enemies()[1].alive);
    points = -1;
    EXPECT_TRUE(manager.checkPlayer(player.get(), 100.0f, 90.0f, points));  // next tick
    EXPECT_EQ(points, -1);
  }
  EXPECT_EQ(played.size(), 1u);

  {
    EnemyManager manager;
    place(manager, "ghost", 100, 100, 0, 0, 200, 0.0f, 0, 0, 0, 70);  // dangerous
    place(manager, "ghost", 100, 100, 0, 0, 200, 0.0f, 0, 1, 0, 50);  // vulnerable
    int points = -1;
    EXPECT_TRUE(manager.checkPlayer(player.get(), 100.0f, 90.0f, points));
    EXPECT_EQ(points, -1);
    EXPECT_TRUE(manager.enemies()[1].alive);
  }
  observePlayedSamples(nullptr);
  EXPECT_EQ(played.size(), 1u);
}

TEST_F(EnemyManagerTest, NoContactScoresNothing) {
  EnemyManager manager;
  place(manager, "ghost", 100, 100, 0, 0, 200, 0.0f, 0, 0, 0, 70);
  BitmapPtr player = solidFrame(8, 8);
  int points = -1;
  // Overlapping rectangles, but only the ghost's transparent half.
  EXPECT_FALSE(manager.checkPlayer(player.get(), 92.0f, 90.0f, points));
  EXPECT_EQ(points, 0);
}

TEST_F(EnemyManagerTest, AKilledEnemyIsScoredOnceAndThenGone) {
  EnemyManager manager;
  place(manager, "walker", 100, 200, 1, 0, 300, 2.0f, 0, 1, 0, 40);
  const SAMPLE* sound = manager.deathSound().get();
  BitmapPtr player = solidFrame(8, 8);
  std::vector<const SAMPLE*> played;
  observePlayedSamples(&played);
  std::vector<int> scored;
  std::vector<bool> caught;
  for (int tick = 0; tick < 3; ++tick) {
    int points = -1;
    caught.push_back(manager.checkPlayer(player.get(), 98.0f, 190.0f, points));
    scored.push_back(points);
  }
  observePlayedSamples(nullptr);
  EXPECT_EQ(scored, (std::vector<int>{40, 0, 0}));
  EXPECT_EQ(caught, (std::vector<bool>{false, false, false}));
  EXPECT_EQ(played, std::vector<const SAMPLE*>{sound});

  BitmapPtr target(create_bitmap(300, 300));
  clear_to_color(target.get(), makecol(0, 0, 0));
  manager.draw(target.get());
  EXPECT_EQ(colourAt(target.get(), 100, 200), 0);

  enemymedia::writeFloorImages(tree);
  FloorManager floors;  // no tiles: a live enemy here would fall
  manager.update(floors);
  EXPECT_EQ(manager.enemies()[0].x, 100.0f);
  EXPECT_EQ(manager.enemies()[0].y, 200.0f);
}

// --- drawing ---------------------------------------------------------------

TEST_F(EnemyManagerTest, DrawsAliveEnemiesInListOrder) {
  EnemyManager manager;
  place(manager, "walker", 100, 200, 0, 0, 300, 1.0f);        // animation 0, 17 x 20
  place(manager, "walker", 100, 200, 1, 0, 300, 1.0f, 0, 1);  // animation 3, 11 x 14
  BitmapPtr target(create_bitmap(300, 300));
  auto draw = [&] {
    clear_to_color(target.get(), makecol(0, 0, 0));
    manager.draw(target.get());
  };
  draw();
  // The later enemy covers the earlier one where both are drawn.
  EXPECT_EQ(colourAt(target.get(), 100, 200), rgb(walkerColour(3, 0)));
  EXPECT_EQ(colourAt(target.get(), 92, 181), rgb(walkerColour(0, 0)));

  manager.enemies()[1].alive = false;
  draw();
  EXPECT_EQ(colourAt(target.get(), 100, 200), rgb(walkerColour(0, 0)));

  manager.clear();
  draw();
  EXPECT_EQ(colourAt(target.get(), 100, 200), 0);
  EXPECT_EQ(colourAt(target.get(), 92, 181), 0);
  EXPECT_NE(manager.findDefinition("walker"), -1);
}

}  // namespace
