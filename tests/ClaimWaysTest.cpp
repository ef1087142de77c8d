// The least ticks over found states that the par's bounds are built on: a
// walk that loses a source, or takes a wait as dear as it was found, lets a
// bound pass a real route.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "authoring/ClaimWays.h"
#include "authoring/ClearingRoute.h"
#include "authoring/StateGraph.h"
#include "tests/support/HandGraph.h"

using namespace claimways;

namespace {

struct Step {
  std::uint32_t from, to, ticks;
  bool wait;
};

// States 0 .. count-1 told apart by where they stand; no step claims.
StateGraph graphOf(std::uint32_t count, const std::vector<Step>& steps) {
  std::vector<HandPlace> places;
  for (std::uint32_t s = 0; s < count; ++s) places.push_back({static_cast<float>(s), 0.0f});
  std::vector<HandStep> hand;
  for (const Step& step : steps) hand.push_back({step.from, step.to, step.ticks, step.wait, {}});
  return handGraph(places, hand);
}

}  // namespace

TEST(LeastTicks, CarryEverySourceAtItsOwnCostAndCountNoWait) {
  struct Case {
    std::string name;
    std::vector<Step> steps;
    std::vector<Source> sources;
    std::uint64_t within;
    std::vector<std::uint64_t> expected;  // by state of four
    std::vector<bool> avoid = {};         // by edge, in the order given
  };
  const std::uint64_t never = unreachable;
  // A chain 0 -> 1 -> 2 -> 3, each step a tick: the longest edge is 1.
  const std::vector<Step> chain{{0, 1, 1, false}, {1, 2, 1, false}, {2, 3, 1, false}};
  const std::vector<Case> cases{
      {"a source at no cost", chain, {{0, 0}}, never, {0, 1, 2, 3}},
      {"a source dearer than the longest edge", chain, {{1, 40}}, never, {never, 40, 41, 42}},
      {"the cheaper of two sources, the dearer given first", chain, {{0, 30}, {2, 5}}, never,
       {30, 31, 5, 6}},
      {"sources far apart in cost", chain, {{2, 900}, {0, 3}}, never, {3, 4, 5, 6}},
      {"nothing dearer than within", chain, {{0, 7}}, 8, {7, 8, never, never}},
      {"a source dearer than within", chain, {{0, 9}}, 8, {never, never, never, never}},
      {"a cooldown's wait counts as nothing",
       {{0, 1, 200, true}, {1, 2, 3, false}, {0, 3, 50, false}}, {{0, 0}}, never, {0, 0, 3, 50}},
      {"an edge avoided, the way round it taken",
       {{0, 1, 1, false}, {0, 3, 9, false}, {1, 2, 1, false}, {2, 3, 1, false}}, {{0, 0}}, never,
       {0, 1, never, 9}, {false, false, true, false}},
  };
  for (const Case& c : cases) {
    const StateGraph g = graphOf(4, c.steps);
    RouteLimits limits{ClearingLimits{}};
    const std::vector<bool>* avoid = c.avoid.empty() ? nullptr : &c.avoid;
    const Costs costs = leastTicks(Steps(g), c.sources, longestEdge(g), limits, c.within, avoid);
    EXPECT_EQ(costs, c.expected) << c.name;
  }
}
