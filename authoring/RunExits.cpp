#include "authoring/RunExits.h"

#include <algorithm>
#include <utility>

#include "authoring/ClearingRoute.h"

using namespace claimways;

namespace {

// The found edges by the state they end in: (state left, edge).
struct Incoming {
  std::vector<std::uint32_t> first;  // by state, into `edges`; one more at the end
  std::vector<std::pair<std::uint32_t, std::uint32_t>> edges;
};

Incoming incomingEdges(const StateGraph& g) {
  Incoming in;
  in.first.assign(g.size() + 1, 0);
  for (std::uint32_t s = 0; s < g.expanded(); ++s) {
    for (std::uint32_t e = g.firstEdge(s); e < g.endEdge(s); ++e) ++in.first[g.edge(e).to + 1];
  }
  for (std::size_t s = 1; s < in.first.size(); ++s) in.first[s] += in.first[s - 1];
  in.edges.resize(in.first.back());
  std::vector<std::uint32_t> next(in.first.begin(), in.first.end() - 1);
  for (std::uint32_t s = 0; s < g.expanded(); ++s) {
    for (std::uint32_t e = g.firstEdge(s); e < g.endEdge(s); ++e) in.edges[next[g.edge(e).to]++] = {s, e};
  }
  return in;
}

struct Open {
  std::uint32_t state;
  int run;
};

}  // namespace

// Keeps the two cheapest runs, each once; true when the offer is kept.
bool ToOtherRuns::Best::offer(std::uint64_t c, int r) {
  if (r == run[0]) {
    if (c >= cost[0]) return false;
    cost[0] = c;
    return true;
  }
  if (c >= cost[1] && r != run[1]) return false;
  if (r == run[1] && c >= cost[1]) return false;
  cost[1] = c;
  run[1] = r;
  if (cost[1] < cost[0]) {
    std::swap(cost[0], cost[1]);
    std::swap(run[0], run[1]);
  }
  return true;
}

ToOtherRuns::ToOtherRuns(const StateGraph& g, const std::vector<RunTarget>& targets,
                         std::uint32_t longestEdge, const RouteLimits& limits, Walk direction)
    : best_(g.size()) {
  if (direction == Walk::FromClaims) {
    found_ = walk(g, targets, longestEdge, limits, [&g](std::uint32_t state, auto visit) {
      for (std::uint32_t e = g.firstEdge(state); e < g.endEdge(state); ++e) visit(g.edge(e).to, e);
    });
  } else {
    const Incoming in = incomingEdges(g);
    found_ = walk(g, targets, longestEdge, limits, [&in](std::uint32_t state, auto visit) {
      for (std::uint32_t n = in.first[state]; n < in.first[state + 1]; ++n) {
        visit(in.edges[n].first, in.edges[n].second);
      }
    });
  }
  if (!found_) best_.clear();
}

std::uint64_t ToOtherRuns::from(std::uint32_t state, int run) const {
  const Best& b = best_[state];
  return b.run[0] != run ? b.cost[0] : b.cost[1];
}

// As the walks of authoring/ClaimWays.h, over the edges `edges` hands a
// state's neighbours by: costs are small, so the open labels sit in a ring
// of buckets.
template <typename Edges>
bool ToOtherRuns::walk(const StateGraph& g, const std::vector<RunTarget>& targets,
                       std::uint32_t longestEdge, const RouteLimits& limits, Edges edges) {
  std::uint64_t widest = longestEdge;
  for (const RunTarget& t : targets) widest = std::max(widest, t.ticks);
  std::vector<std::vector<Open>> ring(widest + 1);
  std::size_t open = 0;
  for (const RunTarget& t : targets) {
    if (!best_[t.state].offer(t.ticks, t.run)) continue;
    ring[t.ticks % ring.size()].push_back({t.state, t.run});
    ++open;
  }
  std::size_t taken = 0;
  for (std::uint64_t at = 0; open > 0; ++at) {
    std::vector<Open>& bucket = ring[at % ring.size()];
    for (std::size_t i = 0; i < bucket.size(); ++i) {
      if (taken++ % 4096 == 0 && limits.over()) return false;
      const Open o = bucket[i];
      --open;
      const Best& here = best_[o.state];
      const bool current = (here.run[0] == o.run && here.cost[0] == at) ||
                           (here.run[1] == o.run && here.cost[1] == at);
      if (!current) continue;
      edges(o.state, [&](std::uint32_t beside, std::uint32_t e) {
        const std::uint64_t next = at + edgeCost(g.edge(e));
        if (!best_[beside].offer(next, o.run)) return;
        ring[next % ring.size()].push_back({beside, o.run});
        ++open;
      });
    }
    bucket.clear();
  }
  return true;
}
