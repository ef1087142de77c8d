#include "actors/TeleporterManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "graphics/Resources.h"
#include "shell/Log.h"
#include "tests/support/FileText.h"
#include "tests/support/Headless.h"

namespace {

// Drawing with the alpha blender does not keep the target's alpha, so
// composed pixels are compared by colour alone.
int colourAt(BITMAP* bitmap, int x, int y) { return getpixel(bitmap, x, y) & 0xFFFFFF; }
int colour(int r, int g, int b) { return makecol(r, g, b) & 0xFFFFFF; }

const std::string normalDir = "media/gfx/static/transportation/teleporters/normal/";
const std::string cooldownDir = "media/gfx/static/transportation/teleporters/cooldown/";

// Two normal looks of different widths and one cooldown look; the cooldown
// pad is smaller than the normal ones, as a level may choose.
class TeleporterTest : public testing::Test {
 protected:
  void SetUp() override {
    tree.writeSolidPng(normalDir + "wide.png", 40, 60, 0, 200, 0);
    tree.writeSolidPng(normalDir + "odd.png", 41, 60, 0, 0, 200);
    tree.writeSolidPng(cooldownDir + "cool.png", 20, 30, 200, 0, 0);
  }

  Teleporter place(TeleporterManager& manager, int x, int y, const std::string& name,
                   int number) {
    Teleporter t;
    t.x = x;
    t.y = y;
    t.name = name;
    t.cooldown_name = "cool";
    t.image_index = manager.findImage(name);
    t.cooldown_image_index = manager.findCooldownImage("cool");
    t.image = manager.image(t.image_index);
    t.cooldown_image = manager.cooldownImage(t.cooldown_image_index);
    t.width = t.image->w;
    t.height = t.image->h;
    t.number = number;
    manager.add(t);
    return t;
  }

  static BitmapPtr solidFrame(int w, int h) {
    BitmapPtr frame(create_bitmap(w, h));
    clear_to_color(frame.get(), makeacol(255, 255, 255, 255));
    return frame;
  }

  MediaTree tree;
};

TEST_F(TeleporterTest, ConstructionSearchesBothDirectoriesBeforeLoadingEither) {
  tree.remove(normalDir + "odd.png");
  std::vector<std::string> lines;
  log_capture(&lines);
  TeleporterManager manager;
  log_capture(nullptr);
  std::vector<std::string> expected = {
      "Initializing teleport manager.",
      "Locating teleporter images.",
      "Found wide.png",
      "1 teleporter images located.",
      "Locating teleporter cooldown images.",
      "Found cool.png",
      "1 teleporter cooldown images located.",
      "Loading teleporter images.",
      "Teleporter image 0 loaded.",
      "All teleporter images successfully loaded.",
      "Loading teleporter cooldown images.",
      "Loading " + cooldownDir + "cool.png",
      "Teleporter cooldown image 0 loaded.",
      "All teleporter cooldown images successfully loaded.",
      "Teleporter manager successfully initialized.",
  };
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(manager.findImage("wide"), 0);
  EXPECT_EQ(manager.findCooldownImage("cool"), 0);
  EXPECT_EQ(manager.findImage("cool"), -1);
  EXPECT_EQ(manager.findCooldownImage("wide"), -1);
}

TEST_F(TeleporterTest, ArrivalIsTheMiddleOfTheBottomRowCutTowardZero) {
  TeleporterManager manager;
  place(manager, 200, 100, "wide", 1);
  place(manager, 500, 300, "odd", 2);
  place(manager, 10, 10, "wide", 2);  // same number later in the list: never chosen

  struct Case {
    int number;
    float x, y;
  };
  for (const Case& c : {Case{1, 220.0f, 159.0f}, Case{2, 520.0f, 359.0f}}) {
    std::vector<std::string> lines;
    log_capture(&lines);
    float x = 0.0f, y = 0.0f;
    manager.destination(c.number, x, y);
    log_capture(nullptr);
    EXPECT_EQ(x, c.x) << "teleporter " << c.number;
    EXPECT_EQ(y, c.y) << "teleporter " << c.number;
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "Teleporting to teleporter " + std::to_string(c.number) + " @: " +
                            std::to_string(static_cast<int>(c.x)) + ", " +
                            std::to_string(static_cast<int>(c.y)) + ".");
  }
}

TEST_F(TeleporterTest, FortyOneWideGivesTheSameArrivalAsForty) {
  TeleporterManager manager;
  place(manager, 200, 100, "odd", 1);
  float x = 0.0f, y = 0.0f;
  manager.destination(1, x, y);
  EXPECT_EQ(x, 220.0f);
  EXPECT_EQ(y, 159.0f);
}

TEST_F(TeleporterTest, UnknownNumberWritesMinusOneToXAndLeavesY) {
  TeleporterManager manager;
  place(manager, 200, 100, "wide", 1);
  float x = 5.0f, y = 123.5f;
  manager.destination(3, x, y);
  EXPECT_EQ(x, -1.0f);
  EXPECT_EQ(y, 123.5f);
}

TEST_F(TeleporterTest, FirstOfTwoOverlappingTeleportersIsOccupied) {
  TeleporterManager manager;
  place(manager, 200, 100, "wide", 4);
  place(manager, 210, 100, "odd", 2);
  BitmapPtr frame = solidFrame(10, 20);
  Teleporter out;
  std::vector<std::string> lines;
  log_capture(&lines);
  ASSERT_TRUE(manager.findOccupied(frame.get(), 215.7f, 120.2f, out));
  log_capture(nullptr);
  EXPECT_EQ(out.number, 4);
  EXPECT_EQ(out.x, 200);
  EXPECT_EQ(out.name, "wide");
  std::vector<std::string> expected = {"Checking for teleporter collisions @ 215, 120.",
                                       "Teleporter #4 @ 200, 100.", "Player is in teleporter #4"};
  EXPECT_EQ(lines, expected);
}

