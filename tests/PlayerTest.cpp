// The player record: player.inf, the five animations, width and drawing,
// lives, and the game's sounds.
#include "player/Player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/Game.h"
#include "shell/Log.h"
#include "tests/support/GameTree.h"

namespace {

class LogCapture {
 public:
  LogCapture() { log_capture(&lines); }
  ~LogCapture() { log_capture(nullptr); }
  std::vector<std::string> lines;

  // Index of a line, or -1.
  int indexOf(const std::string& line) const {
    auto it = std::find(lines.begin(), lines.end(), line);
    return it == lines.end() ? -1 : static_cast<int>(it - lines.begin());
  }
};

TEST(PlayerFile, FieldsComeInFileOrderWhichIsNotTheIndexOrder) {
  MediaTree tree;
  tree.writeText("media/player.inf",
                 "wl wr\tclimbing\n  air_l air_r 17 30 1.5 2 3 4 0.5 0.25 40 100.5 extra\n");
  Player p;
  LogCapture log;
  ASSERT_EQ(p.load(), 0);
  EXPECT_EQ(log.lines, std::vector<std::string>{"Loading player data from media/player.inf."});
  const std::vector<std::string> names(p.animationNames, p.animationNames + 5);
  EXPECT_EQ(names, (std::vector<std::string>{"wl", "wr", "air_l", "air_r", "climbing"}));
  EXPECT_EQ(p.width, 17);
  EXPECT_EQ(p.height, 30);
  EXPECT_EQ(p.walkSpeed, 1.5f);
  EXPECT_EQ(p.fallSpeed, 2.0f);
  EXPECT_EQ(p.climbSpeed, 3.0f);
  EXPECT_EQ(p.jumpSpeed, 4.0f);
  EXPECT_EQ(p.jumpStride, 0.5f);
  EXPECT_EQ(p.slideFactor, 0.25f);
  EXPECT_EQ(p.jumpHeight, 40.0f);
  EXPECT_EQ(p.maxDrop, 100.5f);
  // Untouched by the file.
  EXPECT_EQ(p.lives, 3);
  EXPECT_EQ(p.facing, Player::facingRight);
  EXPECT_TRUE(p.hasControl);
  EXPECT_TRUE(p.alive);
}

TEST(PlayerFile, AMissingOrMalformedTokenLeavesItAndTheRestAtTheirInitialValues) {
  struct Case {
    const char* numbers;
    int width;
    int height;
    float walkSpeed;
    float jumpHeight;
    float maxDrop;
  };
  const Case cases[] = {
      {"16 24", 16, 24, 0, 0, 0},                        // the speeds are missing
      {"16 24 2 2 2 2 1 0.5 40", 16, 24, 2, 40, 0},      // the last one is missing
      {"16 tall 2 2 2 2 1 0.5 40 100", 16, 0, 0, 0, 0},  // a word for a number
      {"16 24.5 2 2 2 2 1 0.5 40 100", 16, 0, 0, 0, 0},  // a real for an integer
      {"16 24 2 2 2 2 1 0.5 4x0 100", 16, 24, 2, 0, 0},
      {"99999999999 24 2 2 2 2 1 0.5 40 100", 0, 0, 0, 0, 0},  // does not fit
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.numbers);
    MediaTree tree;
    tree.writeText("media/player.inf", std::string("a b c d e ") + c.numbers);
    Player p;
    ASSERT_EQ(p.load(), 0);
    EXPECT_EQ(p.animationNames[2], "d");
    EXPECT_EQ(p.width, c.width);
    EXPECT_EQ(p.height, c.height);
    EXPECT_EQ(p.walkSpeed, c.walkSpeed);
    EXPECT_EQ(p.jumpHeight, c.jumpHeight);
    EXPECT_EQ(p.maxDrop, c.maxDrop);
  }
}

TEST(PlayerFile, OnlyTwoNamesLeaveTheRestEmpty) {
  MediaTree tree;
  tree.writeText("media/player.inf", "left right");
  Player p;
  ASSERT_EQ(p.load(), 0);
  EXPECT_EQ(p.animationNames[1], "right");
  EXPECT_EQ(p.animationNames[4], "");
  EXPECT_EQ(p.width, 0);
}

TEST(PlayerFile, MissingFileFails) {
  MediaTree tree;
  Player p;
  EXPECT_EQ(p.load(), -1);
}

// Colour of the top-left pixel of animation k's frame on show.
int frameColour(const Player& p, int k) {
  BITMAP* frame = p.sprite.animation(k).currentFrame();
  int c = getpixel(frame, 0, 0);
  return makecol(getr(c), getg(c), getb(c));
}

