#include "structures/Chute.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "graphics/Resources.h"
#include "shell/Log.h"
#include "structures/ChuteManager.h"
#include "tests/support/Headless.h"

namespace {

int background() { return makeacol32(0, 0, 90, 255); }
int transparent() { return makeacol32(255, 0, 255, 0); }

// A 16 x 16 step graphic whose every pixel has its own colour, so a
// composed pixel tells which pixel of the step it shows.
class ChuteTest : public testing::Test {
 protected:
  void SetUp() override {
    tree_.writePng("media/gfx/static/chutes/step.png", 16, 16, [](int x, int y) {
      return makeacol32(8 * x + 4, 8 * y + 4, 200, 255);
    });
    log_capture(&log_);
    chutes_ = std::make_unique<ChuteManager>(14);
  }
  void TearDown() override { log_capture(nullptr); }

  Chute chute(int x, int y, int height, int dx, int direction,
              const std::string& name = "step") const {
    Chute c;
    c.x = x;
    c.y = y;
    c.height = height;
    c.dx = dx;
    c.direction = direction;
    c.name = name;
    c.image_index = chutes_->findImage("step");
    c.graphic = chutes_->image(c.image_index);
    return c;
  }
  BITMAP* step() const { return chutes_->image(chutes_->findImage("step")); }
  int stepPixel(int x, int y) const { return getpixel(step(), x, y); }
  bool logged(const std::string& line) const {
    return std::find(log_.begin(), log_.end(), line) != log_.end();
  }

