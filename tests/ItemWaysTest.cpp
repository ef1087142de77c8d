// The ways to items the proof remembers: a way handed back for the wrong
// place or item sends the route astray, one not counted as walked again
// lets the tour's work run past what it was allowed.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "authoring/ItemWays.h"

namespace {

struct Asking {
  std::uint32_t state;
  std::size_t item;
  std::vector<std::uint32_t> walks;  // what a walk would find now
  bool walked;                       // whether the walk is made
  std::vector<std::uint32_t> way;    // what comes back
};

TEST(ItemWaysTest, AWayIsWalkedOncePerPlaceAndItem) {
  const std::vector<Asking> askings = {
      {7, 0, {1, 2, 3}, true, {1, 2, 3}},
      {7, 0, {9}, false, {1, 2, 3}},      // remembered, not walked again
      {7, 1, {4}, true, {4}},             // another item from the same place
      {8, 0, {5, 6}, true, {5, 6}},       // the same item from another place
      {3, 2, {}, true, {}},               // out of reach
      {3, 2, {1}, false, {}},             // and remembered so
      {0xFFFFFFFFu, 0xFFFFFFFFu, {2}, true, {2}},  // the largest keys stay apart
      {0xFFFFFFFFu, 0, {3}, true, {3}},
      {0, 0xFFFFFFFFu, {4}, true, {4}},
  };
  ItemWays ways;
  for (std::size_t i = 0; i < askings.size(); ++i) {
    const Asking& a = askings[i];
    bool walked = false;
    const ItemWays::Way got = ways.way(a.state, a.item, [&] {
      walked = true;
      return ItemWays::Way{a.walks, 100 + i};
    });
    EXPECT_EQ(walked, a.walked) << "asking " << i;
    EXPECT_EQ(got.edges, a.way) << "asking " << i;
  }
}

TEST(ItemWaysTest, ARememberedWayCountsTheStatesItsWalkTook) {
  ItemWays ways;
  const auto walk = [] { return ItemWays::Way{{1, 2}, 4321}; };
  EXPECT_EQ(ways.way(5, 1, walk).walked, 4321u);
  const ItemWays::Way again = ways.way(5, 1, [] { return ItemWays::Way{{}, 1}; });
  EXPECT_EQ(again.walked, 4321u);
  EXPECT_EQ(again.edges, (std::vector<std::uint32_t>{1, 2}));
}

TEST(ItemWaysTest, WaysPastTheBoundAreWalkedEachTime) {
  ItemWays ways;
  const std::vector<std::uint32_t> most(ItemWays::mostEdges - 1, 3);
  int walks = 0;
  const auto big = [&] {
    ++walks;
    return ItemWays::Way{most, 1};
  };
  ways.way(1, 0, big);
  ways.way(1, 0, big);
  EXPECT_EQ(walks, 1);  // the first fills the room: one edge and its slot
  const auto small = [&] {
    ++walks;
    return ItemWays::Way{{1}, 1};
  };
  ways.way(2, 0, small);
  ways.way(2, 0, small);
  EXPECT_EQ(walks, 3);  // no room left: walked each time, and still found
  EXPECT_EQ(ways.way(2, 0, small).edges, (std::vector<std::uint32_t>{1}));
}

}  // namespace
