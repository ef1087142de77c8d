#pragma once
// Walks over the states a reachability search found (authoring/StateGraph.h),
// shared by the route without enemies, the search with them and the par:
// - BreadthFirstWalk: everything a state leads to, nearest in edges first;
// - ShortestWays: the cheapest ways in ticks to the edges a caller wants
//   (Dijkstra);
// - TileReach: the tiles each strongly connected component can still claim;
// - NearestWay: the way to the nearest wanted tile that leaves nothing
//   behind, built on the three.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <queue>
#include <utility>
#include <vector>

#include "authoring/StateGraph.h"

namespace stateways {

inline constexpr std::uint32_t none = UINT32_MAX;

// Breadth-first walks over a graph's edges with parent links, reused
// between walks: a state counts as seen only in the walk that saw it.
class BreadthFirstWalk {
 public:
  explicit BreadthFirstWalk(const StateGraph& graph)
      : graph_(graph), seenIn_(graph.size(), 0), parentEdge_(graph.size(), none),
        parentState_(graph.size(), none) {}

  // Walks from `from` over the edges that `follow` accepts and hands each
  // such edge to `visit` in breadth-first order until it returns true;
  // returns that edge, or none.
  template <typename Follow, typename Visit>
  std::uint32_t run(std::uint32_t from, Follow follow, Visit visit) {
    ++walk_;
    queue_.clear();
    queue_.push_back(from);
    seenIn_[from] = walk_;
    parentEdge_[from] = none;
    for (size_t head = 0; head < queue_.size(); ++head) {
      const std::uint32_t state = queue_[head];
      for (std::uint32_t e = graph_.firstEdge(state); e < graph_.endEdge(state); ++e) {
        if (!follow(e)) continue;
        if (visit(state, e)) return e;
        const std::uint32_t to = graph_.edge(e).to;
        if (seenIn_[to] == walk_) continue;
        seenIn_[to] = walk_;
        parentEdge_[to] = e;
        parentState_[to] = state;
        queue_.push_back(to);
      }
    }
    return none;
  }

  // The edges from the walk's start to `state` and on along `last`.
  std::vector<std::uint32_t> pathTo(std::uint32_t state, std::uint32_t last) const {
    std::vector<std::uint32_t> path{last};
    for (std::uint32_t s = state; parentEdge_[s] != none; s = parentState_[s]) {
      path.push_back(parentEdge_[s]);
    }
    std::reverse(path.begin(), path.end());
    return path;
  }

 private:
  const StateGraph& graph_;
  std::uint32_t walk_ = 0;
  std::vector<std::uint32_t> seenIn_;
  std::vector<std::uint32_t> parentEdge_;
  std::vector<std::uint32_t> parentState_;
  std::vector<std::uint32_t> queue_;
};

// Shortest ways in ticks from one state (Dijkstra), kept as parent links.
class ShortestWays {
 public:
  explicit ShortestWays(const StateGraph& graph)
      : graph_(graph), seenIn_(graph.size(), 0), cost_(graph.size(), 0),
        parentEdge_(graph.size(), none), parentState_(graph.size(), none) {}

  struct Found {
    std::uint64_t cost;  // ticks to the end of the edge
    std::uint32_t from;
    std::uint32_t edge;
  };

  // The cheapest edges, at most `most` of them, that `wanted` accepts, over
  // the edges `follow` accepts, cheapest first.
  template <typename Follow, typename Wanted>
  std::vector<Found> cheapest(std::uint32_t from, Follow follow, Wanted wanted, size_t most) {
    ++walk_;
    std::vector<Found> found;
    using Entry = std::pair<std::uint64_t, std::uint32_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    reach(from, 0, none, none);
    open.emplace(0, from);
    while (!open.empty()) {
      const auto [cost, state] = open.top();
      open.pop();
      if (cost != cost_[state]) continue;
      ++settled_;
      if (found.size() >= most && cost >= found.back().cost) break;
      for (std::uint32_t e = graph_.firstEdge(state); e < graph_.endEdge(state); ++e) {
        if (!follow(e)) continue;
        const std::uint64_t next = cost + graph_.edge(e).ticks;
        if (wanted(e)) {
          found.push_back({next, state, e});
          std::sort(found.begin(), found.end(),
                    [](const Found& a, const Found& b) { return a.cost < b.cost; });
          if (found.size() > most) found.pop_back();
        }
        const std::uint32_t to = graph_.edge(e).to;
        if (seenIn_[to] == walk_ && cost_[to] <= next) continue;
        reach(to, next, e, state);
        open.emplace(next, to);
      }
    }
    return found;
  }

  // States taken from the queue, over every search: a measure of the work
  // that does not hang on the machine's speed.
  std::size_t settled() const { return settled_; }