  MediaTree tree_;
  std::vector<std::string> log_;
  std::unique_ptr<ChuteManager> chutes_;
};

TEST_F(ChuteTest, ConstructionLogsAroundTheImageSet) {
  ASSERT_FALSE(log_.empty());
  EXPECT_EQ(log_.front(), "Initializing chute manager.");
  EXPECT_EQ(log_.back(), "Chute Manager initialized successfully");
  EXPECT_TRUE(logged("All chute images successfully loaded."));
}

// One point of a built image: which step pixel it shows, or -1 for the
// transparent background.
struct Probe {
  int x, y;
  int stepX, stepY;
};

TEST_F(ChuteTest, BuildsTheStepsDownAndSidewaysInEitherDirection) {
  struct Case {
    int height, dx, direction;
    int width;
    std::vector<Probe> probes;
  } cases[] = {
      // Steps at columns 0, 16, 32, 48; the fifth lies below the image.
      {64, 16, 1, 64,
       {{0, 0, 0, 0}, {15, 15, 15, 15}, {16, 16, 0, 0}, {40, 37, 8, 5}, {63, 63, 15, 15},
        {16, 0, -1, -1}, {0, 16, -1, -1}, {63, 0, -1, -1}, {0, 63, -1, -1}}},
      // Running left the steps go from column 48 down to 0.
      {64, 16, 0, 64,
       {{48, 0, 0, 0}, {63, 15, 15, 15}, {32, 16, 0, 0}, {0, 48, 0, 0}, {15, 63, 15, 15},
        {0, 0, -1, -1}, {63, 63, -1, -1}, {47, 0, -1, -1}}},
      // The fifth step covers rows 64..69 but lies wholly beside the image.
      {70, 16, 1, 64,
       {{48, 48, 0, 0}, {63, 63, 15, 15}, {63, 64, -1, -1}, {63, 69, -1, -1}, {0, 69, -1, -1}}},
      {70, 16, 0, 64, {{0, 63, 0, 15}, {0, 64, -1, -1}, {63, 69, -1, -1}}},
      // Overlapping steps, and an 8 x 6 piece of the fifth in the corner the
      // chute runs to.
      {70, 8, 1, 40,
       {{0, 0, 0, 0}, {8, 16, 0, 0}, {7, 16, -1, -1}, {32, 64, 0, 0}, {39, 69, 7, 5},
        {31, 69, -1, -1}, {39, 48, 15, 0}}},
      {70, 8, 0, 40,
       {{24, 0, 0, 0}, {39, 15, 15, 15}, {0, 64, 8, 0}, {7, 69, 15, 5}, {8, 64, -1, -1},
        {39, 69, -1, -1}}},
      // Shorter than a step: one step, cut at the bottom.
      {10, 16, 1, 16, {{0, 0, 0, 0}, {15, 9, 15, 9}}},
      {10, 16, 0, 16, {{0, 0, 0, 0}, {15, 9, 15, 9}}},
  };
  for (const Case& c : cases) {
    chutes_->clear();
    chutes_->add(chute(100, 50, c.height, c.dx, c.direction));
    ASSERT_EQ(chutes_->createImages(), 0);
    const Chute& built = chutes_->chutes()[0];
    SCOPED_TRACE(testing::Message() << "height " << c.height << " dx " << c.dx << " direction "
                                    << c.direction);
    EXPECT_EQ(built.width, c.width);
    EXPECT_EQ(built.dy, 16);
    ASSERT_TRUE(built.image);
    EXPECT_EQ(built.image->w, c.width);
    EXPECT_EQ(built.image->h, c.height);
    for (const Probe& p : c.probes) {
      int expected = p.stepX < 0 ? transparent() : stepPixel(p.stepX, p.stepY);
      EXPECT_EQ(getpixel(built.image.get(), p.x, p.y), expected) << "at " << p.x << ", " << p.y;
    }
  }
}

TEST_F(ChuteTest, CreatingImagesLogsEachChute) {
  chutes_->add(chute(0, 0, 32, 8, 1));
  chutes_->add(chute(40, 0, 48, 8, 0));
  log_.clear();
  ASSERT_EQ(chutes_->createImages(), 0);
  EXPECT_EQ(log_, (std::vector<std::string>{"Creating images for 2 chutes.",
                                            "Chute image 0 created.", "Chute image 1 created.",
                                            "All chute images created."}));
}

// Whichever way a chute runs, its top step is drawn at x; a left-running
// chute reaches out to the left of x.
TEST_F(ChuteTest, DrawsTheTopStepAtXInBothDirections) {
  struct Case {
    int direction, dx;
    int lowestStepX;  // screen column of the lowest step
  } cases[] = {{1, 16, 148}, {0, 16, 52}, {7, 16, 148},
               // A negative shift turns the chute round, following the slide.
               {1, -16, 52}, {0, -16, 148}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "direction " << c.direction << " dx " << c.dx);
    chutes_->clear();
    chutes_->add(chute(100, 20, 64, c.dx, c.direction));
    ASSERT_EQ(chutes_->createImages(), 0);
    BitmapPtr target(create_bitmap(240, 120));
    clear_to_color(target.get(), background());
    chutes_->draw(target.get());
    EXPECT_EQ(getpixel(target.get(), 100, 20), stepPixel(0, 0));
    EXPECT_EQ(getpixel(target.get(), 115, 35), stepPixel(15, 15));
    EXPECT_EQ(getpixel(target.get(), c.lowestStepX, 68), stepPixel(0, 0));
    EXPECT_EQ(getpixel(target.get(), c.lowestStepX + 15, 83), stepPixel(15, 15));
    // The background between the steps stays as it was.
    EXPECT_EQ(getpixel(target.get(), 100, 36), background());
    EXPECT_EQ(getpixel(target.get(), 99, 20), background());
    EXPECT_EQ(getpixel(target.get(), 116, 20), background());
    EXPECT_EQ(getpixel(target.get(), c.lowestStepX, 84), background());
  }
}

TEST_F(ChuteTest, TheEntryBandLiesTheToleranceLeftOfTheTopStep) {
  struct Case {
    float px, py;
    bool atEntry;
  } cases[] = {
      {86, 49, true},    {102, 49, true},  {94, 49, true},    {85, 49, false},
      {103, 49, false},  {85.9f, 49, false}, {102.9f, 49, true}, {94, 48, false},
      {94, 50, false},   {94, 49.5f, true},
  };
  for (int direction : {0, 1}) {
    Chute c = chute(100, 50, 64, 16, direction);
    for (const Case& k : cases) {
      EXPECT_EQ(c.isAtEntry(k.px, k.py, 14), k.atEntry)
          << k.px << ", " << k.py << " direction " << direction;
    }
  }
}

