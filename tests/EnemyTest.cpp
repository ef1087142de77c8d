#include "actors/Enemy.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "actors/EnemyManager.h"
#include "graphics/Resources.h"
#include "shell/Log.h"
#include "shell/Sound.h"
#include "tests/support/EnemyMedia.h"
#include "tests/support/Headless.h"

namespace {

using enemymedia::walkerColour;
using enemymedia::walkerHeight;
using enemymedia::walkerWidth;

int colourAt(BITMAP* bitmap, int x, int y) { return getpixel(bitmap, x, y) & 0xFFFFFF; }
int rgb(int value) { return value & 0xFFFFFF; }

class EnemyTest : public testing::Test {
 protected:
  void SetUp() override {
    enemymedia::writeKinds(tree);
    manager = std::make_unique<EnemyManager>();
  }

  // Placed as a level places it: definition sprite copied, start animation chosen.
  Enemy place(const std::string& kind, int x, int y, int direction, int min_x, int max_x,
              float speed, int changes = 0, int state = 0, int safe_time = 0,
              int points = 0) {
    Enemy enemy(x, y, direction, min_x, max_x, speed, changes, state, safe_time, points,
                manager->deathSound());
    enemy.sprite = manager->definitionSprite(manager->findDefinition(kind));
    enemy.selectStartAnimation();
    return enemy;
  }

  static BitmapPtr frameOf(int w, int h, int opaqueColumns) {
    BitmapPtr frame(create_bitmap(w, h));
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        putpixel(frame.get(), x, y,
                 x < opaqueColumns ? makeacol(255, 255, 255, 255) : makeacol(0, 0, 0, 0));
      }
    }
    return frame;
  }

  MediaTree tree;
  std::unique_ptr<EnemyManager> manager;
};

TEST_F(EnemyTest, ConstructionTakesTheLevelValues) {
  Enemy enemy(30, 299, 1, 10, 90, 1.25f, 7, 1, 40, 250, manager->deathSound());
  EXPECT_TRUE(enemy.alive);
  EXPECT_EQ(enemy.x, 30.0f);
  EXPECT_EQ(enemy.y, 299.0f);
  EXPECT_EQ(enemy.min_x, 10.0f);
  EXPECT_EQ(enemy.max_x, 90.0f);
  EXPECT_TRUE(enemy.changes);  // any value but 0
  EXPECT_FALSE(enemy.falling);
  EXPECT_EQ(enemy.death_sample, manager->deathSound());
  EXPECT_FALSE(Enemy(0, 0, 0, 0, 0, 0.0f, 0, 0, 0, 0, manager->deathSound()).changes);
}

TEST_F(EnemyTest, WithoutASharedSoundTheEnemyLoadsItsOwn) {
  std::vector<std::string> lines;
  log_capture(&lines);
  Enemy enemy(0, 0, 0, 0, 0, 0.0f, 0, 0, 0, 0);
  log_capture(nullptr);
  ASSERT_NE(enemy.death_sample, nullptr);
  EXPECT_NE(enemy.death_sample, manager->deathSound());
  EXPECT_EQ(lines, std::vector<std::string>{"media/audio/enemy_death.wav"});
}

TEST_F(EnemyTest, StartAnimationFollowsStateAndDirection) {
  struct Case {
    int state, direction, animation;
  };
  const Case cases[] = {
      {0, 0, 0}, {0, 1, 1}, {1, 0, 2}, {1, 1, 3},
      // Values a level should not hold still land on an animation the kind has.
      {0, 2, 3}, {1, 2, 3}, {5, 0, 3}, {-1, 1, 3},
  };
  for (const Case& c : cases) {
    Enemy enemy = place("walker", 50, 50, c.direction, 0, 100, 1.0f, 0, c.state);
    EXPECT_EQ(enemy.sprite.animationIndex(), c.animation)
        << "state " << c.state << " direction " << c.direction;
    EXPECT_EQ(enemy.width, walkerWidth[c.animation]);
    EXPECT_EQ(enemy.height, walkerHeight[c.animation]);
  }
}