  // The edges from the start of the last search to `found.from`, then found.edge.
  std::vector<std::uint32_t> pathTo(const Found& found) const {
    std::vector<std::uint32_t> path{found.edge};
    for (std::uint32_t s = found.from; parentEdge_[s] != none; s = parentState_[s]) {
      path.push_back(parentEdge_[s]);
    }
    std::reverse(path.begin(), path.end());
    return path;
  }

 private:
  void reach(std::uint32_t state, std::uint64_t cost, std::uint32_t edge, std::uint32_t from) {
    seenIn_[state] = walk_;
    cost_[state] = cost;
    parentEdge_[state] = edge;
    parentState_[state] = from;
  }

  const StateGraph& graph_;
  std::uint32_t walk_ = 0;
  std::vector<std::uint32_t> seenIn_;
  std::vector<std::uint64_t> cost_;
  std::vector<std::uint32_t> parentEdge_;
  std::vector<std::uint32_t> parentState_;
  std::size_t settled_ = 0;
};

inline bool claimsWanted(const StateGraph& graph, std::uint32_t e, const std::vector<bool>& wanted) {
  const StateEdge& edge = graph.edge(e);
  for (std::uint32_t n = edge.claimsBegin; n < edge.claimsBegin + edge.claimCount; ++n) {
    if (wanted[graph.claimedTile(n)]) return true;
  }
  return false;
}

inline void unwant(const StateGraph& graph, std::uint32_t e, std::vector<bool>& wanted) {
  const StateEdge& edge = graph.edge(e);
  for (std::uint32_t n = edge.claimsBegin; n < edge.claimsBegin + edge.claimCount; ++n) {
    wanted[graph.claimedTile(n)] = false;
  }
}

// Whether every wanted tile can be claimed from the state: a walk over
// every edge it leads to.
inline bool claimsAllFrom(const StateGraph& graph, BreadthFirstWalk& walk, std::uint32_t from,
                          std::vector<bool> wanted) {
  walk.run(from, [](std::uint32_t) { return true; }, [&](std::uint32_t, std::uint32_t e) {
    unwant(graph, e, wanted);
    return false;
  });
  return std::none_of(wanted.begin(), wanted.end(), [](bool w) { return w; });
}

// The tiles that can still be claimed from each component of the states:
// those its own edges claim and those of every component it leads to.
// Components are numbered sinks first, so each one's successors are known
// before it. Empty when the level is too large to hold them all.
class TileReach {
 public:
  TileReach(const StateGraph& graph, const std::vector<std::uint32_t>& components,
            std::size_t tileCount)
      : words_((tileCount + 63) / 64) {
    std::uint32_t count = 0;
    for (std::uint32_t c : components) count = std::max(count, c + 1);
    if (static_cast<std::uint64_t>(count) * words_ > maxWords) return;
    bits_.assign(static_cast<std::size_t>(count) * words_, 0);
    std::vector<std::uint32_t> byComponent(components.size());
    for (std::uint32_t s = 0; s < components.size(); ++s) byComponent[s] = s;
    std::sort(byComponent.begin(), byComponent.end(),
              [&](std::uint32_t a, std::uint32_t b) { return components[a] < components[b]; });
    for (std::uint32_t s : byComponent) {
      std::uint64_t* own = row(components[s]);
      for (std::uint32_t e = graph.firstEdge(s); e < graph.endEdge(s); ++e) {
        const StateEdge& edge = graph.edge(e);
        for (std::uint32_t n = edge.claimsBegin; n < edge.claimsBegin + edge.claimCount; ++n) {
          const int tile = graph.claimedTile(n);
          own[tile / 64] |= std::uint64_t{1} << (tile % 64);
        }
        const std::uint32_t next = components[edge.to];
        if (next == components[s]) continue;
        const std::uint64_t* after = row(next);
        for (std::size_t w = 0; w < words_; ++w) own[w] |= after[w];
      }
    }
  }

  bool known() const { return !bits_.empty(); }
  // Whether every tile still wanted can be claimed from the component.
  bool holds(std::uint32_t component, const std::vector<bool>& wanted) const {
    const std::uint64_t* reach = bits_.data() + static_cast<std::size_t>(component) * words_;
    for (std::size_t t = 0; t < wanted.size(); ++t) {
      if (wanted[t] && (reach[t / 64] >> (t % 64) & 1) == 0) return false;
    }
    return true;
  }

 private:
  static constexpr std::uint64_t maxWords = std::uint64_t{1} << 24;  // 128 MB
  std::uint64_t* row(std::uint32_t component) {
    return bits_.data() + static_cast<std::size_t>(component) * words_;
  }

