// Walking, the walking sound, walking off a floor, falling and landing,
// driven through real game ticks.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "shell/Sound.h"
#include "tests/support/PlayField.h"

namespace {

int timesPlayed(const PlayField& field, const SAMPLE* sample) {
  return static_cast<int>(std::count(field.played.begin(), field.played.end(), sample));
}

void walkFramesWide(GameTree& tree, const char* name, int width) {
  for (int i = 0; i < 4; ++i) {
    tree.writeSolidPng(std::string("media/gfx/anim/player/") + name + "/" + std::to_string(i) +
                           ".png",
                       width, GameTree::playerHeight, 90, 90, 90);
  }
}

TEST(Walk, StopsAtTheScreenEdges) {
  struct Case {
    const char* side;
    int walkKey;
    int startX;
    float afterOne;  // one step is still allowed from the start
  };
  // Width 21: half 10. Left stops once x < 10; right once x > 640 - 10.
  const Case cases[] = {{"left", KEY_LEFT, 11, 7.0f},
                        {"left from the bound", KEY_LEFT, 10, 6.0f},
                        {"right", KEY_RIGHT, 629, 633.0f},
                        {"right from the bound", KEY_RIGHT, 630, 634.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.side);
    LevelLayout layout;
    layout.startX = c.startX;
    layout.floor(0, 640, 300);
    PlayField field(layout, [](GameTree& tree) {
      walkFramesWide(tree, "walk_left", 21);
      walkFramesWide(tree, "walk_right", 21);
    });
    Player& p = field.player();
    p.walkSpeed = 4.0f;
    field.tickHolding({c.walkKey});
    EXPECT_EQ(p.width, 21);
    EXPECT_EQ(p.x, c.afterOne);
    field.tickHolding({c.walkKey});
    field.tickHolding({c.walkKey});
    EXPECT_EQ(p.x, c.afterOne);
    EXPECT_EQ(p.y, 299.0f);
  }
}

TEST(Walk, TurningLogsOnceAndSelectsTheWalkAnimation) {
  LevelLayout layout;
  layout.floor(0, 640, 300);
  PlayField field(layout);
  Player& p = field.player();
  p.walkSpeed = 2.0f;
  field.tickHolding({KEY_LEFT});
  field.tickHolding({KEY_LEFT});
  EXPECT_EQ(std::count(field.log.begin(), field.log.end(), "Player changing direction to left."),
            1);
  EXPECT_EQ(p.facing, Player::facingLeft);
  EXPECT_EQ(p.sprite.animationIndex(), Player::walkLeft);
  EXPECT_EQ(p.x, 96.0f);
  // Each walking tick advances the walk animation: 4 ticks a frame.
  field.tickHolding({KEY_LEFT});
  field.tickHolding({KEY_LEFT});
  EXPECT_EQ(p.sprite.animation(Player::walkLeft).frameIndex(), 1);

  field.tickHolding({KEY_RIGHT});
  EXPECT_TRUE(field.logged("Player changing direction to right."));
  EXPECT_EQ(p.facing, Player::facingRight);
  EXPECT_EQ(p.sprite.animationIndex(), Player::walkRight);
  EXPECT_EQ(p.x, 94.0f);
}

TEST(Walk, SoundIsNotRestartedWhileItPlays) {
  LevelLayout layout;
  layout.floor(0, 640, 300);
  PlayField field(layout);
  SAMPLE* walk = field.game->walkSample.get();
  // Headless, no voice ever plays: the test decides what the voice holds.
  SAMPLE* onVoice = nullptr;
  overrideVoiceQuery([&](int) { return onVoice; });

  field.tickHolding({KEY_RIGHT});
  EXPECT_EQ(timesPlayed(field, walk), 1);
  onVoice = walk;  // still playing
  for (int t = 0; t < 10; ++t) field.tickHolding({KEY_RIGHT});
  EXPECT_EQ(timesPlayed(field, walk), 1);
  onVoice = field.game->jumpSample.get();  // the voice went to another sound
  field.tickHolding({KEY_LEFT});
  EXPECT_EQ(timesPlayed(field, walk), 2);
  onVoice = walk;
  field.tickHolding({KEY_LEFT});
  field.tickHolding({KEY_RIGHT});
  EXPECT_EQ(timesPlayed(field, walk), 2);
  onVoice = nullptr;  // ended; the key is still held
  field.tickHolding({KEY_RIGHT});
  EXPECT_EQ(timesPlayed(field, walk), 3);
  // No key, no sound.
  field.tick();
  EXPECT_EQ(timesPlayed(field, walk), 3);
}

// Upper floor: one tile from x 0 to 32 at row 300. Lower floor at row 340.
LevelLayout ledge() {
  LevelLayout layout;
  layout.startX = 30;
  layout.startY = 299;
  layout.tiles.push_back("0 300 brick brick_clear 0 0");
  layout.floor(32, 128, 340);
  return layout;
}

TEST(Fall, WalkingOffAFloorFallsAndLandsOneRowAboveTheTile) {
  PlayField field(ledge());
  Player& p = field.player();
  p.walkSpeed = 4.0f;
  p.fallSpeed = 3.0f;

  // The fall starts in the tick that leaves the floor; it moves from the next.
  field.tickHolding({KEY_RIGHT});
  EXPECT_TRUE(field.logged("Player @ 34.000, 299.000 now falling."));
  EXPECT_TRUE(p.falling);
  EXPECT_EQ(p.y, 299.0f);

  // Falling, the walk keys do nothing.
  field.tickHolding({KEY_RIGHT});
  EXPECT_EQ(p.x, 34.0f);
  EXPECT_EQ(p.y, 302.0f);
  for (int t = 0; t < 12; ++t) field.tick();
  EXPECT_EQ(p.y, 338.0f);
  EXPECT_TRUE(p.falling);
  EXPECT_EQ(field.game->fallDistance, 39.0f);
  EXPECT_EQ(p.score, 0);

  // 341 is inside the tile at row 340: the feet go to 339.
  field.tick();
  EXPECT_TRUE(field.logged("Moving player from 34.000, 341.000 to 34.000, 339.000."));
  EXPECT_EQ(p.y, 339.0f);
  EXPECT_FALSE(p.falling);
  EXPECT_EQ(field.game->fallDistance, 0.0f);
  EXPECT_TRUE(p.alive);
  EXPECT_EQ(p.score, 10);  // the tile under the feet is claimed in the landing tick
  EXPECT_TRUE(field.played.size() == 1u && field.played[0] == field.game->walkSample.get());

  field.tick();
  EXPECT_EQ(p.y, 339.0f);
}

TEST(Fall, LongerThanTheGreatestDropPlaysTheDeathSoundAndEndsTheLife) {
  PlayField field(ledge());
  Player& p = field.player();
  p.walkSpeed = 4.0f;
  p.fallSpeed = 3.0f;
  p.maxDrop = 41.0f;  // the drop to the lower floor is 42
  field.tickHolding({KEY_RIGHT});
  bool ended = false;
  int ticks = 1;
  while (!ended && ticks < 100) {
    ended = field.tick();
    ++ticks;
  }
  EXPECT_EQ(ticks, 15);
  EXPECT_FALSE(p.alive);
  EXPECT_EQ(p.lives, 2);
  EXPECT_EQ(p.y, 341.0f);  // not put on the tile
  EXPECT_EQ(timesPlayed(field, field.game->fallDeathSample.get()), 1);
  EXPECT_FALSE(field.logged("Moving player from 34.000, 341.000 to 34.000, 339.000."));
}

TEST(Fall, NoFallStartsOnALadderOrDuringAJump) {
  LevelLayout layout;
  layout.startX = 100;
  layout.startY = 250;  // in the air, beside a ladder
  layout.ladders.push_back("92 200 100 rungs");
  layout.floor(0, 640, 300);
  PlayField field(layout);
  Player& p = field.player();
  // Not yet on the ladder: the ladder found last is an empty record.
  field.tick();
  EXPECT_TRUE(p.falling);

  // Found by the climbing keys, the ladder holds the player.
  PlayField onLadder(layout);
  Player& q = onLadder.player();
  onLadder.tickHolding({KEY_UP});
  EXPECT_FALSE(q.falling);
  for (int t = 0; t < 5; ++t) onLadder.tick();
  EXPECT_FALSE(q.falling);
  EXPECT_EQ(q.y, 248.0f);
  // Between the ladder's ends the walk keys do nothing.
  onLadder.tickHolding({KEY_LEFT});
  onLadder.tickHolding({KEY_RIGHT});
  EXPECT_EQ(q.x, 100.0f);
  EXPECT_FALSE(onLadder.logged("Player changing direction to left."));
}

}  // namespace
