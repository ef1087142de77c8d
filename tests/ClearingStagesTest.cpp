// The order in which the proof tries its ways where the nearest one ends in
// a catch: standing still first, or going elsewhere first. Neither is best
// on every level, so the proof takes both; each must still clear what the
// other clears.
#include <gtest/gtest.h>

#include <string>

#include "authoring/ClearingPlay.h"
#include "authoring/ClearingSearch.h"
#include "authoring/ItemWays.h"
#include "authoring/Reachability.h"
#include "tests/support/PlacedLevel.h"

namespace {

// One floor; the player starts at 300, a claimable tile lies at 368 (near)
// and one at 160 (far). `patrol`: the enemy's record.
LevelText twoTiles(const std::string& patrol) {
  LevelText level;
  level.start = "300 299 1";
  for (int x = 0; x < 640; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 0 0");
  }
  level.tiles.push_back("368 300 brick brick_clear 1 10");
  level.tiles.push_back("160 300 brick brick_clear 1 10");
  level.enemies = {patrol};
  return level;
}

std::size_t routeTicks(PlacedLevel& placed, const Reachability& search, bool othersFirst) {
  ItemWays items;
  LivePlay live(placed.game, search);
  ClearingAim stages;
  stages.othersFirst = othersFirst;
  const ClearingResult result = clearAiming(live, placed.game, search, ClearingLimits{}, stages, items);
  EXPECT_EQ(result.end, ClearingResult::End::Cleared) << "others first: " << othersFirst;
  return result.route.size();
}

TEST(ClearingStages, EachOrderClearsAndEachIsQuickerSomewhere) {
  const struct {
    const char* name;
    const char* patrol;
    int quicker;  // -1: waits first, 1: others first, 0: the same
  } cases[] = {
      // Walking slowly away towards the near tile: waiting behind it takes
      // 168 ticks, fetching the far tile first 127.
      {"a slow patrol walking ahead", "330 299 1 330 630 0.5 1 0 blob 600 100", 1},
      // Far off and walking away: nothing to wait for either way.
      {"a patrol out of the way", "600 299 1 560 630 0.5 1 0 blob 600 100", 0},
      // Pacing between the two tiles: standing still until it has passed
      // is quicker than turning back and forth around it.
      {"a patrol pacing across the way", "250 299 0 200 340 1.5 1 0 blob 600 100", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PlacedLevel placed(twoTiles(c.patrol));
    Reachability search(placed.game);
    search.run();
    const std::size_t waitsFirst = routeTicks(placed, search, false);
    const std::size_t othersFirst = routeTicks(placed, search, true);
    if (c.quicker > 0) {
      EXPECT_LT(othersFirst, waitsFirst);
    } else if (c.quicker == 0) {
      EXPECT_EQ(othersFirst, waitsFirst);
    } else {
      EXPECT_GT(othersFirst, waitsFirst);
    }
  }
}

}  // namespace