TEST_F(ChuteTest, EntryAtReturnsTheFirstPlacedAndLogsOnlyChanges) {
  chutes_->add(chute(100, 50, 64, 16, 1, "first"));
  chutes_->add(chute(100, 50, 32, 8, 0, "second"));
  chutes_->add(chute(300, 80, 32, 8, 0, "third"));
  ASSERT_EQ(chutes_->createImages(), 0);
  log_.clear();

  Chute out;
  ASSERT_TRUE(chutes_->entryAt(90, 49, out));
  EXPECT_EQ(out.name, "first");
  EXPECT_EQ(out.width, 64);
  EXPECT_EQ(out.dy, 16);
  EXPECT_EQ(out.image.get(), chutes_->chutes()[0].image.get());
  ASSERT_TRUE(chutes_->entryAt(95.25f, 49.5f, out));
  EXPECT_EQ(out.name, "first");

  out.name = "untouched";
  EXPECT_FALSE(chutes_->entryAt(90, 50, out));
  EXPECT_EQ(out.name, "untouched");
  ASSERT_TRUE(chutes_->entryAt(290.5f, 79, out));
  EXPECT_EQ(out.name, "third");
  EXPECT_EQ(log_, (std::vector<std::string>{"Player now on chute 0 @ 90.000, 49.000.",
                                            "Player now on chute 2 @ 290.500, 79.000."}));
}

TEST_F(ChuteTest, AKeptCopyOutlivesClearsAndRebuilds) {
  Chute kept;
  for (int life = 0; life < 30; ++life) {
    chutes_->clear();
    chutes_->add(chute(100, 50, 64, 16, 1));
    ASSERT_EQ(chutes_->createImages(), 0);
    if (life == 0) {
      ASSERT_TRUE(chutes_->entryAt(90, 49, kept));
    }
  }
  chutes_->clear();
  ASSERT_TRUE(kept.image);
  EXPECT_EQ(getpixel(kept.image.get(), 63, 63), stepPixel(15, 15));
  EXPECT_EQ(getpixel(kept.image.get(), 0, 63), transparent());
}

// A chute with no rows has nothing to show: no image, no error, nothing
// drawn, and the chutes after it are still built. Its entry is still where
// the level puts it.
TEST_F(ChuteTest, AChuteOfNoHeightHasNoImage) {
  chutes_->add(chute(10, 10, 0, 16, 1));
  chutes_->add(chute(40, 10, -40, 16, 0));
  chutes_->add(chute(70, 10, -40, -16, 1));
  chutes_->add(chute(150, 10, 16, 8, 1));
  log_.clear();
  ASSERT_EQ(chutes_->createImages(), 0);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(chutes_->chutes()[i].image) << i;
  ASSERT_TRUE(chutes_->chutes()[3].image);
  EXPECT_FALSE(logged("Error creating image for chute."));
  EXPECT_TRUE(logged("All chute images created."));

  BitmapPtr target(create_bitmap(200, 100));
  clear_to_color(target.get(), background());
  chutes_->draw(target.get());
  for (int x = 0; x < 150; ++x) {
    for (int y = 0; y < 100; ++y) ASSERT_EQ(getpixel(target.get(), x, y), background());
  }
  EXPECT_EQ(getpixel(target.get(), 150, 10), stepPixel(0, 0));
  Chute out;
  EXPECT_TRUE(chutes_->entryAt(5, 9, out));
  EXPECT_EQ(out.height, 0);
}

TEST_F(ChuteTest, AnImageTooLargeToCreateFailsAndStopsTheBuilding) {
  chutes_->add(chute(0, 0, 32, 8, 1));
  chutes_->add(chute(40, 0, 40000000, 0, 1));  // 16 x 40000000 x 4 bytes: more than a bitmap holds
  chutes_->add(chute(80, 0, 32, 8, 1));
  log_.clear();
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(chutes_->createImages(), -1);
  std::string shown = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
  EXPECT_NE(shown.find("Error creating image for chute."), std::string::npos) << shown;
  EXPECT_EQ(log_, (std::vector<std::string>{"Creating images for 3 chutes.",
                                            "Chute image 0 created.",
                                            "Error creating image for chute."}));
  EXPECT_TRUE(chutes_->chutes()[0].image);
  EXPECT_FALSE(chutes_->chutes()[2].image);
  // Only a built chute has its step height; the failed one and those after
  // it keep the one they were added with.
  const int dys[] = {16, 0, 0};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(chutes_->chutes()[i].dy, dys[i]) << i;
}

}  // namespace
