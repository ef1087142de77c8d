#pragma once
// The least ticks between the found states (authoring/StateGraph.h) and the
// edges that claim each tile: what the par's lower bounds are built from.
// Enemies only ever take a way away, so these ways, found without them,
// bound every way with them; cooldown waits are counted as nothing (a state
// that stands for every count may have been found with a longer one).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "authoring/StateGraph.h"

class RouteLimits;

namespace claimways {

using Costs = std::vector<std::uint64_t>;
inline constexpr std::uint64_t unreachable = UINT64_MAX / 4;

struct Source {
  std::uint32_t state;
  std::uint64_t cost;
};

struct ClaimEdge {
  std::uint32_t from;
  std::uint32_t edge;
};

inline std::uint64_t edgeCost(const StateEdge& edge) { return edge.wait ? 0 : edge.ticks; }


// The longest edge that is not a wait, at least 1.
std::uint32_t longestEdge(const StateGraph& g);

// Least ticks from any of the sources to every state, each source starting
// at its own cost (no more than the longest edge); states dearer than
// `within` are left unreachable, and the walk stops there. Empty when the
// limits pass before every state has its cost.
Costs leastTicks(const StateGraph& g, const std::vector<Source>& sources,
                 std::uint32_t longestEdge, const RouteLimits& limits,
                 std::uint64_t within = unreachable);

// By tile: every edge that claims it, with the state it leaves.
std::vector<std::vector<ClaimEdge>> claimEdges(const StateGraph& g, std::size_t tileCount);

// Whether the edge claims the tile.
bool claims(const StateGraph& g, std::uint32_t e, int tile);

// What both par bounds start from, found once: the edges claiming each
// tile, the longest edge, and the least ticks from the life's start to
// every state (empty when the limits passed first).
struct ClaimStart {
  std::vector<std::vector<ClaimEdge>> claims;
  std::uint32_t longest = 1;
  Costs fromStart;
};
ClaimStart claimStart(const StateGraph& g, std::size_t tileCount, const RouteLimits& limits);

}  // namespace claimways