TEST(PlayerAnimations, LoadInFileOrderAndTakeTheirRoleIndices) {
  GameTree tree;
  LogCapture log;
  Game game(640, 480, 100);
  const Player& p = game.player;

  int creating = log.indexOf("Creating player animations.");
  int adding = log.indexOf("Adding animations to player instance.");
  ASSERT_GE(creating, 0);
  ASSERT_GT(adding, creating);
  std::vector<std::string> read;
  for (int i = creating; i < adding; ++i) {
    if (log.lines[i].rfind("Reading ", 0) == 0) read.push_back(log.lines[i]);
  }
  EXPECT_EQ(read, (std::vector<std::string>{"Reading walk_left.anm", "Reading walk_right.anm",
                                            "Reading climb.anm", "Reading air_left.anm",
                                            "Reading air_right.anm"}));

  ASSERT_EQ(p.sprite.animationCount(), 5);
  // The tree's frames are coloured by animation.
  EXPECT_EQ(frameColour(p, Player::walkLeft), makecol(200, 40, 40));
  EXPECT_EQ(frameColour(p, Player::walkRight), makecol(40, 200, 40));
  EXPECT_EQ(frameColour(p, Player::airborneLeft), makecol(200, 200, 40));
  EXPECT_EQ(frameColour(p, Player::airborneRight), makecol(40, 200, 200));
  EXPECT_EQ(frameColour(p, Player::climb), makecol(40, 40, 200));
  EXPECT_EQ(p.sprite.animationIndex(), Player::walkRight);
  EXPECT_EQ(p.width, GameTree::playerWidth);
}

TEST(PlayerAnimations, SelectingOneTakesItsFrameWidthButKeepsTheHeight) {
  GameTree tree;
  tree.writeSolidPng("media/gfx/anim/player/air_right/0.png", 20, 30, 1, 2, 3);
  Game game(640, 480, 100);
  Player& p = game.player;
  p.setAnimation(Player::airborneRight);
  EXPECT_EQ(p.width, 20);
  EXPECT_EQ(p.height, GameTree::playerHeight);
  p.setAnimation(Player::walkLeft);
  EXPECT_EQ(p.width, GameTree::playerWidth);
  EXPECT_EQ(p.sprite.animationIndex(), Player::walkLeft);
}

TEST(PlayerDrawing, BottomCentreIsCutTowardZero) {
  GameTree tree;
  for (int i = 0; i < 4; ++i) {
    tree.writeSolidPng("media/gfx/anim/player/walk_right/" + std::to_string(i) + ".png", 17,
                       GameTree::playerHeight, 255, 255, 255);
  }
  Game game(640, 480, 100);
  Player& p = game.player;
  ASSERT_EQ(p.width, 17);
  p.setPosition(100.7f, 50.9f);
  BITMAP* target = create_bitmap(200, 100);
  clear_to_color(target, makecol(0, 0, 0));
  p.draw(target);
  const int white = makecol(255, 255, 255);
  // Columns 92 (100 - 17 / 2) to 108, rows 27 (50 - 24 + 1) to 50.
  EXPECT_EQ(getpixel(target, 92, 27), white);
  EXPECT_EQ(getpixel(target, 108, 50), white);
  EXPECT_NE(getpixel(target, 91, 27), white);
  EXPECT_NE(getpixel(target, 109, 27), white);
  EXPECT_NE(getpixel(target, 92, 26), white);
  EXPECT_NE(getpixel(target, 92, 51), white);
  destroy_bitmap(target);
}

TEST(PlayerRecord, SetLivesLogsOldAndNew) {
  Player p;
  LogCapture log;
  p.setLives(2);
  p.setLives(7);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Player lives going from 3 to 2.",
                                                 "Player lives going from 2 to 7."}));
  EXPECT_EQ(p.lives, 7);
}

TEST(Sounds, SixSamplesLoadInOrderFromTheAudioDirectory) {
  GameTree tree;
  LogCapture log;
  Game game(640, 480, 100);
  const std::vector<std::string> paths = {
      "media/audio/walk.wav", "media/audio/jump.wav", "media/audio/player_death_fall.wav",
      "media/audio/player_death_enemy.wav", "media/audio/item.wav",
      "media/audio/enemy_death.wav"};
  int last = -1;
  for (const std::string& path : paths) {
    int at = log.indexOf(path);
    EXPECT_GT(at, last) << path;
    last = at;
  }
  const std::vector<const SAMPLE*> samples = {
      game.walkSample.get(), game.jumpSample.get(), game.fallDeathSample.get(),
      game.caughtSample.get(), game.itemSample.get(), game.enemyKilledSample.get()};
  for (const SAMPLE* s : samples) {
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(std::count(samples.begin(), samples.end(), s), 1);
  }
}

TEST(SoundsDeathTest, AMissingSampleEndsTheProgram) {
  for (const char* name : {"walk.wav", "enemy_death.wav"}) {
    SCOPED_TRACE(name);
    GameTree tree;
    tree.remove(std::string("media/audio/") + name);
    EXPECT_EXIT(Game(640, 480, 100), testing::ExitedWithCode(1),
                std::string("Error loading media/audio/") + name + "\\.");
  }
}

}  // namespace