TEST_F(EnemyTest, SetStateSelectsTheAnimationOfStateAndDirection) {
  struct Case {
    int direction, newState, animation;
  };
  const Case cases[] = {
      {0, 1, 2}, {1, 1, 3}, {0, 0, 0}, {1, 0, 1},
      {2, 1, 3},  // any direction but 0 shows walking right
      {0, 5, 0}, {2, 5, 1}, {1, -3, 1},  // any state but 1 shows the dangerous pair
  };
  for (const Case& c : cases) {
    int startState = c.newState == 1 ? 0 : 1;
    Enemy enemy = place("walker", 50, 50, c.direction, 0, 100, 1.0f, 1, startState);
    enemy.setState(c.newState);
    EXPECT_EQ(enemy.state, c.newState);
    EXPECT_EQ(enemy.sprite.animationIndex(), c.animation)
        << "direction " << c.direction << " state " << c.newState;
    EXPECT_EQ(enemy.width, walkerWidth[c.animation]);
    EXPECT_EQ(enemy.height, walkerHeight[c.animation]);
  }
}

TEST_F(EnemyTest, PatrolWalksTurnsAtTheEndsAndNeverMovesWhenTurning) {
  struct Step {
    float x;
    int direction;
    int animation;
  };
  struct Case {
    const char* what;
    int x, direction, min_x, max_x;
    float speed;
    int state;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"turns at max_x staying put", 10, 1, 0, 12, 1.5f, 0,
       {{11.5f, 1, 1}, {11.5f, 0, 0}, {10.0f, 0, 0}, {8.5f, 0, 0}}},
      {"vulnerable turn shows vulnerable walking left", 10, 1, 0, 12, 1.5f, 1,
       {{11.5f, 1, 3}, {11.5f, 0, 2}, {10.0f, 0, 2}}},
      {"stands on both ends before turning", 0, 0, 0, 4, 2.0f, 0,
       {{0.0f, 1, 1}, {2.0f, 1, 1}, {4.0f, 1, 1}, {4.0f, 0, 0}, {2.0f, 0, 0}}},
      {"speed 0 never moves or turns", 5, 1, 0, 12, 0.0f, 0,
       {{5.0f, 1, 1}, {5.0f, 1, 1}, {5.0f, 1, 1}}},
      {"speed 0 walking left", 5, 0, 0, 12, 0.0f, 1, {{5.0f, 0, 2}, {5.0f, 0, 2}}},
      {"speed wider than the patrol turns every step", 0, 1, 0, 5, 10.0f, 0,
       {{0.0f, 0, 0}, {0.0f, 1, 1}, {0.0f, 0, 0}, {0.0f, 1, 1}}},
      {"placed right of the patrol walks back into it", 20, 1, 0, 12, 3.0f, 0,
       {{20.0f, 0, 0}, {17.0f, 0, 0}, {14.0f, 0, 0}, {11.0f, 0, 0}}},
      {"placed left of the patrol walking left", 2, 0, 5, 12, 2.0f, 0,
       {{2.0f, 1, 1}, {4.0f, 1, 1}, {6.0f, 1, 1}}},
      {"direction 2 walks left and turns to 1", 3, 2, 0, 12, 2.0f, 0,
       {{1.0f, 2, 3}, {1.0f, 1, 1}, {3.0f, 1, 1}}},
  };
  for (const Case& c : cases) {
    Enemy enemy = place("walker", c.x, 100, c.direction, c.min_x, c.max_x, c.speed, 0, c.state);
    for (size_t i = 0; i < c.steps.size(); ++i) {
      enemy.patrol();
      const Step& s = c.steps[i];
      EXPECT_EQ(enemy.x, s.x) << c.what << ", step " << i + 1;
      EXPECT_EQ(enemy.direction, s.direction) << c.what << ", step " << i + 1;
      EXPECT_EQ(enemy.sprite.animationIndex(), s.animation) << c.what << ", step " << i + 1;
      EXPECT_EQ(enemy.width, walkerWidth[s.animation]) << c.what << ", step " << i + 1;
      EXPECT_EQ(enemy.y, 100.0f);
    }
  }
}

