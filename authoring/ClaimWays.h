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

// The found edges as a walk in ticks reads them: where each leads and what
// it costs (edgeCost), numbered as in the graph. A walk takes every edge of
// each state it settles, in no order the memory can guess, so a third of
// the bytes to read is a third of the time waited. Memory: 8 bytes an edge
// and 4 a state.
class Steps {
 public:
  explicit Steps(const StateGraph& g);
  std::size_t states() const { return first_.size() - 1; }
  std::size_t edges() const { return steps_.size(); }
  std::uint32_t first(std::uint32_t state) const { return first_[state]; }
  std::uint32_t end(std::uint32_t state) const { return first_[state + 1]; }
  std::uint32_t to(std::uint32_t e) const { return steps_[e].to; }
  std::uint32_t ticks(std::uint32_t e) const { return steps_[e].ticks; }

 private:
  struct Step {
    std::uint32_t to;
    std::uint32_t ticks;
  };
  std::vector<std::uint32_t> first_;  // by state, and one past the last
  std::vector<Step> steps_;
};

// Least ticks from any of the sources to every state, each source starting
// at its own cost; states dearer than `within` are left unreachable, and
// the walk stops there. Empty when the limits pass before every state has
// its cost. avoid: by edge, those the walk does not take (none when
// null).
Costs leastTicks(const Steps& steps, const std::vector<Source>& sources,
                 std::uint32_t longestEdge, const RouteLimits& limits,
                 std::uint64_t within = unreachable, const std::vector<bool>* avoid = nullptr);

// By tile: every edge that claims it, with the state it leaves.
std::vector<std::vector<ClaimEdge>> claimEdges(const StateGraph& g, std::size_t tileCount);

// What both par bounds start from, found once: the edges as walks read
// them, the edges claiming each tile, the longest edge, and the least
// ticks from the life's start to every state (empty when the limits passed
// first).
struct ClaimStart {
  explicit ClaimStart(const StateGraph& g) : steps(g) {}
  Steps steps;
  std::vector<std::vector<ClaimEdge>> claims;
  std::uint32_t longest = 1;
  Costs fromStart;
};
ClaimStart claimStart(const StateGraph& g, std::size_t tileCount, const RouteLimits& limits);

}  // namespace claimways
