#include "structures/FloorManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "graphics/Resources.h"
#include "shell/Log.h"
#include "tests/support/Headless.h"

namespace {

const int mask = makeacol32(255, 0, 255, 0);
const int red = makeacol32(200, 0, 0, 255);
const int green = makeacol32(0, 200, 0, 255);
const int blue = makeacol32(0, 0, 200, 255);

// A media tree with one normal tile look (red, its top-left pixel
// transparent) and one cleared look (green, smaller), and a manager built on it.
class FloorManagerTest : public testing::Test {
 protected:
  void SetUp() override {
    tree_.writePng("media/gfx/static/floor tiles/normal/stone.png", 32, 8,
                   [](int x, int y) { return x == 0 && y == 0 ? mask : red; });
    tree_.writeSolidPng("media/gfx/static/floor tiles/clear/done.png", 16, 4, 0, 200, 0);
    log_capture(&log_);
    floor_ = std::make_unique<FloorManager>();
    log_.clear();
  }
  void TearDown() override { log_capture(nullptr); }

  FloorTile tile(int x, int y, int claimable = 1, int points = 10) const {
    FloorTile t;
    t.x = x;
    t.y = y;
    t.width = 32;
    t.height = 8;
    t.tile_name = "stone";
    t.cleared_name = "done";
    t.image_index = floor_->findImage("stone");
    t.cleared_image_index = floor_->findClearedImage("done");
    t.claimable = claimable;
    t.points = points;
    t.image = floor_->image(t.image_index);
    t.cleared_image = floor_->clearedImage(t.cleared_image_index);
    return t;
  }

  MediaTree tree_;
  std::vector<std::string> log_;
  std::unique_ptr<FloorManager> floor_;
};

TEST(FloorManagerLoading, LoadsTheNormalSetCompletelyBeforeTheClearedSet) {
  MediaTree tree;
  tree.writeSolidPng("media/gfx/static/floor tiles/normal/stone.png", 32, 8, 200, 0, 0);
  tree.writeSolidPng("media/gfx/static/floor tiles/clear/done.png", 32, 8, 0, 200, 0);
  std::vector<std::string> lines;
  log_capture(&lines);
  FloorManager floor;
  log_capture(nullptr);

  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "Initializing floor manager.");
  EXPECT_EQ(lines.back(), "Floor manager successfully initialized.");
  auto at = [&](const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) - lines.begin();
  };
  EXPECT_LT(at("All floor tile images successfully loaded"), at("Locating cleared floor tile images."));
  EXPECT_LT(at("Locating cleared floor tile images."), static_cast<long>(lines.size()));
  EXPECT_EQ(floor.tilesLeft(), 0);
  EXPECT_EQ(floor.findImage("stone"), 0);
  EXPECT_EQ(floor.findClearedImage("done"), 0);
  EXPECT_EQ(floor.findImage("done"), -1);  // each name is looked up in its own set
}

TEST(FloorManagerLoadingDeathTest, AMissingClearedSetEndsTheRun) {
  MediaTree tree;
  tree.writeSolidPng("media/gfx/static/floor tiles/normal/stone.png", 32, 8, 200, 0, 0);
  EXPECT_EXIT(FloorManager(), testing::ExitedWithCode(1), "No cleared floor graphics located!");
}

