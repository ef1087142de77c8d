#include "authoring/ClaimWays.h"

#include <algorithm>

#include "authoring/ClearingRoute.h"

namespace claimways {

std::uint32_t longestEdge(const StateGraph& g) {
  std::uint32_t longest = 1;
  for (std::uint32_t s = 0; s < g.expanded(); ++s) {
    for (std::uint32_t e = g.firstEdge(s); e < g.endEdge(s); ++e) {
      if (!g.edge(e).wait) longest = std::max(longest, g.edge(e).ticks);
    }
  }
  return longest;
}

// Edge costs are small (a chain is stored after at most a few hundred
// ticks), so the open states sit in a ring of buckets, one per cost.
Costs leastTicks(const StateGraph& g, const std::vector<Source>& sources,
                 std::uint32_t longestEdge, const RouteLimits& limits, std::uint64_t within) {
  Costs cost(g.size(), unreachable);
  std::vector<std::vector<std::uint32_t>> ring(longestEdge + 1);
  std::size_t open = 0;
  for (const Source& s : sources) {
    if (s.cost > within || s.cost >= cost[s.state]) continue;
    cost[s.state] = s.cost;
    ring[s.cost % ring.size()].push_back(s.state);
    ++open;
  }
  std::size_t taken = 0;
  for (std::uint64_t at = 0; open > 0; ++at) {
    std::vector<std::uint32_t>& bucket = ring[at % ring.size()];
    // The bucket grows while it is read: a free wait lands in it again.
    for (std::size_t i = 0; i < bucket.size(); ++i) {
      if (taken++ % 4096 == 0 && limits.over()) return {};
      const std::uint32_t state = bucket[i];
      --open;
      if (cost[state] != at) continue;
      for (std::uint32_t e = g.firstEdge(state); e < g.endEdge(state); ++e) {
        const StateEdge& edge = g.edge(e);
        const std::uint64_t next = at + edgeCost(edge);
        if (next > within || next >= cost[edge.to]) continue;
        cost[edge.to] = next;
        ring[next % ring.size()].push_back(edge.to);
        ++open;
      }
    }
    bucket.clear();
  }
  return cost;
}

std::vector<std::vector<ClaimEdge>> claimEdges(const StateGraph& g, std::size_t tileCount) {
  std::vector<std::vector<ClaimEdge>> byTile(tileCount);
  for (std::uint32_t s = 0; s < g.expanded(); ++s) {
    for (std::uint32_t e = g.firstEdge(s); e < g.endEdge(s); ++e) {
      const StateEdge& edge = g.edge(e);
      for (std::uint32_t n = edge.claimsBegin; n < edge.claimsBegin + edge.claimCount; ++n) {
        byTile[g.claimedTile(n)].push_back({s, e});
      }
    }
  }
  return byTile;
}

bool claims(const StateGraph& g, std::uint32_t e, int tile) {
  const StateEdge& edge = g.edge(e);
  for (std::uint32_t n = edge.claimsBegin; n < edge.claimsBegin + edge.claimCount; ++n) {
    if (g.claimedTile(n) == tile) return true;
  }
  return false;
}

ClaimStart claimStart(const StateGraph& g, std::size_t tileCount, const RouteLimits& limits) {
  ClaimStart start;
  start.claims = claimEdges(g, tileCount);
  start.longest = longestEdge(g);
  start.fromStart = leastTicks(g, {{0, 0}}, start.longest, limits);
  return start;
}

}  // namespace claimways
