#include "graphics/Animation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "shell/Log.h"
#include "tests/support/FileText.h"
#include "tests/support/Headless.h"

namespace {

const std::string base = "media/gfx/anim/player/";

// Frame i of a test animation is solid, with red 10 * i + 5: the red of the
// frame on show tells which file it came from.
void writeFrames(MediaTree& tree, const std::string& dir, int count, int size = 4) {
  for (int i = 0; i < count; ++i) {
    tree.writeSolidPng(base + dir + "/" + std::to_string(i) + ".png", size, size, 10 * i + 5, 100,
                       200);
  }
}

int redOnShow(const Animation& animation) {
  return getr32(getpixel(animation.currentFrame(), 0, 0));
}

// The frame index on show after each of `advances` advances.
std::vector<int> framesOverTicks(Animation& animation, int advances) {
  std::vector<int> shown;
  for (int i = 0; i < advances; ++i) {
    animation.advance();
    shown.push_back(animation.frameIndex());
  }
  return shown;
}

std::vector<int> pixelsOf(BITMAP* bitmap) {
  std::vector<int> pixels;
  for (int y = 0; y < bitmap->h; ++y) {
    for (int x = 0; x < bitmap->w; ++x) pixels.push_back(getpixel(bitmap, x, y));
  }
  return pixels;
}

TEST(Animation, TokensMayBeSplitOverLinesInAnyWay) {
  const char* texts[] = {
      "walk 3 3 1 2",
      "walk\n3\n3\n1\n2\n",
      "\n  walk\t\t3 \r\n\n 3\t1\r\n2",
      "walk 3 3 1 2 whatever follows is never read",
  };
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    MediaTree tree;
    writeFrames(tree, "walk", 3);
    tree.writeText(base + "walk.anm", text);
    Animation animation(base, "walk");
    ASSERT_EQ(animation.frameCount(), 3);
    EXPECT_EQ(animation.duration(0), 3);
    EXPECT_EQ(animation.duration(1), 1);
    EXPECT_EQ(animation.duration(2), 2);
  }
}

TEST(Animation, EachFrameStaysOnShowForItsDuration) {
  struct Case {
    const char* anm;
    std::vector<int> shown;  // frame on show after advances 1, 2, ...
  };
  const Case cases[] = {
      {"walk 3 3 1 2", {0, 0, 1, 2, 2, 0, 0, 0, 1, 2, 2, 0}},
      // A duration of 0 or less still shows its frame for one advance.
      {"walk 3 0 -4 2", {1, 2, 2, 0, 1, 2, 2, 0}},
      {"walk 1 5", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"walk 1 0", {0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.anm);
    MediaTree tree;
    writeFrames(tree, "walk", 3);
    tree.writeText(base + "walk.anm", c.anm);
    Animation animation(base, "walk");
    EXPECT_EQ(animation.frameIndex(), 0);
    EXPECT_EQ(animation.frameTicks(), 0);
    EXPECT_EQ(framesOverTicks(animation, static_cast<int>(c.shown.size())), c.shown);
  }
}

TEST(Animation, FramesComeFromTheirNumberedFilesInTheNamedDirectory) {
  MediaTree tree;
  // Eleven frames: frame 10 is 10.png, after 9.png; 11.png and 12.png lie
  // there too but are not part of the animation.
  writeFrames(tree, "shared", 13);
  tree.writeText(base + "fast.anm", "shared 11 1 1 1 1 1 1 1 1 1 1 1");
  tree.writeText(base + "slow.anm", "shared 2 5 5");
  Animation fast(base, "fast");
  Animation slow(base, "slow");
  ASSERT_EQ(fast.frameCount(), 11);
  std::vector<int> reds{redOnShow(fast)};
  for (int i = 0; i < 11; ++i) {
    fast.advance();
    reds.push_back(redOnShow(fast));
  }
  EXPECT_EQ(reds, (std::vector<int>{5, 15, 25, 35, 45, 55, 65, 75, 85, 95, 105, 5}));
  EXPECT_EQ(slow.frameCount(), 2);
  EXPECT_EQ(redOnShow(slow), 5);
}

TEST(Animation, LogsItsProgress) {
  MediaTree tree;
  writeFrames(tree, "walking", 2);
  tree.writeText(base + "walk.anm", "walking 2 6 6");
  std::vector<std::string> lines;
  log_capture(&lines);
  Animation animation(base, "walk");
  log_capture(nullptr);
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "Reading walk.anm",
                       "Loading 2 frames from media/gfx/anim/player/walking directory",
                       "Frame 0 loaded.", "Frame 1 loaded."}));
}