TEST_F(FloorManagerTest, StandingNeedsTheTileTopDirectlyBelowAndAnInclusiveColumnRange) {
  floor_->add(tile(64, 100));
  floor_->add(tile(0, 200));
  struct Case {
    float x, y;
    bool stands;
  } cases[] = {
      {80, 99, true},    {80, 100, false}, {80, 98, false},  {80, 99.9f, true},
      {64, 99, true},    {96, 99, true},   {63, 99, false},  {97, 99, false},
      {64.9f, 99, true}, {63.9f, 99, false}, {96.9f, 99, true}, {97.0f, 99, false},
      {-0.5f, 199, true}, {-1.0f, 199, false}, {32, 199, true}, {33, 199, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(floor_->isOnFloor(c.x, c.y), c.stands) << c.x << ", " << c.y;
  }
}

TEST_F(FloorManagerTest, NothingSupportsOnAnEmptyFloor) {
  EXPECT_FALSE(floor_->isOnFloor(80, 99));
  FloorTile out = tile(1, 2);
  EXPECT_FALSE(floor_->tileAt(80, 100, out));
  EXPECT_EQ(floor_->claimAt(80, 99), 0);
}

TEST_F(FloorManagerTest, TileAtCopiesTheFirstContainingTile) {
  FloorTile first = tile(64, 100, 1, 5);
  FloorTile second = tile(80, 100, 1, 7);  // overlaps the first
  floor_->add(first);
  floor_->add(second);

  struct Case {
    float x, y;
    int points;  // of the tile found; 0 for none
  } cases[] = {
      {64, 100, 5}, {96, 108, 5}, {97, 104, 7}, {112, 108, 7},
      {113, 104, 0}, {70, 99, 0}, {70, 109, 0}, {63.9f, 104, 0},
  };
  for (const Case& c : cases) {
    FloorTile out;
    out.points = -1;
    bool found = floor_->tileAt(c.x, c.y, out);
    EXPECT_EQ(found, c.points != 0) << c.x << ", " << c.y;
    EXPECT_EQ(out.points, found ? c.points : -1) << c.x << ", " << c.y;
  }
}

// The queries only look at tiles near the point; the answers must still be
// those of a walk over the whole level in placement order, whatever rows and
// columns the tiles start in (negative columns included).
TEST_F(FloorManagerTest, QueriesAnswerInPlacementOrderAcrossRowsAndColumns) {
  floor_->add(tile(-40, 96, 1, 3));   // rows 96..104, columns -40..-8
  floor_->add(tile(-100, 100, 1, 4)); // spans several column bands
  floor_->add(tile(200, 94, 1, 5));   // rows 94..102
  floor_->add(tile(190, 100, 1, 6));  // placed later, also holds (200, 100)
  floor_->add(tile(500, 100, 1, 7));
  floor_->add(tile(-30, 92, 1, 8));   // a higher row, placed last, overlaps the first

  struct Case {
    float x, y;
    int found;     // points of tileAt's tile, 0 for none
    bool onFloor;  // isOnFloor
  } cases[] = {
      {-20, 100, 3, false}, {-20, 94, 8, false}, {-70, 99, 0, true},   {-99.5f, 99, 0, true},
      {-101, 99, 0, false}, {-70, 104, 4, false}, {200, 100, 5, false}, {220, 99, 5, true},
      {222, 103, 6, false}, {232, 93, 0, true},   {532, 99, 0, true},   {533, 99, 0, false},
      {-8, 95, 8, true},    {-7, 95, 8, false},   {3, 95, 0, false},
  };
  for (const Case& c : cases) {
    FloorTile out;
    out.points = 0;
    floor_->tileAt(c.x, c.y, out);
    EXPECT_EQ(out.points, c.found) << c.x << ", " << c.y;
    EXPECT_EQ(floor_->isOnFloor(c.x, c.y), c.onFloor) << c.x << ", " << c.y;
  }
  // Both tiles whose top is row 100 and hold column 222 are claimed.
  EXPECT_EQ(floor_->claimAt(222, 99), 6);
  EXPECT_EQ(floor_->claimAt(-70, 99), 4);
  EXPECT_EQ(floor_->tilesLeft(), 4);
}

TEST_F(FloorManagerTest, ABoundaryColumnClaimsBothTilesForTheSumOfTheirPoints) {
  floor_->add(tile(64, 100, 1, 10));
  floor_->add(tile(96, 100, 1, 25));
  ASSERT_EQ(floor_->tilesLeft(), 2);

  EXPECT_EQ(floor_->claimAt(96, 99), 35);
  EXPECT_EQ(floor_->tilesLeft(), 0);
  EXPECT_EQ(log_, (std::vector<std::string>{"Player gained 10 points for clearing tile.",
                                            "Player gained 25 points for clearing tile."}));
  EXPECT_TRUE(floor_->tiles()[0].cleared);
  EXPECT_TRUE(floor_->tiles()[1].cleared);
}

TEST_F(FloorManagerTest, AClaimedTileGivesItsPointsOnce) {
  floor_->add(tile(64, 100, 1, 40));
  EXPECT_EQ(floor_->claimAt(70, 99), 40);
  EXPECT_EQ(floor_->claimAt(70, 99), 0);
  EXPECT_EQ(floor_->claimAt(90, 99), 0);
  EXPECT_EQ(floor_->tilesLeft(), 0);
  EXPECT_EQ(log_.size(), 1u);
  // Still a floor to stand on.
  EXPECT_TRUE(floor_->isOnFloor(70, 99));
}

TEST_F(FloorManagerTest, AnUnclaimableTileSupportsButIsNeverCountedOrClaimed) {
  floor_->add(tile(64, 100, 0, 50));
  EXPECT_EQ(floor_->tilesLeft(), 0);  // a level of such tiles is won at once
  EXPECT_TRUE(floor_->isOnFloor(70, 99));
  EXPECT_EQ(floor_->claimAt(70, 99), 0);
  EXPECT_FALSE(floor_->tiles()[0].cleared);
  EXPECT_TRUE(log_.empty());
}

TEST_F(FloorManagerTest, ClaimingOnlyHappensWhereTheFeetStand) {
  floor_->add(tile(64, 100, 1, 10));
  EXPECT_EQ(floor_->claimAt(70, 100), 0);  // inside the tile, not on it
  EXPECT_EQ(floor_->claimAt(70, 98), 0);
  EXPECT_EQ(floor_->claimAt(97, 99), 0);
  EXPECT_EQ(floor_->tilesLeft(), 1);
}

// Level authors write other non-zero values meaning "yes"; such a tile is
// both claimable and counted, so the count reaches 0 exactly when the last
// of them is cleared, whatever the order.
TEST_F(FloorManagerTest, AnyNonZeroClaimableIsCountedAndClaimed) {
  floor_->add(tile(0, 100, 1, 1));
  floor_->add(tile(64, 100, 2, 2));
  floor_->add(tile(128, 100, -1, 4));
  EXPECT_EQ(floor_->tilesLeft(), 3);
  EXPECT_EQ(floor_->claimAt(70, 99), 2);
  EXPECT_EQ(floor_->tilesLeft(), 2);
  EXPECT_EQ(floor_->claimAt(130, 99), 4);
  EXPECT_EQ(floor_->tilesLeft(), 1);
  EXPECT_EQ(floor_->claimAt(10, 99), 1);
  EXPECT_EQ(floor_->tilesLeft(), 0);
}

TEST_F(FloorManagerTest, TilesLeftFollowsAddClearAndClaimSequences) {
  std::vector<FloorTile> level = {tile(0, 100), tile(64, 100), tile(128, 100, 0), tile(192, 100)};
  for (const FloorTile& t : level) floor_->add(t);
  EXPECT_EQ(floor_->tilesLeft(), 3);
  floor_->claimAt(10, 99);
  floor_->claimAt(200, 99);
  EXPECT_EQ(floor_->tilesLeft(), 1);

  // A new life places the same tiles again, all uncleared.
  floor_->clear();
  EXPECT_EQ(floor_->tilesLeft(), 0);
  EXPECT_FALSE(floor_->isOnFloor(10, 99));
  for (const FloorTile& t : level) floor_->add(t);
  EXPECT_EQ(floor_->tilesLeft(), 3);
  EXPECT_EQ(floor_->tiles().size(), 4u);
  EXPECT_EQ(floor_->claimAt(10, 99), 10);

  // A record that arrives already cleared is not one still to do.
  FloorTile done = tile(300, 100);
  done.cleared = true;
  floor_->add(done);
  EXPECT_EQ(floor_->tilesLeft(), 2);
}

// A search tries a tick and takes back what it claimed: undoing to a mark
// unclaims exactly the tiles claimed since, which give their points again.
TEST_F(FloorManagerTest, ClaimsTakenBackToAMarkCanBeClaimedAgain) {
  for (int x : {0, 32, 64, 128}) floor_->add(tile(x, 100, 1, x + 1));
  EXPECT_EQ(floor_->claimAt(140, 99), 129);
  const size_t mark = floor_->claimCount();
  EXPECT_EQ(floor_->claimAt(32, 99), 1 + 33);  // the shared column claims both
  EXPECT_EQ(floor_->claimCount(), mark + 2);
  EXPECT_EQ(floor_->claimedTile(mark), 0);
  EXPECT_EQ(floor_->claimedTile(mark + 1), 1);
  EXPECT_EQ(floor_->tilesLeft(), 1);

  floor_->undoClaims(mark);
  EXPECT_EQ(floor_->claimCount(), mark);
  EXPECT_EQ(floor_->tilesLeft(), 3);
  EXPECT_FALSE(floor_->tiles()[0].cleared);
  EXPECT_TRUE(floor_->tiles()[3].cleared);
  EXPECT_EQ(floor_->claimAt(32, 99), 34);
  EXPECT_EQ(floor_->claimAt(140, 99), 0);

  floor_->clear();
  EXPECT_EQ(floor_->claimCount(), 0u);
}

TEST_F(FloorManagerTest, DrawsTheNormalLookMaskedThenTheClearedLook) {
  BitmapPtr target(create_bitmap(200, 200));
  clear_to_color(target.get(), blue);
  floor_->add(tile(10, 20));
  floor_->add(tile(60, 20, 0));
  floor_->draw(target.get());
  EXPECT_EQ(getpixel(target.get(), 10, 20), blue);  // the magenta corner stays transparent
  EXPECT_EQ(getpixel(target.get(), 11, 20), red);
  EXPECT_EQ(getpixel(target.get(), 41, 27), red);
  EXPECT_EQ(getpixel(target.get(), 42, 27), blue);

  floor_->claimAt(12, 19);
  floor_->claimAt(62, 19);
  clear_to_color(target.get(), blue);
  floor_->draw(target.get());
  EXPECT_EQ(getpixel(target.get(), 10, 20), green);  // the cleared look at the same corner
  EXPECT_EQ(getpixel(target.get(), 25, 23), green);
  EXPECT_EQ(getpixel(target.get(), 26, 20), blue);   // the cleared look is narrower
  EXPECT_EQ(getpixel(target.get(), 61, 20), red);    // unclaimable: normal look for ever
}

}  // namespace