  std::size_t words_;
  std::vector<std::uint64_t> bits_;
};

// The way to the nearest wanted tile as the routes take it: inside the
// component first, where nothing is lost; else the cheapest way out that
// leaves no wanted tile behind, of the `tried` cheapest; else simply the
// cheapest. Empty when no wanted tile can be claimed from there.
class NearestWay {
 public:
  // lookedAt: how many of the nearest claims inside the component are
  // weighed with the way on from each (1: simply the nearest).
  // reach: the tiles each component can claim, gathered once for the graph.
  NearestWay(const StateGraph& graph, const std::vector<std::uint32_t>& components,
             const TileReach& reach, std::size_t lookedAt = 1)
      : graph_(graph), components_(components), ways_(graph), walk_(graph), reach_(reach),
        lookedAt_(std::max<std::size_t>(lookedAt, 1)) {}

  std::vector<std::uint32_t> from(std::uint32_t state, const std::vector<bool>& wanted,
                                  std::size_t tried = 16) {
    const std::uint32_t here = components_[state];
    auto inside = [&](std::uint32_t e) { return components_[graph_.edge(e).to] == here; };
    auto claims = [&](std::uint32_t e) { return claimsWanted(graph_, e, wanted); };
    std::vector<ShortestWays::Found> found = ways_.cheapest(state, inside, claims, lookedAt_);
    if (!found.empty()) return bestOfNearest(found, wanted);
    found = ways_.cheapest(state, [](std::uint32_t) { return true; }, claims, tried);
    for (const ShortestWays::Found& candidate : found) {
      std::vector<std::uint32_t> way = ways_.pathTo(candidate);
      if (leavesNothingBehind(wanted, way)) return way;
    }
    return found.empty() ? std::vector<std::uint32_t>{} : ways_.pathTo(found.front());
  }

  // The cheapest ways to each of up to `most` other claims that leave no
  // wanted tile behind, cheapest first.
  std::vector<std::vector<std::uint32_t>> others(std::uint32_t state,
                                                 const std::vector<bool>& wanted,
                                                 std::size_t most) {
    auto claims = [&](std::uint32_t e) { return claimsWanted(graph_, e, wanted); };
    std::vector<std::vector<std::uint32_t>> kept;
    for (const ShortestWays::Found& candidate :
         ways_.cheapest(state, [](std::uint32_t) { return true; }, claims, most)) {
      std::vector<std::uint32_t> way = ways_.pathTo(candidate);
      if (leavesNothingBehind(wanted, way)) kept.push_back(std::move(way));
    }
    return kept;
  }

  ShortestWays& ways() { return ways_; }

 private:
  // Of the nearest claims, the one whose way plus the way on from it to the
  // next nearest claim is shortest: a step of lookahead keeps the greedy
  // order from leaving a tile behind that it must come back for.
  std::vector<std::uint32_t> bestOfNearest(const std::vector<ShortestWays::Found>& found,
                                           const std::vector<bool>& wanted) {
    std::vector<std::vector<std::uint32_t>> ways;
    for (const ShortestWays::Found& f : found) ways.push_back(ways_.pathTo(f));
    if (ways.size() == 1) return ways.front();
    std::size_t best = 0;
    std::uint64_t bestCost = UINT64_MAX;
    for (std::size_t i = 0; i < ways.size(); ++i) {
      std::vector<bool> still = wanted;
      for (std::uint32_t e : ways[i]) unwant(graph_, e, still);
      const std::uint32_t end = graph_.edge(ways[i].back()).to;
      const std::uint32_t here = components_[end];
      auto inside = [&](std::uint32_t e) { return components_[graph_.edge(e).to] == here; };
      auto claims = [&](std::uint32_t e) { return claimsWanted(graph_, e, still); };
      const std::vector<ShortestWays::Found> next = ways_.cheapest(end, inside, claims, 1);
      const std::uint64_t on = next.empty() ? 0 : next.front().cost;
      if (found[i].cost + on < bestCost) {
        bestCost = found[i].cost + on;
        best = i;
      }
    }
    return ways[best];
  }

  // Whether every wanted tile but the way's own can still be claimed after
  // it: known at a glance by component where the level is small enough.
  bool leavesNothingBehind(const std::vector<bool>& wanted,
                           const std::vector<std::uint32_t>& way) {
    std::vector<bool> still = wanted;
    for (std::uint32_t e : way) unwant(graph_, e, still);
    const std::uint32_t end = graph_.edge(way.back()).to;
    if (!reach_.known()) return claimsAllFrom(graph_, walk_, end, std::move(still));
    return reach_.holds(components_[end], still);
  }

  const StateGraph& graph_;
  const std::vector<std::uint32_t>& components_;
  ShortestWays ways_;
  BreadthFirstWalk walk_;
  const TileReach& reach_;
  std::size_t lookedAt_;
};

}  // namespace stateways
