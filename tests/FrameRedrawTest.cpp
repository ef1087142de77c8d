// Every frame shown against the same frame drawn whole from nothing, over
// many short lives of small levels: at each life start the enemies get
// fresh copies of their frames, which may land where the frames of the
// life before stood. And PWE_REDRAW_ALL, which shows every frame whole.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "game/Game.h"
#include "tests/support/EnemyMedia.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"

namespace {

// A kind "robot" beside GameTree's "blob": four animations of five 16 x 16
// frames, each frame a colour of its own. Its fresh copies at a life start
// take the addresses of the frames of the life before in other orders
// than the blob's two frames do.
void writeRobot(GameTree& tree) {
  const int frames = 5;
  const int sizes[frames] = {16, 16, 16, 16, 16};
  std::string names;
  for (int a = 0; a < 4; ++a) {
    int colours[frames];
    for (int f = 0; f < frames; ++f) colours[f] = makeacol(60 * a, 50 * f, 120, 255);
    const std::string name = "robot" + std::to_string(a);
    enemymedia::writeAnimation(tree, name, frames, sizes, sizes, colours);
    names += name + " ";
  }
  tree.writeText("media/gfx/anim/enemy/robot.nme", names);
}

// A floor at row 300 across the screen with the given enemies on it and a
// ladder (an image built afresh at each life start), the player standing
// well away from them.
std::string levelWith(const std::vector<std::string>& enemies) {
  LevelText level;
  for (int x = 0; x < 640; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 1 10");
  }
  level.ladders = {"580 236 64 rungs"};
  level.enemies = enemies;
  return level.str();
}

class FrameRedraw : public ::testing::Test {
 protected:
  void play(const std::string& levelText) {
    writeRobot(tree);
    tree.writeLevel("level1.inf", levelText);
    game = std::make_unique<Game>(640, 480, 100);
    shown.reset(create_bitmap(640, 480));
    whole.reset(create_bitmap(640, 480));
    game->output.display = shown.get();
    game->startLevel("level1.inf");
  }
  void TearDown() override { game.reset(); }

  // The frame the display shows against the frame drawn whole; the first
  // row that differs, or nothing.
  std::string shownAgainstWhole() {
    game->drawFrame();
    game->drawWholeFrame(whole.get());
    for (int y = 0; y < 480; ++y) {
      if (std::memcmp(shown->line[y], whole->line[y], 640 * 4) != 0) {
        return "row " + std::to_string(y) + " differs";
      }
    }
    return "";
  }

  // Lives of 1 to 17 ticks end with the enemies at every point of their
  // animations, the standing ones where the next life puts them again.
  // The first frame that differs, or nothing.
  std::string playLives() {
    for (int life = 0; life < 100; ++life) {
      game->beginLife();
      std::string difference = shownAgainstWhole();
      for (int t = 0; t < 1 + life % 17 && difference.empty(); ++t) {
        if (game->tick()) break;  // no frame follows the tick that ends a life
        difference = shownAgainstWhole();
        if (!difference.empty()) difference += " at tick " + std::to_string(t) + ",";
      }
      if (!difference.empty()) return difference + " life " + std::to_string(life);
    }
    return "";
  }

  GameTree tree;
  std::unique_ptr<Game> game;
  BitmapPtr shown;
  BitmapPtr whole;
};

// x y direction min_x max_x speed changes state name safe_time points
TEST_F(FrameRedraw, EveryFrameOfManyLivesEqualsTheWholeFrame) {
  const struct {
    const char* what;
    std::vector<std::string> enemies;
  } kinds[] = {
      {"standing", {"300 299 0 250 350 0 0 0 robot 0 10"}},
      {"standing, vulnerable", {"300 299 1 250 350 0 0 1 robot 0 10"}},
      {"standing side by side",
       {"250 299 0 200 300 0 0 0 robot 0 10", "350 299 1 300 400 0 0 0 robot 0 10"}},
      {"standing, two frames", {"300 299 0 250 350 0 0 0 blob 0 10"}},
      {"turning every step", {"300 299 1 300 302 5 0 0 blob 0 10"}},
      {"patrolling", {"300 299 0 280 320 1 0 0 robot 0 10"}},
      {"min_x equal to max_x", {"300 299 1 300 300 1 0 0 blob 0 10"}},
      {"min_x equal to max_x, standing", {"300 299 0 300 300 0 0 0 robot 0 10"}},
  };
  for (const auto& kind : kinds) {
    play(levelWith(kind.enemies));
    EXPECT_EQ(playLives(), "") << kind.what;
  }
}

// A change the kept frame cannot know of (pixels of the background drawn
// over behind its back) reaches the display only when every frame is
// drawn whole.
TEST_F(FrameRedraw, RedrawAllShowsWhatTheKeptFrameCannotKnow) {
  const struct {
    const char* value;  // nullptr: not set
    bool shownAtOnce;
  } cases[] = {{nullptr, false}, {"", false}, {"0", false}, {"1", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value ? std::string("PWE_REDRAW_ALL=\"") + c.value + "\"" : "unset");
    if (c.value) {
      setenv("PWE_REDRAW_ALL", c.value, 1);
    } else {
      unsetenv("PWE_REDRAW_ALL");
    }
    play(levelWith({"300 299 0 250 350 0 0 0 blob 0 10"}));
    unsetenv("PWE_REDRAW_ALL");
    game->beginLife();
    ASSERT_EQ(shownAgainstWhole(), "");
    rectfill(game->background.get(), 500, 100, 539, 139, makecol(250, 250, 250));
    EXPECT_EQ(shownAgainstWhole().empty(), c.shownAtOnce);
    EXPECT_EQ(getpixel(shown.get(), 520, 120) == makecol(250, 250, 250), c.shownAtOnce);
  }
}

}  // namespace
