#include "structures/Ladder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "graphics/Resources.h"
#include "shell/Log.h"
#include "structures/LadderManager.h"
#include "tests/support/Headless.h"

namespace {

int background() { return makeacol32(0, 0, 90, 255); }
int transparent() { return makeacol32(255, 0, 255, 0); }

// A 20 x 16 rung graphic whose every row has its own colour, with the
// left pixel of row 0 transparent, so each composed row tells which row of
// the graphic it came from.
class LadderTest : public testing::Test {
 protected:
  void SetUp() override {
    tree_.writePng("media/gfx/static/ladders/rungs.png", 20, 16, [](int x, int y) {
      return x == 0 && y == 0 ? transparent() : makeacol32(10 * y + 5, 100, 7, 255);
    });
    log_capture(&log_);
    ladders_ = std::make_unique<LadderManager>(4, 2);
  }
  void TearDown() override { log_capture(nullptr); }

  Ladder ladder(int x, int y, int height, const std::string& name = "rungs") const {
    Ladder l;
    l.x = x;
    l.y = y;
    l.height = height;
    l.name = name;
    l.image_index = ladders_->findImage("rungs");
    return l;
  }
  BITMAP* graphic() const { return ladders_->image(ladders_->findImage("rungs")); }
  bool logged(const std::string& line) const {
    return std::find(log_.begin(), log_.end(), line) != log_.end();
  }