TEST_F(TeleporterTest, MissLogsEveryTeleporterAndLeavesTheOutputAlone) {
  TeleporterManager manager;
  place(manager, 200, 100, "wide", 1);
  place(manager, 400, 100, "wide", 2);
  BitmapPtr frame = solidFrame(10, 20);
  Teleporter out;
  out.number = 99;
  std::vector<std::string> lines;
  log_capture(&lines);
  EXPECT_FALSE(manager.findOccupied(frame.get(), 300.0f, 100.0f, out));
  log_capture(nullptr);
  EXPECT_EQ(out.number, 99);
  std::vector<std::string> expected = {"Checking for teleporter collisions @ 300, 100.",
                                       "Teleporter #1 @ 200, 100.", "Teleporter #2 @ 400, 100."};
  EXPECT_EQ(lines, expected);
}

TEST_F(TeleporterTest, SharedEdgesCountAndPositionsAreCutTowardZero) {
  TeleporterManager manager;
  Teleporter pad = place(manager, 200, 100, "wide", 1);  // covers 200..240 x 100..160
  BitmapPtr frame = solidFrame(10, 20);
  struct Case {
    float left, top;
    bool inside;
  };
  const Case cases[] = {
      {190.0f, 120.0f, true},   // right edge 200 meets the pad's left edge
      {189.9f, 120.0f, false},  // cut to 189: right edge 199
      {240.0f, 120.0f, true},   // left edge on the pad's right edge
      {240.9f, 120.0f, true},   // still 240 after cutting
      {241.0f, 120.0f, false},
      {210.0f, 80.0f, true},    // bottom edge 100 on the pad's top row
      {210.0f, 79.5f, false},   // cut to 79: bottom 99
      {210.0f, 160.0f, true},   // top on the pad's bottom edge
      {210.0f, 161.0f, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pad.overlaps(frame.get(), c.left, c.top), c.inside)
        << "player at " << c.left << ", " << c.top;
    Teleporter out;
    EXPECT_EQ(manager.findOccupied(frame.get(), c.left, c.top, out), c.inside);
  }
}

TEST_F(TeleporterTest, TransparentPadStillCountsAsOccupied) {
  tree.writeSolidPng(normalDir + "ghost.png", 40, 60, 0, 0, 0, 0);
  TeleporterManager manager;
  place(manager, 200, 100, "ghost", 1);
  BitmapPtr frame = solidFrame(10, 20);
  Teleporter out;
  EXPECT_TRUE(manager.findOccupied(frame.get(), 210.0f, 120.0f, out));
}

TEST_F(TeleporterTest, AllPadsShowTheirCooldownLookTogetherWhileTheFlagIsSet) {
  TeleporterManager manager;
  place(manager, 10, 10, "wide", 1);
  place(manager, 100, 10, "odd", 2);
  BitmapPtr target(create_bitmap(200, 100));
  const int background = colour(0, 0, 0);
  for (bool cooldown : {true, false, true}) {
    clear_to_color(target.get(), background);
    manager.draw(target.get(), cooldown);
    if (cooldown) {
      // The 20 x 30 cooldown image sits at each pad's corner; the rest of
      // the normal pad's area stays untouched.
      for (int left : {10, 100}) {
        EXPECT_EQ(colourAt(target.get(), left, 10), colour(200, 0, 0));
        EXPECT_EQ(colourAt(target.get(), left + 19, 39), colour(200, 0, 0));
        EXPECT_EQ(colourAt(target.get(), left + 20, 10), background);
        EXPECT_EQ(colourAt(target.get(), left, 40), background);
      }
    } else {
      EXPECT_EQ(colourAt(target.get(), 10, 10), colour(0, 200, 0));
      EXPECT_EQ(colourAt(target.get(), 49, 69), colour(0, 200, 0));
      EXPECT_EQ(colourAt(target.get(), 50, 69), background);
      EXPECT_EQ(colourAt(target.get(), 140, 69), colour(0, 0, 200));
      EXPECT_EQ(colourAt(target.get(), 141, 69), background);
    }
  }
}

using TeleporterDeathTest = TeleporterTest;

TEST_F(TeleporterDeathTest, EmptyCooldownDirectoryStopsBeforeAnyNormalImageLoads) {
  // The normal directory holds a file that is no image: had it been loaded
  // before the cooldown search, the failure would name it instead.
  tree.writeText(normalDir + "broken.png", "not an image");
  tree.remove(cooldownDir + "cool.png");
  EXPECT_EXIT(
      {
        setenv("PWE_LOG", "1", 1);
        log_open("pwe.log");
        TeleporterManager manager;
      },
      testing::ExitedWithCode(1), "No teleporter cooldown graphics located!");
  std::string log = readFile("pwe.log");
  EXPECT_NE(log.find("No teleporter cooldown graphics located. Exiting.\n"), std::string::npos);
  EXPECT_EQ(log.find("Loading teleporter images."), std::string::npos);
}

TEST_F(TeleporterDeathTest, BothDirectoriesEmptyNamesOnlyTheNormalOne) {
  tree.remove(normalDir);
  tree.remove(cooldownDir);
  EXPECT_EXIT(TeleporterManager manager, testing::ExitedWithCode(1),
              "No teleporter graphics located!");
}

TEST_F(TeleporterDeathTest, UnloadableCooldownImageIsNamed) {
  tree.writeText(cooldownDir + "bad.png", "not an image");
  EXPECT_EXIT(TeleporterManager manager, testing::ExitedWithCode(1),
              "Error loading \"" + cooldownDir + "bad.png\"\\.");
}

}  // namespace
