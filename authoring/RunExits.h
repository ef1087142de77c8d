#pragma once
// The least ticks from every found state on to a claim on some run of
// claimable tiles (authoring/RunBound.h), enemies ignored, cooldown waits
// free: what leaving a run where a stay ends costs at least. Or, walked
// the other way, the least ticks from a claim on some run to every state:
// what arriving there costs at least.
//
// Each state keeps its two best runs, so that "to a run other than the
// one the player stands on" is read off at once for every run: one walk
// over the found states in all (backwards to the claims, forwards from
// them), each state settled at most twice, asking the limits as it goes.
// Memory: two costs and two runs a state, and backwards the found edges
// indexed by where they end (two words an edge).
#include <cstdint>
#include <vector>

#include "authoring/ClaimWays.h"

class RouteLimits;

// A claim on a run: `ticks` from the start of an edge that leaves `state`;
// walked forwards, a claim `ticks` before the player stands in `state`.
struct RunTarget {
  std::uint32_t state;
  std::uint64_t ticks;
  int run;
};

class ToOtherRuns {
 public:
  enum class Walk { ToClaims, FromClaims };
  // Empty (found() false) when the limits passed first.
  ToOtherRuns(const StateGraph& g, const std::vector<RunTarget>& targets,
              std::uint32_t longestEdge, const RouteLimits& limits, Walk walk = Walk::ToClaims);

  bool found() const { return found_; }
  // Least ticks from the state to a claim on a run other than `run`
  // (FromClaims: from such a claim to the state).
  std::uint64_t from(std::uint32_t state, int run) const;

 private:
  struct Best {
    std::uint64_t cost[2] = {claimways::unreachable, claimways::unreachable};
    int run[2] = {-1, -1};
    bool offer(std::uint64_t cost, int run);
  };
  template <typename Edges>
  bool walk(const StateGraph& g, const std::vector<RunTarget>& targets,
            std::uint32_t longestEdge, const RouteLimits& limits, Edges edges);

  std::vector<Best> best_;
  bool found_ = false;
};
