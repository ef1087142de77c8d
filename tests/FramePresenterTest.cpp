// The display after every frame of every shipped level's replay, at scale 1
// and at scale 3 centred on a larger display, against the whole frame
// copied with each game pixel as a block; the pause card and its removal;
// where a picture is placed on a display.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "game/Game.h"
#include "presentation/FramePresenter.h"
#include "tests/support/Headless.h"
#include "tests/support/Replay.h"

namespace fs = std::filesystem;

namespace {

TEST(FitPicture, TakesTheLargestWholeScaleAndCentres) {
  struct Case {
    int width, height, displayWidth, displayHeight;
    int scale, left, top;
  } cases[] = {
      {640, 480, 640, 480, 1, 0, 0},      // exactly the window
      {640, 480, 1920, 1440, 3, 0, 0},    // a window three times the size
      {640, 480, 1920, 1080, 2, 320, 60}, // wide desktop: height limits
      {640, 480, 1279, 959, 1, 319, 239}, // one pixel short of double
      {640, 480, 320, 240, 1, 0, 0},      // too small: top-left, unscaled
      {0, 480, 1920, 1440, 1, 0, 0},      // no picture
  };
  for (const Case& c : cases) {
    const PictureLayout layout = fitPicture(c.width, c.height, c.displayWidth, c.displayHeight);
    EXPECT_EQ(layout.scale, c.scale) << c.displayWidth << "x" << c.displayHeight;
    EXPECT_EQ(layout.left, c.left) << c.displayWidth << "x" << c.displayHeight;
    EXPECT_EQ(layout.top, c.top) << c.displayWidth << "x" << c.displayHeight;
  }
}

// Two small changes on a frame: close ones go to the display as one block,
// far ones as two, and either way the display ends equal to the frame.
TEST(ShownBlocks, ChangesCloseTogetherGoAsOneBlock) {
  struct Case {
    const char* what;
    int scale, secondX, secondY;
    long long blocks;
  } cases[] = {
      {"side by side", 1, 110, 100, 1},
      {"a few rows apart", 1, 100, 140, 1},
      {"across the frame", 1, 500, 400, 2},
      {"as far apart, scaled", 3, 100, 140, 2},
      {"side by side, scaled", 3, 110, 100, 1},
  };
  ensureHeadlessAllegro();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BitmapPtr frame(create_bitmap_ex(32, 640, 480));
    BitmapPtr display(create_bitmap_ex(32, 640 * c.scale, 480 * c.scale));
    clear_to_color(frame.get(), makecol32(20, 40, 60));
    FramePresenter presenter;
    presenter.setLayout(PictureLayout{c.scale, 0, 0});
    presenter.show(frame.get(), display.get());
    const long long before = presenter.blocksSent();

    rectfill(frame.get(), 100, 100, 107, 107, makecol32(250, 0, 0));
    rectfill(frame.get(), c.secondX, c.secondY, c.secondX + 7, c.secondY + 7,
             makecol32(0, 250, 0));
    presenter.touch(100, 100, 8, 8);
    presenter.touch(c.secondX, c.secondY, 8, 8);
    presenter.show(frame.get(), display.get());
    EXPECT_EQ(presenter.blocksSent() - before, c.blocks);
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) {
        if (getpixel(display.get(), x * c.scale, y * c.scale) != getpixel(frame.get(), x, y)) {
          ADD_FAILURE() << "display differs at " << x << "," << y;
          y = 480;
          break;
        }
      }
    }
  }
}

class ShownFrames : public ::testing::Test {
 protected:
  void SetUp() override {
    source = tree.copyShippedMedia();
    ASSERT_FALSE(source.empty()) << "PWE_SOURCE_DIR must name the repository root";
    game = std::make_unique<Game>(640, 480, 100);
  }
  void TearDown() override {
    if (game) releaseAllKeys(*game);
    game.reset();
  }

  // A display for the picture at this layout, filled with a colour no
  // frame holds, so a block never sent is seen.
  void useDisplay(const PictureLayout& layout, int width, int height) {
    display.reset(create_bitmap(width, height));
    clear_to_color(display.get(), makecol(1, 2, 3));
    game->output.display = display.get();
    game->output.presenter.setLayout(layout);
  }