  MediaTree tree_;
  std::vector<std::string> log_;
  std::unique_ptr<LadderManager> ladders_;
};

TEST_F(LadderTest, ConstructionLogsAroundTheImageSet) {
  ASSERT_FALSE(log_.empty());
  EXPECT_EQ(log_.front(), "Initializing ladder manager.");
  EXPECT_EQ(log_.back(), "Ladder manager successfully initialized.");
  EXPECT_TRUE(logged("All ladder images successfully loaded."));
  EXPECT_EQ(ladders_->findImage("Rungs"), -1);
}

TEST(LadderPosition, BandsWithHorizontalFourAndVerticalTwo) {
  Ladder l;
  l.x = 100;
  l.y = 200;
  l.width = 20;
  l.height = 50;  // rows 200..249
  struct Case {
    float px, py;
    bool on, top, bottom;
  } cases[] = {
      {104, 220, true, false, false},  {116, 220, true, false, false},
      {103, 220, false, false, false}, {117, 220, false, false, false},
      {103.9f, 220, false, false, false}, {116.9f, 220, true, false, false},
      {110, 196, false, false, false}, {110, 197, true, true, false},
      {110, 198, true, true, false},   {110, 199, true, true, false},
      {110, 199.9f, true, true, false}, {110, 200, true, false, false},
      {110, 246, true, false, false},  {110, 247, true, false, true},
      {110, 249, true, false, true},   {110, 250, false, false, false},
      {103, 197, false, false, false}, {117, 248, false, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(l.isOn(c.px, c.py, 4, 2), c.on) << c.px << ", " << c.py;
    EXPECT_EQ(l.isAtTop(c.px, c.py, 4, 2), c.top) << c.px << ", " << c.py;
    EXPECT_EQ(l.isAtBottom(c.px, c.py, 4, 2), c.bottom) << c.px << ", " << c.py;
  }
}

TEST(LadderPosition, ToleranceZeroUsesTheWholeWidthAndOneRowAbove) {
  Ladder l;
  l.x = -10;
  l.y = 0;
  l.width = 20;
  l.height = 10;
  EXPECT_TRUE(l.isOn(-10, 5, 0, 0));
  EXPECT_TRUE(l.isOn(10, 5, 0, 0));
  EXPECT_FALSE(l.isOn(11, 5, 0, 0));
  EXPECT_TRUE(l.isOn(-0.5f, -1, 0, 0));  // column 0, the row just above
  EXPECT_FALSE(l.isOn(0, -2, 0, 0));
  EXPECT_TRUE(l.isAtBottom(0, 9, 0, 0));
  EXPECT_FALSE(l.isAtBottom(0, 8, 0, 0));
}

// Rows of the built image must repeat the graphic's rows from the top down,
// the last copy cut by the bottom edge.
TEST_F(LadderTest, StacksTheGraphicDownToTheLadderHeight) {
  for (int height : {100, 96}) {
    ladders_->clear();
    ladders_->add(ladder(0, 0, height));
    ASSERT_EQ(ladders_->createImages(), 0);
    const Ladder& built = ladders_->ladders()[0];
    ASSERT_TRUE(built.image);
    EXPECT_EQ(built.width, 20);
    EXPECT_EQ(built.image->w, 20);
    EXPECT_EQ(built.image->h, height);
    const int rowsOfGraphic[][2] = {{0, 0}, {15, 15}, {16, 0}, {17, 1}, {80, 0}, {95, 15},
                                    {96, 0}, {99, 3}};
    for (const auto& row : rowsOfGraphic) {
      if (row[0] >= height) continue;
      EXPECT_EQ(getpixel(built.image.get(), 5, row[0]), getpixel(graphic(), 5, row[1]))
          << "height " << height << " row " << row[0];
      // Copied raw: the transparent pixel is kept for the masked drawing.
      EXPECT_EQ(getpixel(built.image.get(), 0, row[0]), getpixel(graphic(), 0, row[1]));
    }
  }
}

TEST_F(LadderTest, CreatingImagesLogsEachLadder) {
  ladders_->add(ladder(0, 0, 32));
  ladders_->add(ladder(40, 0, 48));
  log_.clear();
  ASSERT_EQ(ladders_->createImages(), 0);
  EXPECT_EQ(log_, (std::vector<std::string>{"Creating images for 2 ladders.",
                                            "Ladder image 0 created.", "Ladder image 1 created.",
                                            "All ladder images created."}));
}

TEST_F(LadderTest, DrawsEachLadderMaskedAtItsCorner) {
  ladders_->add(ladder(30, 40, 32));
  ASSERT_EQ(ladders_->createImages(), 0);
  BitmapPtr target(create_bitmap(100, 100));
  clear_to_color(target.get(), background());
  ladders_->draw(target.get());
  EXPECT_EQ(getpixel(target.get(), 30, 40), background());  // transparent pixel
  EXPECT_EQ(getpixel(target.get(), 31, 40), getpixel(graphic(), 1, 0));
  EXPECT_EQ(getpixel(target.get(), 30, 41), getpixel(graphic(), 0, 1));
  EXPECT_EQ(getpixel(target.get(), 30, 56), background());  // second copy's corner
  EXPECT_EQ(getpixel(target.get(), 49, 71), getpixel(graphic(), 19, 15));
  EXPECT_EQ(getpixel(target.get(), 50, 71), background());
  EXPECT_EQ(getpixel(target.get(), 49, 72), background());
}

TEST_F(LadderTest, LadderAtReturnsTheFirstPlacedAndLogsOnlyChanges) {
  ladders_->add(ladder(100, 200, 50, "first"));
  ladders_->add(ladder(105, 180, 100, "second"));
  ladders_->add(ladder(300, 200, 50, "third"));
  ASSERT_EQ(ladders_->createImages(), 0);
  log_.clear();

  Ladder out;
  ASSERT_TRUE(ladders_->ladderAt(110, 220, out));
  EXPECT_EQ(out.name, "first");
  EXPECT_EQ(out.width, 20);
  EXPECT_EQ(out.image.get(), ladders_->ladders()[0].image.get());
  ASSERT_TRUE(ladders_->ladderAt(112, 230, out));
  ASSERT_TRUE(ladders_->ladderAt(112, 190, out));  // only the second reaches up here
  EXPECT_EQ(out.name, "second");

  out.name = "untouched";
  EXPECT_FALSE(ladders_->ladderAt(200, 220, out));
  EXPECT_EQ(out.name, "untouched");
  ASSERT_TRUE(ladders_->ladderAt(112, 185, out));  // the miss did not forget ladder 1
  ASSERT_TRUE(ladders_->ladderAt(310, 220, out));
  EXPECT_EQ(out.name, "third");
  EXPECT_EQ(log_, (std::vector<std::string>{"Player now on ladder 0.", "Player now on ladder 1.",
                                            "Player now on ladder 2."}));
}

// The player keeps the ladder it found; a new life clears the list and
// builds new images, and the kept copy must still be readable.
TEST_F(LadderTest, AKeptCopyOutlivesClearsAndRebuilds) {
  Ladder kept;
  for (int life = 0; life < 30; ++life) {
    ladders_->clear();
    ladders_->add(ladder(100, 200, 40));
    ASSERT_EQ(ladders_->createImages(), 0);
    if (life == 0) {
      ASSERT_TRUE(ladders_->ladderAt(110, 220, kept));
    }
  }
  ladders_->clear();
  ASSERT_TRUE(kept.image);
  EXPECT_EQ(kept.image->h, 40);
  EXPECT_EQ(getpixel(kept.image.get(), 5, 39), getpixel(graphic(), 5, 7));
  EXPECT_EQ(getpixel(kept.image.get(), 5, 17), getpixel(graphic(), 5, 1));
}

// A ladder with no rows has nothing to show: no image, no error, nothing
// drawn, and the ladders after it are still built.
TEST_F(LadderTest, ALadderOfNoHeightHasNoImage) {
  ladders_->add(ladder(10, 10, 0));
  ladders_->add(ladder(40, 10, -25));
  ladders_->add(ladder(70, 10, 16));
  log_.clear();
  ASSERT_EQ(ladders_->createImages(), 0);
  EXPECT_FALSE(ladders_->ladders()[0].image);
  EXPECT_FALSE(ladders_->ladders()[1].image);
  ASSERT_TRUE(ladders_->ladders()[2].image);
  EXPECT_FALSE(logged("Error creating image for ladder."));
  EXPECT_TRUE(logged("All ladder images created."));

  BitmapPtr target(create_bitmap(100, 100));
  clear_to_color(target.get(), background());
  ladders_->draw(target.get());
  for (int x = 0; x < 60; ++x) {
    for (int y = 0; y < 40; ++y) ASSERT_EQ(getpixel(target.get(), x, y), background());
  }
  EXPECT_EQ(getpixel(target.get(), 75, 10), getpixel(graphic(), 5, 0));

  // Nothing to stand on below the top zone either.
  Ladder out;
  EXPECT_FALSE(ladders_->ladderAt(20, 10, out));
}

TEST_F(LadderTest, AnImageTooLargeToCreateFailsAndStopsTheBuilding) {
  ladders_->add(ladder(0, 0, 32));
  ladders_->add(ladder(40, 0, 40000000));  // 20 x 40000000 x 4 bytes: more than a bitmap holds
  ladders_->add(ladder(80, 0, 32));
  log_.clear();
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(ladders_->createImages(), -1);
  std::string shown = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
  EXPECT_NE(shown.find("Error creating image for ladder."), std::string::npos) << shown;
  EXPECT_EQ(log_, (std::vector<std::string>{"Creating images for 3 ladders.",
                                            "Ladder image 0 created.",
                                            "Error creating image for ladder."}));
  EXPECT_TRUE(ladders_->ladders()[0].image);
  EXPECT_FALSE(ladders_->ladders()[2].image);
}

}  // namespace