TEST_F(EnemyTest, PatrolAdvancesTheAnimationOncePerStep) {
  // Frames last two advances each.
  Enemy enemy = place("walker", 50, 100, 1, 0, 100, 1.0f);
  BitmapPtr target(create_bitmap(120, 120));
  std::vector<int> shown;
  for (int step = 0; step < 5; ++step) {
    clear_to_color(target.get(), makecol(0, 0, 0));
    enemy.draw(target.get());
    shown.push_back(colourAt(target.get(), static_cast<int>(enemy.x), 100));
    enemy.patrol();
  }
  int f0 = rgb(walkerColour(1, 0));
  int f1 = rgb(walkerColour(1, 1));
  EXPECT_EQ(shown, (std::vector<int>{f0, f0, f1, f1, f0}));
}

TEST_F(EnemyTest, DrawPutsTheBottomCentreAtThePositionCutTowardZero) {
  struct Case {
    float x, y;
    int left, top;
  };
  // Animation 0 is 17 x 20.
  const Case cases[] = {
      {100.7f, 200.0f, 92, 181},
      {100.0f, 200.9f, 92, 181},
      {-3.7f, 30.0f, -11, 11},  // cut to -3, not floored to -4
  };
  BitmapPtr target(create_bitmap(300, 300));
  const int background = makecol(0, 0, 0) & 0xFFFFFF;
  const int body = rgb(walkerColour(0, 0));
  for (const Case& c : cases) {
    Enemy enemy = place("walker", 0, 0, 0, 0, 0, 0.0f);
    enemy.setPosition(c.x, c.y);
    clear_to_color(target.get(), makecol(0, 0, 0));
    enemy.draw(target.get());
    const int right = c.left + 16;
    const int bottom = c.top + 19;
    EXPECT_EQ(colourAt(target.get(), right, bottom), body) << c.x << ", " << c.y;
    EXPECT_EQ(colourAt(target.get(), right + 1, bottom), background) << c.x << ", " << c.y;
    EXPECT_EQ(colourAt(target.get(), right, bottom + 1), background) << c.x << ", " << c.y;
    if (c.left >= 0) {
      EXPECT_EQ(colourAt(target.get(), c.left, c.top), body) << c.x << ", " << c.y;
      EXPECT_EQ(colourAt(target.get(), c.left - 1, c.top), background) << c.x << ", " << c.y;
      EXPECT_EQ(colourAt(target.get(), c.left, c.top - 1), background) << c.x << ", " << c.y;
    }
  }
}

TEST_F(EnemyTest, TouchFindsThePictureWhereItIsDrawn) {
  // Animation 0 is 17 x 20 and opaque throughout; corners as drawn above.
  struct Case {
    float x, y;
    int left, top;
  };
  const Case cases[] = {
      {100.7f, 200.0f, 92, 181},
      {100.0f, 200.9f, 92, 181},
      {-3.7f, 30.0f, -11, 11},
  };
  BitmapPtr dot = frameOf(1, 1, 1);
  for (const Case& c : cases) {
    Enemy enemy = place("walker", 0, 0, 0, 0, 0, 0.0f);
    enemy.setPosition(c.x, c.y);
    const int right = c.left + 16;
    const int bottom = c.top + 19;
    const struct {
      int x, y;
      bool touches;
    } probes[] = {
        {c.left, c.top, true},      {right, c.top, true},       // top corners
        {c.left, bottom, true},     {right, bottom, true},      // bottom corners
        {c.left - 1, c.top, false}, {right + 1, bottom, false},  // beside
        {c.left, c.top - 1, false}, {right, bottom + 1, false},  // above, below
    };
    for (const auto& probe : probes) {
      EXPECT_EQ(enemy.touches(dot.get(), static_cast<float>(probe.x), static_cast<float>(probe.y)),
                probe.touches)
          << c.x << ", " << c.y << " probed at " << probe.x << ", " << probe.y;
    }
  }
}

