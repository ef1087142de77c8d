// Key and mechanics settings read from the configuration.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/PlayField.h"

namespace {

LevelLayout plainFloor() {
  LevelLayout layout;
  layout.floor(0, 640, 300);
  return layout;
}

void useConfig(const std::string& text) {
  set_config_data(text.c_str(), static_cast<int>(text.size()));
}

TEST(Controls, WithoutAConfigurationFileEverySettingHasItsDefault) {
  PlayField field(plainFloor());  // the tree has no pwe.cfg
  const Game& g = *field.game;
  EXPECT_EQ(g.keyLeft, KEY_LEFT);
  EXPECT_EQ(g.keyRight, KEY_RIGHT);
  EXPECT_EQ(g.keyUp, KEY_UP);
  EXPECT_EQ(g.keyDown, KEY_DOWN);
  EXPECT_EQ(g.keyJump, KEY_SPACE);
  EXPECT_EQ(g.teleportCooldown, 200);
  EXPECT_EQ(g.chuteTolerance, 14);
  EXPECT_EQ(g.ladderHorizontalTolerance, 6);
  EXPECT_EQ(g.ladderVerticalTolerance, 2);
}

TEST(Controls, ConfiguredValuesAreUsed) {
  PlayField field(plainFloor(), [](GameTree& tree) {
    tree.writeText("media/pwe.cfg",
                   "[keyboard]\nleft = 1\nright = 4\nup = 23\ndown = 19\njump = 1\n"
                   "[mechanics]\nteleport_cooldown = 50\nchute_horiz_tol = 3\n"
                   "ladder_horiz_tol = 1\nladder_vert_tol = 0\n");
    set_config_file("media/pwe.cfg");
  });
  const Game& g = *field.game;
  EXPECT_EQ(g.keyLeft, KEY_A);
  EXPECT_EQ(g.keyRight, KEY_D);
  EXPECT_EQ(g.keyUp, KEY_W);
  EXPECT_EQ(g.keyDown, KEY_S);
  EXPECT_EQ(g.keyJump, KEY_A);
  EXPECT_EQ(g.teleportCooldown, 50);
  EXPECT_EQ(g.chuteTolerance, 3);
  EXPECT_EQ(g.ladderHorizontalTolerance, 1);
  EXPECT_EQ(g.ladderVerticalTolerance, 0);

  // The A key both walks left and jumps; the arrow no longer walks.
  Player& p = field.player();
  field.tickHolding({KEY_LEFT});
  EXPECT_EQ(p.x, 100.0f);
  field.tickHolding({KEY_A});
  EXPECT_EQ(p.jumpState, Player::risingLeft);
  EXPECT_EQ(p.x, 96.0f);  // a walking step, then the jump's first step
  EXPECT_EQ(p.y, 297.0f);
}

TEST(Controls, ScanCodesOutsideTheKeyTableFallBackToTheDefault) {
  PlayField field(plainFloor());
  Game& g = *field.game;
  useConfig("[keyboard]\nleft = 127\nright = -1\nup = 126\ndown = 0\njump = 100000\n");
  g.loadControls();
  EXPECT_EQ(g.keyLeft, KEY_LEFT);
  EXPECT_EQ(g.keyRight, KEY_RIGHT);
  EXPECT_EQ(g.keyUp, 126);  // the last entry of the table is a key
  EXPECT_EQ(g.keyDown, 0);
  EXPECT_EQ(g.keyJump, KEY_SPACE);
  EXPECT_TRUE(field.logged("Key code 127 for \"left\" is not a key; using 82."));
  EXPECT_TRUE(field.logged("Key code -1 for \"right\" is not a key; using 83."));
  EXPECT_TRUE(field.logged("Key code 100000 for \"jump\" is not a key; using 75."));
  EXPECT_EQ(field.log.size(), 3u);

  // The fallen-back keys work.
  field.tickHolding({KEY_RIGHT});
  EXPECT_EQ(field.player().x, 102.0f);
}

TEST(Controls, MissingKeysKeepTheirDefaultsBesideConfiguredOnes) {
  PlayField field(plainFloor());
  Game& g = *field.game;
  useConfig("[keyboard]\njump = 84\n[mechanics]\nladder_vert_tol = 5\n");
  g.loadControls();
  EXPECT_EQ(g.keyJump, KEY_UP);  // the same code as up: one key does both
  EXPECT_EQ(g.keyUp, KEY_UP);
  EXPECT_EQ(g.keyLeft, KEY_LEFT);
  EXPECT_EQ(g.teleportCooldown, 200);
  EXPECT_EQ(g.ladderVerticalTolerance, 5);
  EXPECT_EQ(g.chuteTolerance, 14);
}

}  // namespace
