// The tour's estimate, enemies left out: it ranks orders and ends of legs
// by the ticks between them over the found states, and its cheapest order
// takes the short run first where the long one is nearer.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "authoring/ClearingRoute.h"
#include "authoring/ClearingSearch.h"
#include "authoring/Reachability.h"
#include "authoring/TourCosts.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"
#include "tests/support/PlacedLevel.h"

namespace {

void floorRow(LevelText& level, int from, int to, int row, int claimable) {
  for (int x = from; x < to; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " " + std::to_string(row) + " brick brick_clear " +
                          std::to_string(claimable) + " 10");
  }
}

// The player starts a step from the end of a long run (left), with a short
// run (right) a little further off on the other side.
LevelText longAndShort() {
  LevelText level;
  floorRow(level, 0, 304, 300, 1);
  floorRow(level, 304, 336, 300, 0);
  floorRow(level, 336, 416, 300, 1);
  level.start = "318 299 1";
  return level;
}

// The claimable tiles from column `from` to `to`, in column order.
std::vector<int> tilesBetween(const Game& game, int from, int to) {
  std::vector<int> found;
  const std::vector<FloorTile>& tiles = game.floorManager.tiles();
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    if (tiles[i].claimable && tiles[i].x >= from && tiles[i].x < to) found.push_back(static_cast<int>(i));
  }
  return found;
}

// The level searched, and the estimate over what the search found, its
// walks allowed `work` states.
struct Searched {
  PlacedLevel placed{longAndShort()};
  Reachability search{placed.game};
  ClearingLimits clearing;
  RouteLimits limits{clearing};
  Searched() { search.run(); }
  TourCosts estimate(std::size_t work) {
    return TourCosts(*search.foundStates(), placed.game.floorManager.tiles().size(), 0, limits, work);
  }
};

struct Ranked {
  const char* name;
  Tour cheaper;
  Tour dearer;
};

TEST(TourCosts, RanksOrdersAndEndsByTheTicksBetweenLegs) {
  Searched searched;
  const PlacedLevel& placed = searched.placed;
  TourCosts costs = searched.estimate(SIZE_MAX);
  const std::vector<int> longRun = tilesBetween(placed.game, 0, 304);
  const std::vector<int> shortRun = tilesBetween(placed.game, 336, 416);
  const Leg longFromRight{longRun, false};
  const Leg longFromLeft{longRun, true};
  const Leg shortFromLeft{shortRun, true};
  const Leg shortFromRight{shortRun, false};
  const std::vector<Ranked> cases = {
      {"the short run first", {shortFromLeft, longFromRight}, {longFromRight, shortFromLeft}},
      {"the long run entered from its near end", {shortFromLeft, longFromRight},
       {shortFromLeft, longFromLeft}},
      {"the short run entered from its near end", {shortFromLeft, longFromRight},
       {shortFromRight, longFromRight}},
      {"one leg a run rather than two pieces", {{longRun, false}},
       {{{longRun.begin(), longRun.begin() + 5}, true}, {{longRun.begin() + 5, longRun.end()}, true}}},
  };
  for (const Ranked& c : cases) {
    EXPECT_LT(costs.estimate(c.cheaper), costs.estimate(c.dearer)) << c.name;
  }
  const Tour cheapest = costs.cheapestOrder({longFromLeft, shortFromRight});
  ASSERT_EQ(cheapest.size(), 2u);
  EXPECT_EQ(cheapest.front(), shortFromLeft);
  EXPECT_EQ(cheapest.back(), longFromRight);
  EXPECT_GT(costs.statesWalked(), 0u);
}

// A leg cut anew is ranked without a walk from its new ends, through the
// tiles walked from already; where every end was walked from, as the walks
// rank it.
TEST(TourCosts, RanksACutLegByTheWaysItKnows) {
  Searched searched;
  TourCosts costs = searched.estimate(SIZE_MAX);
  const std::vector<int> longRun = tilesBetween(searched.placed.game, 0, 304);
  const Leg shortLeg{tilesBetween(searched.placed.game, 336, 416), true};
  const Tour whole{shortLeg, {longRun, false}};
  // Before any walk it knows the way from the start alone.
  EXPECT_EQ(costs.estimateKnown(whole), claimways::unreachable);
  const std::uint64_t walkedWhole = costs.estimate(whole);
  EXPECT_EQ(costs.estimateKnown(whole), walkedWhole);
  const std::size_t walked = costs.statesWalked();
  // The long run's far half first, then back for its near half.
  const Tour cut = applied(whole, {TourMove::Split, 1, 1, longRun.size() / 2});
  const std::uint64_t known = costs.estimateKnown(cut);
  EXPECT_EQ(costs.statesWalked(), walked);
  EXPECT_GT(known, walkedWhole);
  EXPECT_LT(known, claimways::unreachable);
}

}  // namespace

