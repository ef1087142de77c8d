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

Steps::Steps(const StateGraph& g) : first_(g.size() + 1, 0) {
  const std::uint32_t edges = g.expanded() == 0 ? 0 : g.endEdge(static_cast<std::uint32_t>(g.expanded() - 1));
  steps_.reserve(edges);
  for (std::uint32_t s = 0; s < g.size(); ++s) {
    first_[s] = static_cast<std::uint32_t>(steps_.size());
    for (std::uint32_t e = g.firstEdge(s); e < g.endEdge(s); ++e) {
      steps_.push_back({g.edge(e).to, static_cast<std::uint32_t>(edgeCost(g.edge(e)))});
    }
  }
  first_.back() = static_cast<std::uint32_t>(steps_.size());
}

// Edge costs are small (a chain is stored after at most a few hundred
// ticks), so the open states sit in a ring of buckets, one per cost. A
// source may start dearer than the ring is long: the sources wait, cheapest
// first, until the walk's cost reaches theirs.
Costs leastTicks(const Steps& g, const std::vector<Source>& sources, std::uint32_t longestEdge,
                 const RouteLimits& limits, std::uint64_t within,
                 const std::vector<bool>* avoid) {
  Costs cost(g.states(), unreachable);
  std::vector<std::vector<std::uint32_t>> ring(longestEdge + 1);
  std::size_t open = 0;
  const auto start = [&](const Source& s) {
    if (s.cost > within || s.cost >= cost[s.state]) return;
    cost[s.state] = s.cost;
    ring[s.cost % ring.size()].push_back(s.state);
    ++open;
  };
  // Those the ring holds from the first tick; the dearer wait their turn.
  std::vector<Source> dearer;
  for (const Source& s : sources) {
    if (s.cost < ring.size()) {
      start(s);
    } else {
      dearer.push_back(s);
    }
  }
  std::sort(dearer.begin(), dearer.end(),
            [](const Source& a, const Source& b) { return a.cost < b.cost; });
  std::size_t waiting = 0;  // the first of the dearer not yet in the ring
  std::size_t taken = 0;
  for (std::uint64_t at = 0; open > 0 || waiting < dearer.size(); ++at) {
    if (open == 0) at = std::max(at, dearer[waiting].cost);
    for (; waiting < dearer.size() && dearer[waiting].cost <= at; ++waiting) start(dearer[waiting]);
    std::vector<std::uint32_t>& bucket = ring[at % ring.size()];
    // The bucket grows while it is read: a free wait lands in it again.
    for (std::size_t i = 0; i < bucket.size(); ++i) {
      if (taken++ % 4096 == 0 && limits.over()) return {};
      const std::uint32_t state = bucket[i];
      --open;
      if (cost[state] != at) continue;
      for (std::uint32_t e = g.first(state); e < g.end(state); ++e) {
        if (avoid != nullptr && (*avoid)[e]) continue;
        const std::uint32_t to = g.to(e);
        const std::uint64_t next = at + g.ticks(e);
        if (next > within || next >= cost[to]) continue;
        cost[to] = next;
        ring[next % ring.size()].push_back(to);
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

ClaimStart claimStart(const StateGraph& g, std::size_t tileCount, const RouteLimits& limits) {
  ClaimStart start(g);
  start.claims = claimEdges(g, tileCount);
  start.longest = longestEdge(g);
  start.fromStart = leastTicks(start.steps, {{0, 0}}, start.longest, limits);
  return start;
}

}  // namespace claimways