TEST_F(EnemyTest, ContactNeedsCommonOpaquePixels) {
  // Ghost at (100, 100): rectangle 90..110 x 81..100, opaque columns 100..109.
  Enemy ghost = place("ghost", 100, 100, 0, 0, 200, 0.0f);
  BitmapPtr solid = frameOf(8, 8, 8);
  BitmapPtr leftHalf = frameOf(8, 8, 4);  // opaque columns 0..3 only
  struct Case {
    const char* what;
    BITMAP* frame;
    float left, top;
    bool touches;
  };
  const Case cases[] = {
      {"far away", solid.get(), 10.0f, 10.0f, false},
      {"over the transparent half only", solid.get(), 92.0f, 90.0f, false},
      {"fraction cut toward zero", solid.get(), 92.9f, 90.0f, false},
      {"one shared opaque column", solid.get(), 93.0f, 90.0f, true},
      {"player's transparent part over the opaque half", leftHalf.get(), 96.0f, 90.0f, false},
      {"player's opaque column 100", leftHalf.get(), 97.0f, 90.0f, true},
      {"rectangles share the right edge only", solid.get(), 110.0f, 90.0f, false},
      {"last opaque column", solid.get(), 109.0f, 90.0f, true},
      {"below the bottom row", solid.get(), 100.0f, 101.0f, false},
      {"on the bottom row", solid.get(), 100.0f, 100.0f, true},
  };
  for (const Case& c : cases) {
    Enemy enemy = ghost;
    EXPECT_EQ(enemy.touches(c.frame, c.left, c.top), c.touches) << c.what;
    EXPECT_TRUE(enemy.alive) << c.what;  // dangerous: touching never kills it
  }
}

TEST_F(EnemyTest, TouchingLogsTheEnemyRectangleAndKillsOnlyAVulnerableEnemy) {
  BitmapPtr solid = frameOf(8, 8, 8);
  Enemy dangerous = place("ghost", 100, 100, 0, 0, 200, 0.0f, 0, 0);
  Enemy vulnerable = place("ghost", 100, 100, 0, 0, 200, 0.0f, 0, 1);
  std::vector<const SAMPLE*> played;
  observePlayedSamples(&played);
  std::vector<std::string> lines;
  log_capture(&lines);

  EXPECT_TRUE(dangerous.touches(solid.get(), 100.0f, 90.0f));
  EXPECT_TRUE(dangerous.alive);
  EXPECT_TRUE(played.empty());

  EXPECT_TRUE(vulnerable.touches(solid.get(), 100.0f, 90.0f));
  EXPECT_FALSE(vulnerable.alive);

  log_capture(nullptr);
  observePlayedSamples(nullptr);
  ASSERT_EQ(played.size(), 1u);
  EXPECT_EQ(played[0], manager->deathSound().get());
  const std::string line = "Collision against enemy @: (90, 81) - (110, 100)";
  EXPECT_EQ(lines, (std::vector<std::string>{line, line}));
}

TEST_F(EnemyTest, AnEnemyWithoutAnimationsNeitherTouchesNorDraws) {
  Enemy bare(100, 100, 0, 0, 200, 1.0f, 0, 1, 0, 0, manager->deathSound());
  bare.setState(Enemy::dangerous);  // selects nothing the sprite holds: the size stays 0
  EXPECT_EQ(bare.width, 0);
  BitmapPtr solid = frameOf(8, 8, 8);
  EXPECT_FALSE(bare.touches(solid.get(), 100.0f, 95.0f));
  EXPECT_TRUE(bare.alive);
  Enemy walker = place("walker", 100, 100, 0, 0, 200, 1.0f);
  EXPECT_FALSE(walker.touches(nullptr, 100.0f, 95.0f));
  BitmapPtr target(create_bitmap(200, 200));
  clear_to_color(target.get(), makecol(0, 0, 0));
  bare.draw(target.get());
  bare.patrol();
  EXPECT_EQ(colourAt(target.get(), 100, 100), 0);
  EXPECT_EQ(bare.x, 99.0f);
}

}  // namespace