namespace {

// Past its walks the estimate knows no way: every order is alike, and the
// tour is left to its plays.
TEST(TourCosts, PastItsWalksEveryOrderIsAlike) {
  Searched searched;
  const PlacedLevel& placed = searched.placed;
  TourCosts costs = searched.estimate(0);
  const Leg longLeg{tilesBetween(placed.game, 0, 304), false};
  const Leg shortLeg{tilesBetween(placed.game, 336, 416), true};
  EXPECT_EQ(costs.estimate({shortLeg, longLeg}), costs.estimate({longLeg, shortLeg}));
  EXPECT_EQ(costs.statesWalked(), 0u);
}

// Every move of a tour keeps its legs, each once, and changes the tour; a
// long tour's moves are a few numbers each, however many legs they move.
TEST(TourMoves, RearrangeTheLegsTheyAreMadeOf) {
  Tour tour;
  for (int run = 0; run < 5; ++run) tour.push_back({{10 * run, 10 * run + 1}, true});
  const std::vector<TourMove> moves = tourMoves(tour.size());
  ASSERT_FALSE(moves.empty());
  for (const TourMove& move : moves) {
    const Tour moved = applied(tour, move);
    ASSERT_EQ(moved.size(), tour.size());
    EXPECT_NE(moved, tour) << move.kind << " " << move.i << " " << move.j;
    std::vector<int> firstTiles;
    for (const Leg& leg : moved) firstTiles.push_back(leg.tiles.front());
    std::sort(firstTiles.begin(), firstTiles.end());
    EXPECT_EQ(firstTiles, (std::vector<int>{0, 10, 20, 30, 40}));
  }
  EXPECT_LT(tourMoves(400).size() * sizeof(TourMove), std::size_t{32} << 20);
}

// A leg cut keeps its tiles from its entry, in their place, and its rest
// is a leg of the same side wherever the move puts it.
TEST(TourMoves, CutALegInTwoAndMoveItsRest) {
  const Leg right{{1, 2, 3, 4}, true}, left{{1, 2, 3, 4}, false}, other{{9}, true};
  const struct {
    Leg cut;
    std::size_t kept, to;
    Tour expected;
  } rows[] = {
      {right, 1, 2, {{{1}, true}, other, {{2, 3, 4}, true}}},
      {right, 3, 0, {{{4}, true}, {{1, 2, 3}, true}, other}},
      {left, 1, 2, {{{4}, false}, other, {{1, 2, 3}, false}}},
      {left, 3, 0, {{{1}, false}, {{2, 3, 4}, false}, other}},
  };
  for (const auto& row : rows) {
    const Tour moved = applied({row.cut, other}, {TourMove::Split, 0, row.to, row.kept});
    EXPECT_EQ(moved, row.expected) << row.cut.fromLeft << " " << row.kept << " " << row.to;
  }
}

// Every cut changes the tour and keeps each tile once; a leg of one tile
// is never cut, and a leg is cut at no more than three places.
TEST(TourMoves, CutsKeepEveryTileOnce) {
  const Tour tour{{{1, 2, 3, 4, 5, 6, 7, 8}, true}, {{20}, true}, {{30, 31}, false}};
  const std::vector<TourMove> moves = splitMoves(tour);
  std::set<std::pair<std::size_t, std::size_t>> cuts;
  for (const TourMove& move : moves) {
    const Tour moved = applied(tour, move);
    ASSERT_EQ(moved.size(), tour.size() + 1);
    EXPECT_NE(moved, tour);
    std::vector<int> tiles;
    for (const Leg& leg : moved) tiles.insert(tiles.end(), leg.tiles.begin(), leg.tiles.end());
    std::sort(tiles.begin(), tiles.end());
    EXPECT_EQ(tiles, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 20, 30, 31}));
    cuts.insert({move.i, move.length});
  }
  EXPECT_EQ(cuts, (std::set<std::pair<std::size_t, std::size_t>>{{0, 2}, {0, 4}, {0, 6}, {2, 1}}));
  EXPECT_EQ(moves.size(), 4u * 3u);  // each cut to the three other places
}

}  // namespace