TEST(Animation, DrawBlendsByEachPixelsAlphaAndDoesNotAdvance) {
  MediaTree tree;
  // Left column transparent, middle half-opaque, right column opaque red.
  tree.writePng(base + "blink/0.png", 3, 1, [](int x, int) {
    return x == 0 ? makeacol32(255, 0, 0, 0) : makeacol32(255, 0, 0, x == 1 ? 128 : 255);
  });
  tree.writeText(base + "blink.anm", "blink 1 1");
  Animation animation(base, "blink");
  BITMAP* target = create_bitmap_ex(32, 5, 3);
  clear_to_color(target, makecol32(0, 0, 255));
  animation.draw(target, 1, 2);
  EXPECT_EQ(getpixel(target, 1, 2) & 0xFFFFFF, makecol32(0, 0, 255) & 0xFFFFFF);
  int blended = getpixel(target, 2, 2);
  EXPECT_GT(getr32(blended), 100);
  EXPECT_GT(getb32(blended), 100);
  EXPECT_EQ(getpixel(target, 3, 2) & 0xFFFFFF, makecol32(255, 0, 0) & 0xFFFFFF);
  EXPECT_EQ(getpixel(target, 1, 1) & 0xFFFFFF, makecol32(0, 0, 255) & 0xFFFFFF);
  EXPECT_EQ(animation.frameTicks(), 0);
  destroy_bitmap(target);

  Animation empty;
  EXPECT_EQ(empty.currentFrame(), nullptr);
}

// Pixels a copy must keep exactly: opaque, the mask colour itself, magenta
// that is opaque, alpha 0 in another colour, and soft edges.
int mixedPixel(int x, int y) {
  switch ((x + 3 * y) % 5) {
    case 0: return makeacol32(255, 0, 255, 0);
    case 1: return makeacol32(255, 0, 255, 255);
    case 2: return makeacol32(10, 20, 30, 0);
    case 3: return makeacol32(40, 50, 60, 77);
    default: return makeacol32(x * 20, y * 20, 99, 255);
  }
}

class AnimationCopy : public testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 4; ++i) {
      tree.writePng(base + "run/" + std::to_string(i) + ".png", 5 + i, 6,
                    [i](int x, int y) { return mixedPixel(x + i, y); });
    }
    tree.writeText(base + "run.anm", "run 4 2 2 3 2");
    source = std::make_unique<Animation>(base, "run");
    // Frame 2 on show with one tick spent.
    for (int i = 0; i < 5; ++i) source->advance();
  }
  MediaTree tree;
  std::unique_ptr<Animation> source;
};

TEST_F(AnimationCopy, ContinuesAtTheSamePointThenRunsOnItsOwn) {
  ASSERT_EQ(source->frameIndex(), 2);
  ASSERT_EQ(source->frameTicks(), 1);
  Animation copy(*source);
  EXPECT_EQ(copy.frameCount(), 4);
  EXPECT_EQ(copy.frameIndex(), 2);
  EXPECT_EQ(copy.frameTicks(), 1);
  EXPECT_EQ(copy.duration(2), 3);
  EXPECT_EQ(framesOverTicks(copy, 4), (std::vector<int>{2, 3, 3, 0}));
  EXPECT_EQ(source->frameIndex(), 2);
  EXPECT_EQ(source->frameTicks(), 1);
}

// Moving hands the frames over at the same point; what is left behind is
// an empty animation that advancing and drawing leave alone.
TEST_F(AnimationCopy, MovingLeavesAnEmptyAnimationBehind) {
  BitmapPtr target(create_bitmap(16, 16));
  auto check = [&](Animation& into, Animation& moved) {
    EXPECT_EQ(into.frameCount(), 4);
    EXPECT_EQ(into.frameIndex(), 2);
    EXPECT_EQ(framesOverTicks(into, 2), (std::vector<int>{2, 3}));
    EXPECT_EQ(moved.frameCount(), 0);
    EXPECT_EQ(moved.currentFrame(), nullptr);
    for (int i = 0; i < 10; ++i) moved.advance();
    moved.draw(target.get(), 0, 0);
    EXPECT_EQ(moved.frameIndex(), 0);
  };
  {
    SCOPED_TRACE("construction");
    Animation moved(*source);
    Animation into(std::move(moved));
    check(into, moved);
  }
  {
    SCOPED_TRACE("assignment");
    Animation moved(*source);
    Animation into;
    into = std::move(moved);
    check(into, moved);
  }
}

TEST_F(AnimationCopy, OwnsPixelIdenticalFramesThatOutliveTheSource) {
  // One full round (the durations add up to 9) sees every frame and comes
  // back to where it started.
  std::vector<std::vector<int>> original(4);
  for (int tick = 0; tick < 9; ++tick) {
    original[source->frameIndex()] = pixelsOf(source->currentFrame());
    source->advance();
  }
  auto copy = std::make_unique<Animation>(*source);
  EXPECT_NE(copy->currentFrame(), source->currentFrame());
  source.reset();
  std::vector<bool> seen(4, false);
  for (int tick = 0; tick < 9; ++tick) {
    int index = copy->frameIndex();
    SCOPED_TRACE(index);
    seen[index] = true;
    BITMAP* frame = copy->currentFrame();
    EXPECT_EQ(bitmap_color_depth(frame), 32);
    EXPECT_EQ(frame->w, 5 + index);
    EXPECT_EQ(pixelsOf(frame), original[index]);
    copy->advance();
  }
  EXPECT_EQ(seen, std::vector<bool>(4, true));
}