  // Where the display differs from the whole frame shown as blocks, with
  // black around it, or empty when it does not. Each frame row is widened
  // once and compared with the scale display rows that show it.
  std::string compareDisplay() {
    const PictureLayout& layout = game->output.presenter.layout();
    BITMAP* frame = game->buffer.get();
    const int s = layout.scale;
    std::vector<uint32_t> expected(static_cast<size_t>(display->w), 0u);
    const std::vector<uint32_t> black(expected.size(), 0u);
    for (int y = 0; y < display->h; ++y) {
      const int row = y - layout.top;
      const bool inside = row >= 0 && row < 480 * s;
      if (inside && row % s == 0) {
        const uint32_t* from = reinterpret_cast<uint32_t*>(frame->line[row / s]);
        uint32_t* to = expected.data() + layout.left;
        for (int x = 0; x < 640; ++x) {
          for (int k = 0; k < s; ++k) *to++ = from[x];
        }
      }
      const uint32_t* want = inside ? expected.data() : black.data();
      if (std::memcmp(display->line[y], want, expected.size() * 4) != 0) {
        return "display row " + std::to_string(y) + " differs";
      }
    }
    return "";
  }

  std::vector<std::string> replayKeys(const std::string& level) {
    Replay replay;
    std::string error;
    const std::string path =
        source + "/tests/replays/" + level.substr(0, level.find('.')) + ".replay";
    std::vector<std::string> keys;
    if (!readReplay(path, replay, error) || !staleReplayReason(replay).empty()) return keys;
    for (int t = 0; t < replay.tickCount(); ++t) keys.push_back(replay.keysAt(t));
    return keys;
  }

  // Plays every shipped level's replay, comparing the display after each
  // frame; returns the number of frames shown.
  long playEveryReplay() {
    long frames = 0;
    for (const char* level : {"level1.inf", "level2.inf", "level3.inf", "level4.inf"}) {
      SCOPED_TRACE(level);
      game->startLevel(level);
      game->beginLife();
      game->drawFrame();
      EXPECT_EQ(compareDisplay(), "") << "first frame";
      const std::vector<std::string> keys = replayKeys(level);
      EXPECT_FALSE(keys.empty()) << "no usable replay";
      for (size_t t = 0; t < keys.size(); ++t) {
        applyKeys(*game, keys[t]);
        if (game->tick()) {
          if (game->levelDone) break;
          game->beginLife();
        }
        game->drawFrame();
        ++frames;
        const std::string difference = compareDisplay();
        if (!difference.empty()) {
          ADD_FAILURE() << "tick " << t << ": " << difference;
          return frames;
        }
      }
      EXPECT_TRUE(game->levelDone) << "the replay no longer clears the level";
      releaseAllKeys(*game);
    }
    return frames;
  }

  MediaTree tree;
  std::string source;
  std::unique_ptr<Game> game;
  BitmapPtr display;
};

TEST_F(ShownFrames, EveryReplayFrameAtScaleOneEqualsTheWholeFrame) {
  useDisplay(PictureLayout{}, 640, 480);
  const long frames = playEveryReplay();
  // Most frames change a few figures and panels: far less than a fifth
  // of what copying every whole frame would send.
  EXPECT_GT(frames, 10000);
  EXPECT_LT(game->output.presenter.pixelsSent(), frames * 640LL * 480LL / 5);
}

TEST_F(ShownFrames, EveryReplayFrameAtScaleThreeEqualsTheWholeFrameInBlocks) {
  useDisplay(PictureLayout{3, 7, 5}, 1920 + 14, 1440 + 10);
  playEveryReplay();
}

TEST_F(ShownFrames, AnOverlayShowsUntilTheNextFrameTakesItsPlace) {
  for (const PictureLayout& layout : {PictureLayout{}, PictureLayout{2, 3, 4}}) {
    SCOPED_TRACE(layout.scale);
    useDisplay(layout, 1290, 970);
    game->startLevel("level1.inf");
    game->beginLife();
    game->drawFrame();
    ASSERT_EQ(compareDisplay(), "");

    BitmapPtr card(create_bitmap(40, 20));
    clear_to_color(card.get(), makecol(200, 10, 90));
    game->output.presenter.overlay(card.get(), 300, 230, display.get());
    const int s = layout.scale;
    EXPECT_EQ(getpixel(display.get(), layout.left + 300 * s, layout.top + 230 * s),
              makecol(200, 10, 90));
    EXPECT_EQ(getpixel(display.get(), layout.left + 340 * s - 1, layout.top + 250 * s - 1),
              makecol(200, 10, 90));
    EXPECT_NE(compareDisplay(), "");
    // Nothing under the card changed, yet the next frame must cover it.
    game->drawFrame();
    EXPECT_EQ(compareDisplay(), "");
  }
}

}  // namespace
