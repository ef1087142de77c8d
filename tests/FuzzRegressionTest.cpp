// Inputs kept from fuzzing (fuzz/regressions/), fed through the same loaders
// and the same brief play as the fuzz targets, on a copy of the shipped tree.
// Each once overflowed an int, cast an out-of-range float or crashed in
// drawing; each now has a stated outcome.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "game/Game.h"
#include "game/LevelData.h"
#include "graphics/Animation.h"
#include "graphics/ImageFile.h"
#include "graphics/Pixel.h"
#include "player/Player.h"
#include "shell/Log.h"
#include "shell/MediaPaths.h"
#include "shell/SoundFile.h"
#include "shell/Startup.h"
#include "tests/support/FileText.h"
#include "tests/support/Headless.h"

namespace fs = std::filesystem;

namespace {

fs::path sourceRoot() {
  const char* source = std::getenv("PWE_SOURCE_DIR");
  if (source != nullptr && *source != '\0') return source;
  return fs::exists("media/pwe.cfg") ? fs::current_path() : fs::current_path().parent_path();
}

std::string keptInput(const std::string& kind, const std::string& name) {
  return readFile(sourceRoot() / "fuzz" / "regressions" / kind / name);
}

bool contains(const std::vector<std::string>& lines, const std::string& line) {
  for (const std::string& logged : lines) {
    if (logged == line) return true;
  }
  return false;
}

// The shipped media tree copied into a temporary working directory.
class FuzzRegressionTest : public testing::Test {
 protected:
  void SetUp() override {
    tree_ = std::make_unique<MediaTree>();
    fs::copy(sourceRoot() / "media", fs::path(tree_->root()) / "media",
             fs::copy_options::recursive);
    set_config_file("media/pwe.cfg");
  }
  void TearDown() override {
    log_capture(nullptr);
    tree_.reset();
  }