TEST_F(AnimationCopy, SourceSurvivesTheCopysDestruction) {
  std::vector<int> before = pixelsOf(source->currentFrame());
  { Animation copy(*source); }
  EXPECT_EQ(pixelsOf(source->currentFrame()), before);
}

TEST_F(AnimationCopy, AssignmentReplacesAnExistingAnimation) {
  writeFrames(tree, "idle", 2, 9);
  tree.writeText(base + "idle.anm", "idle 2 7 7");
  Animation target(base, "idle");
  target.advance();
  target = *source;
  EXPECT_EQ(target.frameCount(), 4);
  EXPECT_EQ(target.frameIndex(), 2);
  EXPECT_EQ(target.frameTicks(), 1);
  EXPECT_EQ(pixelsOf(target.currentFrame()), pixelsOf(source->currentFrame()));
  EXPECT_NE(target.currentFrame(), source->currentFrame());
  target.advance();
  target.advance();
  EXPECT_EQ(target.frameIndex(), 3);
  EXPECT_EQ(source->frameIndex(), 2);

  BITMAP* before = target.currentFrame();
  Animation& alias = target;
  target = alias;
  EXPECT_EQ(target.currentFrame(), before);
  EXPECT_EQ(target.frameIndex(), 3);
}

void loadWithLog(const std::string& name) {
  setenv("PWE_LOG", "1", 1);
  log_open("pwe.log");
  Animation animation(base, name);
}

TEST(AnimationDeathTest, MissingFilesStopTheProgramNamingThem) {
  MediaTree tree;
  EXPECT_EXIT(loadWithLog("run"), testing::ExitedWithCode(1),
              "^Error opening media/gfx/anim/player/run\\.anm\\.\n$");
  EXPECT_NE(readFile("pwe.log").find("Error opening media/gfx/anim/player/run.anm.\n"),
            std::string::npos);

  // Frames are tried in order: the lowest missing number is named.
  tree.writeSolidPng(base + "run/0.png", 2, 2, 1, 2, 3);
  tree.writeSolidPng(base + "run/1.png", 2, 2, 1, 2, 3);
  tree.writeSolidPng(base + "run/3.png", 2, 2, 1, 2, 3);
  tree.writeText(base + "run.anm", "run 5 1 1 1 1 1");
  EXPECT_EXIT(loadWithLog("run"), testing::ExitedWithCode(1),
              "^Error loading \"media/gfx/anim/player/run/2\\.png\"\\.\n$");
  EXPECT_NE(readFile("pwe.log").find("Error loading \"media/gfx/anim/player/run/2.png\".\n"),
            std::string::npos);
}

TEST(AnimationDeathTest, MalformedDescriptionsStopTheProgramSayingWhatIsWrong) {
  struct Case {
    const char* anm;
    const char* message;
  };
  const Case cases[] = {
      {"", "no frame directory"},
      {" \n\t", "no frame directory"},
      {"run", "no frame count"},
      {"run four 1 1 1 1", "frame count \"four\" is not a number"},
      {"run 2.5 1 1", "frame count \"2.5\" is not a number"},
      {"run 0", "frame count 0 is not between 1 and 10000"},
      {"run -3 1", "frame count -3 is not between 1 and 10000"},
      {"run 10001 1", "frame count 10001 is not between 1 and 10000"},
      {"run 99999999999999999999 1", "frame count 99999999999999999999 is not between 1 and 10000"},
      {"run 3 4 4", "no duration for frame 2"},
      {"run 3", "no duration for frame 0"},
      {"run 3 4 x 4", "duration \"x\" of frame 1 is not a number"},
      {"run 3 4 6x 4", "duration \"6x\" of frame 1 is not a number"},
      {"run 3 4 4 3000000000", "duration 3000000000 of frame 2 is out of range"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.anm);
    MediaTree tree;
    writeFrames(tree, "run", 3);
    tree.writeText(base + "run.anm", c.anm);
    std::string text =
        std::string("Error reading media/gfx/anim/player/run.anm: ") + c.message + ".";
    std::string pattern;
    for (char ch : text) {
      if (ch == '.' || ch == '"' || ch == '-') pattern += '\\';
      pattern += ch;
    }
    EXPECT_EXIT(loadWithLog("run"), testing::ExitedWithCode(1), "^" + pattern + "\n$");
    std::string log = readFile("pwe.log");
    EXPECT_EQ(log.substr(log.size() - text.size() - 1), text + "\n");
  }
}

}  // namespace
