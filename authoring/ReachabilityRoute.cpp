// The route through the states the search found: nearest unclaimed tile
// next, taking care not to leave behind tiles it could not come back to.
#include <algorithm>
#include <climits>
#include <functional>
#include <queue>

#include "authoring/Reachability.h"
#include "game/Game.h"

namespace {

const std::uint32_t none = UINT32_MAX;

// Breadth-first walks over a graph's edges with parent links, reused
// between walks: a state counts as seen only in the walk that saw it.
class Walk {
 public:
  explicit Walk(const StateGraph& graph)
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
class Ways {
 public:
  explicit Ways(const StateGraph& graph)
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
  std::vector<Found> run(std::uint32_t from, Follow follow, Wanted wanted, size_t most) {
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

  // The edges from the start of the last run to `found.from`, then found.edge.
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
};

bool claimsWanted(const StateGraph& graph, std::uint32_t e, const std::vector<bool>& wanted) {
  const StateEdge& edge = graph.edge(e);
  for (std::uint32_t n = edge.claimsBegin; n < edge.claimsBegin + edge.claimCount; ++n) {
    if (wanted[graph.claimedTile(n)]) return true;
  }
  return false;
}

void unwant(const StateGraph& graph, std::uint32_t e, std::vector<bool>& wanted) {
  const StateEdge& edge = graph.edge(e);
  for (std::uint32_t n = edge.claimsBegin; n < edge.claimsBegin + edge.claimCount; ++n) {
    wanted[graph.claimedTile(n)] = false;
  }
}

// How many ways out of a component are tried before the cheapest is taken
// whatever it leaves behind.
const size_t candidatesTried = 16;

}  // namespace

// Strongly connected components (iterative Tarjan): states of one
// component can reach each other, so a way inside one loses nothing.
std::vector<std::uint32_t> Reachability::components() const {
  const StateGraph& g = *graph_;
  const std::uint32_t n = static_cast<std::uint32_t>(g.size());
  std::vector<std::uint32_t> index(n, none), low(n, 0), component(n, none);
  std::vector<bool> onStack(n, false);
  std::vector<std::uint32_t> stack;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> calls;  // state, next edge
  std::uint32_t counter = 0;
  std::uint32_t components = 0;
  auto enter = [&](std::uint32_t v) {
    index[v] = low[v] = counter++;
    stack.push_back(v);
    onStack[v] = true;
    calls.emplace_back(v, g.firstEdge(v));
  };
  for (std::uint32_t root = 0; root < n; ++root) {
    if (index[root] != none) continue;
    enter(root);
    while (!calls.empty()) {
      const std::uint32_t v = calls.back().first;
      const std::uint32_t e = calls.back().second;
      if (e < g.endEdge(v)) {
        ++calls.back().second;
        const std::uint32_t w = g.edge(e).to;
        if (index[w] == none) {
          enter(w);
        } else if (onStack[w]) {
          low[v] = std::min(low[v], index[w]);
        }
        continue;
      }
      if (low[v] == index[v]) {
        std::uint32_t w;
        do {
          w = stack.back();
          stack.pop_back();
          onStack[w] = false;
          component[w] = components;
        } while (w != v);
        ++components;
      }
      calls.pop_back();
      if (!calls.empty()) low[calls.back().first] = std::min(low[calls.back().first], low[v]);
    }
  }
  return component;
}

Reachability::Route Reachability::route() const {
  Route result;
  if (!graph_ || graph_->size() == 0) return result;
  const StateGraph& g = *graph_;
  const std::vector<std::uint32_t> component = components();
  const std::vector<FloorTile>& tiles = game_.floorManager.tiles();
  std::vector<bool> wanted(tiles.size(), false);
  for (size_t i = 0; i < tiles.size(); ++i) wanted[i] = tiles[i].claimable != 0 && tileReached_[i];
  auto wantedLeft = [&]() { return std::count(wanted.begin(), wanted.end(), true); };
  Ways ways(g);
  Walk walk(g);
  auto any = [](std::uint32_t) { return true; };
  auto claimsSome = [&](std::uint32_t e) { return claimsWanted(g, e, wanted); };
  // Whether every wanted tile but those of the path can still be claimed
  // after it.
  auto leavesNothing = [&](const std::vector<std::uint32_t>& path) {
    std::vector<bool> still = wanted;
    for (std::uint32_t e : path) unwant(g, e, still);
    walk.run(g.edge(path.back()).to, any, [&](std::uint32_t, std::uint32_t e) {
      unwant(g, e, still);
      return false;
    });
    return std::none_of(still.begin(), still.end(), [](bool w) { return w; });
  };

  std::vector<std::uint32_t> edges;
  std::uint32_t current = 0;
  while (wantedLeft() > 0) {
    const std::uint32_t here = component[current];
    auto inside = [&](std::uint32_t e) { return component[g.edge(e).to] == here; };
    std::vector<Ways::Found> found = ways.run(current, inside, claimsSome, 1);
    std::vector<std::uint32_t> path;
    if (!found.empty()) {
      path = ways.pathTo(found.front());
    } else {
      // Leaving the component: the cheapest way out that still lets every
      // other tile be claimed, else simply the cheapest.
      found = ways.run(current, any, claimsSome, candidatesTried);
      for (const Ways::Found& candidate : found) {
        std::vector<std::uint32_t> way = ways.pathTo(candidate);
        if (leavesNothing(way)) {
          path = way;
          break;
        }
      }
      if (path.empty() && !found.empty()) path = ways.pathTo(found.front());
    }
    if (path.empty()) break;
    for (std::uint32_t e : path) unwant(g, e, wanted);
    edges.insert(edges.end(), path.begin(), path.end());
    current = g.edge(path.back()).to;
  }
  result = play(edges);
  result.tilesLeft = static_cast<int>(wantedLeft());
  return result;
}

// A cooldown over sooner than the search's, or a count where the search
// keeps none, changes nothing of the way on.
bool Reachability::endedAsFound(const TickState& expected) const {
  TickState now = states_.capture();
  const std::uint8_t cooldown = TickState::cooldownActive | TickState::waits;
  if (!now.has(TickState::cooldownActive) || expected.has(TickState::waits)) {
    now.flags = static_cast<std::uint8_t>((now.flags & ~cooldown) | (expected.flags & cooldown));
    now.cooldownTicks = expected.cooldownTicks;
  }
  return graph_->sameKey(now, expected);
}

Reachability::Route Reachability::play(const std::vector<std::uint32_t>& edges) const {
  Route played;
  restoreGame();
  const StateGraph& g = *graph_;
  FloorManager& floor = game_.floorManager;
  const std::size_t mark = floor.claimCount();
  const int codeOf[] = {game_.keyLeft, game_.keyRight, game_.keyUp, game_.keyDown, game_.keyJump};
  bool alive = true;
  auto step = [&](TickInput input) {
    std::vector<int> codes;
    for (int bit = 0; bit < 5; ++bit) {
      if ((input.keys & (1u << bit)) != 0) codes.push_back(codeOf[bit]);
    }
    if (input.digit != 0) codes.push_back(Game::firstDigitCode + input.digit);
    holdOnly(codes);
    holdOffCountdown();
    game_.tick();
    played.ticks.push_back(input);
    alive = game_.player.alive;
  };
  std::uint32_t at = 0;
  for (size_t i = 0; i < edges.size() && alive && played.followed; ++i) {
    const StateEdge& edge = g.edge(edges[i]);
    // A state that stands for every cooldown count was found with one; a
    // way here with less of the cooldown behind it first waits for that
    // count, so that what follows runs as it ran in the search.
    const TickState& from = g.state(at);
    if (!edge.wait && from.has(TickState::waits) && from.has(TickState::cooldownActive)) {
      while (alive && game_.teleportCooldownActive &&
             game_.teleportCooldownTicks < from.cooldownTicks) {
        step(TickInput{});
      }
    }
    at = edge.to;
    if (edge.wait) {
      // As long as this cooldown runs, which may be less than the search's.
      while (alive && game_.teleportCooldownActive) step(TickInput{});
    } else {
      for (std::uint32_t t = 0; t < edge.ticks && alive; ++t) {
        TickInput input;
        if (t == 0) input.keys = edge.input.keys;
        if (t + 1 == edge.ticks) input.digit = edge.input.digit;
        step(input);
      }
    }
    played.followed = alive && endedAsFound(g.state(edge.to));
  }
  played.scoreGained = game_.player.score - score_;
  played.clears = alive && played.followed && floor.tilesLeft() == 0;
  floor.undoClaims(mark);
  restoreGame();
  return played;
}
