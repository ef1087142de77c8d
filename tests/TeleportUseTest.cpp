// The digit keys, the teleport itself, the cooldown and the key-release
// detector, through real game ticks.
#include <gtest/gtest.h>

#include <string>

#include "player/KeyRelease.h"
#include "tests/support/PlayField.h"

namespace {

// Pads are 24 x 32: teleporter 1 covers rows 268..299 from x 100, number 2
// the same rows from x 400; the floor's top row is 300.
LevelLayout twoPads(int startX, int startY = 299) {
  LevelLayout layout;
  layout.startX = startX;
  layout.startY = startY;
  layout.floor(0, 640, 300);
  layout.teleporters.push_back("100 268 pad pad_cool 1");
  layout.teleporters.push_back("400 268 pad pad_cool 2");
  return layout;
}

TEST(Teleport, ReleasingADigitArrivesAtThatPadsBottomCentre) {
  PlayField field(twoPads(112));
  Player& p = field.player();
  field.tickHolding({KEY_2});
  EXPECT_EQ(p.x, 112.0f);  // a press alone does nothing
  field.tick();
  EXPECT_EQ(p.x, 412.0f);
  EXPECT_EQ(p.y, 299.0f);
  EXPECT_EQ(p.currentTeleporter.number, 1);
  EXPECT_TRUE(field.logged("Teleporting to teleporter 2 @: 412, 299."));
  EXPECT_TRUE(field.game->teleportCooldownActive);
  EXPECT_EQ(field.game->teleportCooldownTicks, 1);  // counted in the tick of the teleport
}

TEST(Teleport, ReleasingTheNumberOfThePadStoodInNeverTeleports) {
  PlayField field(twoPads(412));
  Player& p = field.player();
  for (int round = 0; round < 3; ++round) {
    field.tickHolding({KEY_2});
    field.tick();
  }
  EXPECT_EQ(p.x, 412.0f);
  EXPECT_FALSE(field.game->teleportCooldownActive);
  // The other digit works from here.
  field.tickHolding({KEY_1});
  field.tick();
  EXPECT_EQ(p.x, 112.0f);
}

TEST(Teleport, NoTeleportOutsideAPadOrToANumberNotOnTheLevel) {
  PlayField field(twoPads(250));
  field.tickHolding({KEY_2});
  field.tick();
  EXPECT_EQ(field.player().x, 250.0f);

  PlayField inPad(twoPads(112));
  inPad.tickHolding({KEY_3});
  inPad.tick();
  EXPECT_EQ(inPad.player().x, 112.0f);
  EXPECT_FALSE(inPad.game->teleportCooldownActive);
}

TEST(Teleport, CooldownAllowsTheNextTeleportOnlyAfterItsLength) {
  struct Case {
    int delay;  // ticks from the teleport to the release of the next digit
    bool teleports;
  };
  for (const Case& c : {Case{5, false}, Case{6, true}}) {
    SCOPED_TRACE(c.delay);
    PlayField field(twoPads(112));
    Player& p = field.player();
    field.game->teleportCooldown = 5;
    field.tickHolding({KEY_2});
    field.tick();  // tick t: the teleport
    ASSERT_EQ(p.x, 412.0f);
    for (int t = 1; t < c.delay - 1; ++t) {
      field.tick();
      EXPECT_TRUE(field.game->teleportCooldownActive) << "tick t+" << t;
    }
    field.tickHolding({KEY_1});  // tick t + delay - 1
    field.tick();                // tick t + delay: released
    EXPECT_EQ(p.x, c.teleports ? 112.0f : 412.0f);
    EXPECT_EQ(field.game->teleportCooldownActive, c.teleports);
  }
}

TEST(Teleport, CooldownEndsInTheTickOfItsLength) {
  PlayField field(twoPads(112));
  field.game->teleportCooldown = 3;
  field.tickHolding({KEY_2});
  field.tick();  // t
  field.tick();  // t + 1
  field.tick();  // t + 2
  EXPECT_TRUE(field.game->teleportCooldownActive);
  field.tick();  // t + 3
  EXPECT_FALSE(field.game->teleportCooldownActive);
}

TEST(Teleport, ADigitReleasedInTheAirIsUsedUp) {
  struct Case {
    const char* how;
    bool jump;          // else fall from a little above the floor
    bool holdToLanding; // release only once standing again
  };
  const Case cases[] = {{"jump, released mid-air", true, false},
                        {"jump, held to the landing", true, true},
                        {"fall, released mid-air", false, false},
                        {"fall, held to the landing", false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    PlayField field(twoPads(112, c.jump ? 299 : 290));
    Player& p = field.player();
    if (c.jump) {
      field.tickHolding({KEY_SPACE, KEY_2});
      ASSERT_NE(p.jumpState, Player::notJumping);
    } else {
      field.tickHolding({KEY_2});
      ASSERT_TRUE(p.falling);
    }
    int ticks = 0;
    while ((p.jumpState != Player::notJumping || p.falling) && ticks < 100) {
      if (c.holdToLanding) {
        field.tickHolding({KEY_2});
      } else {
        field.tick();
      }
      ++ticks;
    }
    ASSERT_EQ(p.y, 299.0f);
    field.tick();
    field.tick();
    EXPECT_EQ(p.x, c.holdToLanding ? 412.0f : 112.0f);
  }
}

TEST(Teleport, DigitCodesPastTheKeyTableAreNeverReported) {
  // Teleporter n is asked for with code 27 + n: from 100 on there is no key.
  LevelLayout layout;
  layout.startX = 12;
  layout.startY = 71;
  layout.tiles.push_back("0 72 brick brick_clear 0 0");
  for (int i = 0; i < 102; ++i) {
    layout.teleporters.push_back(std::to_string((i % 20) * 30) + " " +
                                 std::to_string(40 + (i / 20) * 60) + " pad pad_cool " +
                                 std::to_string(i + 1));
  }
  PlayField field(layout);
  Player& p = field.player();
  ASSERT_EQ(field.game->teleporterManager.count(), 102);
  for (int t = 0; t < 3; ++t) field.tick();
  EXPECT_EQ(p.x, 12.0f);
  // The last code of the table still reaches teleporter 99.
  field.tickHolding({KEY_MAX - 1});
  field.tick();
  EXPECT_EQ(p.x, 18 * 30 + 12.0f);
  EXPECT_EQ(p.y, 280 + 31.0f);
}

TEST(KeyRelease, ReportsEachPressOnceAtItsRelease) {
  releaseAllKeys();
  EXPECT_FALSE(keyReleased(KEY_5, false));  // never held
  EXPECT_FALSE(keyReleased(KEY_5, true));
  EXPECT_FALSE(keyReleased(KEY_5, true));
  EXPECT_FALSE(keyReleased(KEY_5, true));
  EXPECT_TRUE(keyReleased(KEY_5, false));
  EXPECT_FALSE(keyReleased(KEY_5, false));
  // A press and release between two calls is never seen.
  EXPECT_FALSE(keyReleased(KEY_6, false));
  for (int code : {-1, int{KEY_MAX}, KEY_MAX + 1, 1000}) EXPECT_FALSE(keyReleased(code, true));
  releaseAllKeys();
}

}  // namespace