  std::unique_ptr<MediaTree> tree_;
};

TEST_F(FuzzRegressionTest, LevelsWithNumbersBeyondAMillionAreRefusedNamingTheValue) {
  struct Case {
    const char* file;
    const char* logLine;
  };
  const Case cases[] = {
      {"enemy-at-int-max.inf",
       "Level rejected: enemy value 2147483647 of element 0 is outside -1000000 to 1000000."},
      {"enemy-at-int-min.inf",
       "Level rejected: enemy value -2147483648 of element 0 is outside -1000000 to 1000000."},
      {"item-at-int-max.inf",
       "Level rejected: item value 2147483647 of element 0 is outside -1000000 to 1000000."},
      {"start-at-int-max.inf",
       "Level rejected: header value 2147483647 is outside -1000000 to 1000000."},
      {"tile-points-int-max.inf",
       "Level rejected: tile value 2147483647 of element 0 is outside -1000000 to 1000000."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string text = keptInput("level", c.file);
    ASSERT_FALSE(text.empty());
    tree_->writeText("media/kept.inf", text);
    std::vector<std::string> log;
    log_capture(&log);
    LevelData level;
    level.countdown_start = 77;
    EXPECT_EQ(level.load("kept.inf"), -1);
    log_capture(nullptr);
    EXPECT_TRUE(contains(log, c.logLine));
    EXPECT_EQ(level.countdown_start, 77);  // nothing of the file was taken
  }
}

TEST_F(FuzzRegressionTest, ARefusedLevelStopsTheGameWithTheMissingLevelMessage) {
  testing::GTEST_FLAG(death_test_style) = "threadsafe";
  tree_->writeText("media/level1.inf", keptInput("level", "enemy-at-int-max.inf"));
  EXPECT_EXIT(
      {
        Game game(640, 480, 100);
        game.startLevel("level1.inf");
      },
      testing::ExitedWithCode(1), "Error loading \"level1.inf\"");
}

TEST_F(FuzzRegressionTest, ScoresPastTheIntRangeStayAtItsTop) {
  // 3000 stacked tiles of a million points each under the start: one tick
  // claims them all, 3 billion points.
  tree_->writeText("media/kept.inf", keptInput("level", "stacked-million-point-tiles.inf"));
  Game game(640, 480, 100);
  game.startLevel("kept.inf");
  game.beginLife();
  ASSERT_EQ(game.floorManager.tilesLeft(), 3001);
  EXPECT_FALSE(game.tick());
  EXPECT_EQ(game.floorManager.tilesLeft(), 1);
  EXPECT_EQ(game.player.score, INT_MAX);
  // A new life claims them again: the score stays at the top, never wraps.
  game.beginLife();
  EXPECT_FALSE(game.tick());
  EXPECT_EQ(game.player.score, INT_MAX);
}

TEST_F(FuzzRegressionTest, PlayerSizesBeyondAMillionAreRefusedAndStopTheGame) {
  struct Case {
    const char* file;
    const char* logLine;
  };
  const Case cases[] = {
      {"height-int-max.inf", "Player size 18 x 2147483647 is outside -1000000 to 1000000."},
      {"height-int-min.inf", "Player size 18 x -2147483648 is outside -1000000 to 1000000."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    tree_->writeText("media/player.inf", keptInput("player", c.file));
    std::vector<std::string> log;
    log_capture(&log);
    Player player;
    EXPECT_EQ(player.load(), -1);
    log_capture(nullptr);
    EXPECT_TRUE(contains(log, c.logLine));
  }
  testing::GTEST_FLAG(death_test_style) = "threadsafe";
  EXPECT_EXIT(Game(640, 480, 100), testing::ExitedWithCode(1), "Error loading player.inf");
}

TEST_F(FuzzRegressionTest, HugePlayerSpeedsSendThePlayerFarOffButPlayOn) {
  tree_->writeText("media/player.inf", keptInput("player", "speeds-1e38.inf"));
  Game game(640, 480, 100);
  ASSERT_EQ(game.player.walkSpeed, 1e38f);
  game.startLevel("level1.inf");
  game.beginLife();
  game.inputSource.inputFromDevices = false;
  game.input.hold(game.keyRight);
  EXPECT_FALSE(game.tick());
  game.input.releaseAll();
  EXPECT_EQ(game.player.x, game.level.start_x + 1e38f);
  // Far beyond any screen the pixel pins to a billion.
  EXPECT_EQ(toPixel(game.player.x), 1000000000);
  // With nothing below, it falls 1e38 a tick until the countdown ends the life.
  for (int i = 0; i < 20; ++i) ASSERT_FALSE(game.tick());
  EXPECT_TRUE(game.player.falling);
  BitmapPtr target(create_bitmap(640, 480));
  game.player.draw(target.get());
}

TEST_F(FuzzRegressionTest, MechanicsBeyondAMillionKeepTheirDefaults) {
  for (const char* file : {"mechanics-int-min.cfg", "mechanics-int-max.cfg"}) {
    SCOPED_TRACE(file);
    tree_->writeText("media/pwe.cfg", keptInput("config", file));
    set_config_file("media/pwe.cfg");
    std::vector<std::string> log;
    log_capture(&log);
    Game game(640, 480, 100);
    log_capture(nullptr);
    EXPECT_EQ(game.teleportCooldown, 200);
    EXPECT_EQ(game.chuteTolerance, 14);
    EXPECT_EQ(game.ladderHorizontalTolerance, 6);
    EXPECT_EQ(game.ladderVerticalTolerance, 2);
    const std::string value =
        std::string(file) == "mechanics-int-min.cfg" ? "-2147483648" : "2147483647";
    EXPECT_TRUE(contains(log, "Mechanics value " + value +
                                  " for \"ladder_vert_tol\" is outside -1000000 to 1000000; "
                                  "using 2."));
    // The player walks to and climbs what the first level holds.
    game.startLevel("level1.inf");
    game.beginLife();
    game.inputSource.inputFromDevices = false;
    for (int i = 0; i < 200; ++i) {
      game.input.releaseAll();
      game.input.hold(i % 40 < 20 ? game.keyRight : game.keyUp);
      if (game.tick()) break;
    }
  }
}

TEST_F(FuzzRegressionTest, AConfigurationThatAllegroCouldNotMeasureStopsInsteadOfHanging) {
  // Selecting it used to never return: Allegro loops measuring the
  // character that its first six bytes decode to.
  tree_->writeText("media/pwe.cfg", keptInput("config", "unmeasurable-character.cfg"));
  testing::GTEST_FLAG(death_test_style) = "threadsafe";
  EXPECT_EXIT(selectConfiguration("media/pwe.cfg"), testing::ExitedWithCode(1),
              "Error reading media/pwe.cfg: byte 0 starts a character that cannot be read\\.");

  // Text in UTF-8 or Latin-1 is read as before; so is a lone high byte.
  const struct {
    const char* comment;
    int refusedAt;  // -1: the file is selected and read
  } cases[] = {
      {"# caf\xc3\xa9 in UTF-8\n", -1},
      {"# caf\xe9 in Latin-1\n", -1},
      {"# \xff\xfe\xfd alone\n", -1},
      {"# \xfc\xbf\xbf\xbf\xbf\xbf is measured\n", -1},
      {"# \xfd\x80\n", 2},
      {"# \xfe\xbf\n", 2},
      {"#x\xff\x80\n", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.comment);
    tree_->writeText("media/pwe.cfg", std::string(c.comment) + "[display]\nwidth = 800\n");
    if (c.refusedAt < 0) {
      selectConfiguration("media/pwe.cfg");
      EXPECT_EQ(get_config_int("display", "width", 640), 800);
    } else {
      EXPECT_EXIT(selectConfiguration("media/pwe.cfg"), testing::ExitedWithCode(1),
                  "byte " + std::to_string(c.refusedAt) + " starts a character");
    }
  }
  tree_->remove("media/pwe.cfg");
  selectConfiguration("media/pwe.cfg");  // missing: no error, defaults
  EXPECT_EQ(get_config_int("display", "width", 640), 640);
}

TEST_F(FuzzRegressionTest, ATileAboveTheScreenIsStoodOnAndClaimed) {
  tree_->writeText("media/kept.inf", keptInput("level", "tile-above-the-screen.inf"));
  Game game(640, 480, 100);
  game.startLevel("kept.inf");
  game.beginLife();
  EXPECT_TRUE(game.floorManager.isOnFloor(100.0f, -145.0f));
  EXPECT_FALSE(game.tick());
  EXPECT_EQ(game.player.score, 10);
  EXPECT_EQ(game.floorManager.tilesLeft(), 1);
}

TEST_F(FuzzRegressionTest, FrameDirectoriesThatAreNotUtf8AreRefused) {
  // Allegro's file routines read past the end of such a name.
  testing::GTEST_FLAG(death_test_style) = "threadsafe";
  const std::string dir = playerAnimDir;
  tree_->writeText(dir + "kept.anm", keptInput("animation", "frame-directory-not-utf8.anm"));
  EXPECT_EXIT(Animation(dir, "kept"), testing::ExitedWithCode(1),
              "Error reading media/gfx/anim/player/kept.anm: the frame directory is not UTF-8 "
              "text\\.");
  for (const char* name : {"w\xe9lk", "w\xc3", "w\x80", "w\xf5\x80\x80\x80"}) {
    SCOPED_TRACE(name);
    tree_->writeText(dir + "kept.anm", std::string(name) + " 1 4\n");
    EXPECT_EXIT(Animation(dir, "kept"), testing::ExitedWithCode(1), "is not UTF-8 text");
  }
  // A frame directory in UTF-8 outside ASCII loads.
  const std::string unicodeDir = "w\xc3\xa4lk\xe2\x86\x92";
  fs::copy(fs::path(dir) / "walk_left", fs::path(dir) / unicodeDir);
  tree_->writeText(dir + "kept.anm", unicodeDir + " 1 4\n");
  Animation loaded(dir, "kept");
  EXPECT_EQ(loaded.frameCount(), 1);
  EXPECT_NE(loaded.currentFrame(), nullptr);
}

// Every kept picture crashed or corrupted memory in the PNG loader; as an
// element image it now stops the game with the directory's usual text.
TEST_F(FuzzRegressionTest, PicturesThatCrashedTheLoaderStopTheGameInstead) {
  testing::GTEST_FLAG(death_test_style) = "threadsafe";
  const fs::path kept = sourceRoot() / "fuzz" / "regressions" / "image";
  int count = 0;
  for (const auto& entry : fs::directory_iterator(kept)) {
    SCOPED_TRACE(entry.path().filename().string());
    ++count;
    const std::string path = std::string(staticGfxDir) + "items/gem.png";
    tree_->writeText(path, keptInput("image", entry.path().filename().string()));
    EXPECT_FALSE(ImageFile::inspect(path).loadable());
    EXPECT_EXIT(Game(640, 480, 100), testing::ExitedWithCode(1),
                "Error loading \"media/gfx/static/items/gem\\.png\"\\.");
  }
  EXPECT_GT(count, 0);
}

// Every kept sound made Allegro ask for an allocation the size of its
// address space; as a game sound it now stops the game with the sound's
// usual text.
TEST_F(FuzzRegressionTest, SoundsThatAskedForEndlessMemoryStopTheGameInstead) {
  testing::GTEST_FLAG(death_test_style) = "threadsafe";
  const fs::path kept = sourceRoot() / "fuzz" / "regressions" / "sound";
  int count = 0;
  for (const auto& entry : fs::directory_iterator(kept)) {
    SCOPED_TRACE(entry.path().filename().string());
    ++count;
    const std::string path = std::string(audioDir) + "jump.wav";
    tree_->writeText(path, keptInput("sound", entry.path().filename().string()));
    EXPECT_FALSE(SoundFile::inspect(path).loadable());
    EXPECT_EXIT(Game(640, 480, 100), testing::ExitedWithCode(1),
                "Error loading media/audio/jump\\.wav\\.");
  }
  EXPECT_GT(count, 0);
}

TEST(PixelTest, PositionsBeyondABillionPinAndNaNReadsAsZero) {
  const struct {
    float position;
    int pixel;
  } cases[] = {{9.9f, 9},           {-0.5f, 0},          {-9.9f, -9},
               {1e9f, 1000000000},  {3e9f, 1000000000},  {1e38f, 1000000000},
               {INFINITY, 1000000000}, {-1e38f, -1000000000}, {-INFINITY, -1000000000},
               {NAN, 0}};
  for (const auto& c : cases) EXPECT_EQ(toPixel(c.position), c.pixel) << c.position;
}

}  // namespace
