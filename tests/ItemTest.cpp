#include "actors/ItemManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/Resources.h"
#include "shell/Log.h"
#include "tests/support/Headless.h"

namespace {

// Drawing with the alpha blender does not keep the target's alpha, so
// composed pixels are compared by colour alone.
int colourAt(BITMAP* bitmap, int x, int y) { return getpixel(bitmap, x, y) & 0xFFFFFF; }
int colour(int r, int g, int b) { return makecol(r, g, b) & 0xFFFFFF; }

const std::string itemDir = "media/gfx/static/items/";

class ItemTest : public testing::Test {
 protected:
  void SetUp() override {
    tree.writeSolidPng(itemDir + "gem.png", 16, 16, 250, 220, 0);
    // Left half fully transparent, right half opaque.
    tree.writePng(itemDir + "half.png", 16, 16, [](int x, int) {
      return x < 8 ? makeacol(0, 0, 0, 0) : makeacol(0, 120, 250, 255);
    });
  }

  static Item place(ItemManager& manager, int x, int y, const std::string& type, int points) {
    Item item;
    item.x = x;
    item.y = y;
    item.type = type;
    item.points = points;
    item.present = true;
    item.image_index = manager.findImage(type);
    item.image = manager.image(item.image_index);
    item.width = item.image->w;
    item.height = item.image->h;
    manager.add(item);
    return item;
  }

  static BitmapPtr solidFrame(int w, int h) {
    BitmapPtr frame(create_bitmap(w, h));
    clear_to_color(frame.get(), makeacol(255, 255, 255, 255));
    return frame;
  }

  MediaTree tree;
};

TEST_F(ItemTest, ConstructionLogsAroundTheImageSet) {
  tree.remove(itemDir + "half.png");
  std::vector<std::string> lines;
  log_capture(&lines);
  ItemManager manager;
  log_capture(nullptr);
  std::vector<std::string> expected = {
      "Initializing item manager.",         "Locating item images.",
      "1 item images located.",             "Loading item images.",
      "Item image 0 loaded.",               "All item images successfully loaded.",
      "Item manager successfully initialized.",
  };
  EXPECT_EQ(lines, expected);
}

TEST_F(ItemTest, FindImageMatchesWholeNamesAndWritesNoLog) {
  ItemManager manager;
  std::vector<std::string> lines;
  log_capture(&lines);
  EXPECT_NE(manager.findImage("gem"), -1);
  EXPECT_NE(manager.findImage("half"), manager.findImage("gem"));
  EXPECT_EQ(manager.findImage("Gem"), -1);
  EXPECT_EQ(manager.findImage("ge"), -1);
  log_capture(nullptr);
  EXPECT_TRUE(lines.empty());
}

TEST_F(ItemTest, ContactNeedsCommonOpaquePixels) {
  ItemManager manager;
  place(manager, 100, 50, "half", 10);  // opaque columns 108..115
  BitmapPtr frame = solidFrame(8, 8);
  struct Case {
    float left;
    bool collected;
  };
  const Case cases[] = {
      {92.0f, false},   // frame 92..99: no common column at all
      {100.0f, false},  // frame 100..107: only the transparent half
      {100.9f, false},  // cut to 100
      {101.0f, true},   // column 108 is shared
      {115.0f, true},   // the last opaque column
      {116.0f, false},  // edge rectangle 116 meets the item's right edge; no common column
  };
  for (const Case& c : cases) {
    Item item = manager.items()[0];
    EXPECT_EQ(item.touches(frame.get(), c.left, 54.0f), c.collected) << "left " << c.left;
    EXPECT_EQ(item.present, !c.collected) << "left " << c.left;
  }
}

TEST_F(ItemTest, CollectionLogsTheItemRectangleAndIsOnce) {
  ItemManager manager;
  place(manager, 100, 50, "gem", 25);
  BitmapPtr frame = solidFrame(8, 8);
  int points = -7;
  std::vector<std::string> lines;
  log_capture(&lines);
  EXPECT_TRUE(manager.checkPlayer(frame.get(), 110.0f, 60.0f, points));
  log_capture(nullptr);
  EXPECT_EQ(points, 25);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "Collision against item @: (100, 50) - (116, 66)");
  EXPECT_FALSE(manager.items()[0].present);

  points = -7;
  EXPECT_FALSE(manager.checkPlayer(frame.get(), 110.0f, 60.0f, points));
  EXPECT_EQ(points, -7);
}

TEST_F(ItemTest, TwoItemsUnderThePlayerAreCollectedInSuccessiveTicks) {
  ItemManager manager;
  place(manager, 100, 50, "gem", 10);
  place(manager, 104, 52, "gem", 20);
  BitmapPtr frame = solidFrame(8, 8);
  std::vector<int> scored;
  for (int tick = 0; tick < 4; ++tick) {
    int points = -1;
    if (manager.checkPlayer(frame.get(), 106.0f, 54.0f, points)) scored.push_back(points);
  }
  EXPECT_EQ(scored, (std::vector<int>{10, 20}));
}

TEST_F(ItemTest, ItemWithNoPointsIsStillCollected) {
  ItemManager manager;
  place(manager, 100, 50, "gem", 0);
  BitmapPtr frame = solidFrame(8, 8);
  int points = -1;
  EXPECT_TRUE(manager.checkPlayer(frame.get(), 100.0f, 50.0f, points));
  EXPECT_EQ(points, 0);
  EXPECT_FALSE(manager.items()[0].present);
}

TEST_F(ItemTest, DrawingBlendsPresentItemsAndSkipsCollectedOnes) {
  tree.writePng(itemDir + "glass.png", 4, 4, [](int x, int) {
    return x < 2 ? makeacol(0, 0, 0, 0) : makeacol(200, 100, 0, 128);
  });
  ItemManager manager;
  place(manager, 10, 10, "gem", 1);
  place(manager, 40, 10, "glass", 1);
  BitmapPtr target(create_bitmap(80, 40));
  const int background = colour(0, 0, 200);
  clear_to_color(target.get(), background);
  manager.draw(target.get());

  EXPECT_EQ(colourAt(target.get(), 10, 10), colour(250, 220, 0));
  EXPECT_EQ(colourAt(target.get(), 25, 25), colour(250, 220, 0));
  EXPECT_EQ(colourAt(target.get(), 26, 25), background);
  EXPECT_EQ(colourAt(target.get(), 9, 10), background);
  // Transparent pixels leave the background; half alpha mixes both.
  EXPECT_EQ(colourAt(target.get(), 41, 10), background);
  int mixed = colourAt(target.get(), 42, 10);
  EXPECT_NEAR(getr(mixed), 100, 2);
  EXPECT_NEAR(getg(mixed), 50, 2);
  EXPECT_NEAR(getb(mixed), 100, 2);

  BitmapPtr frame = solidFrame(8, 8);
  int points = 0;
  ASSERT_TRUE(manager.checkPlayer(frame.get(), 12.0f, 12.0f, points));
  clear_to_color(target.get(), background);
  manager.draw(target.get());
  EXPECT_EQ(colourAt(target.get(), 10, 10), background);
  EXPECT_EQ(colourAt(target.get(), 25, 25), background);
  EXPECT_NE(colourAt(target.get(), 42, 10), background);
}

using ItemDeathTest = ItemTest;

TEST_F(ItemDeathTest, EmptyItemDirectoryStopsTheProgram) {
  tree.remove(itemDir);
  EXPECT_EXIT(ItemManager manager, testing::ExitedWithCode(1), "No item graphics located!");
}

}  // namespace
