// The route through the states the search found: nearest unclaimed tile
// next, taking care not to leave behind tiles it could not come back to.
#include <algorithm>
#include <climits>
#include <functional>
#include <queue>

#include "authoring/Reachability.h"
#include "authoring/StateWays.h"
#include "game/Game.h"

using namespace stateways;

namespace {

// How many ways out of a component are tried before the cheapest is taken
// whatever it leaves behind.
const size_t candidatesTried = 16;

}  // namespace

// Strongly connected components (iterative Tarjan): states of one
// component can reach each other, so a way inside one loses nothing.
void Reachability::forgetComponents() {
  components_.clear();
  tileReach_.reset();
  spots_.clear();
}

const std::vector<Reachability::Spot>& Reachability::spots() const {
  if (!spots_.empty() || !graph_) return spots_;
  spots_.reserve(graph_->size());
  for (std::uint32_t s = 0; s < graph_->size(); ++s) {
    const TickState& state = graph_->state(s);
    spots_.push_back({state.x, state.y, state.width});
  }
  return spots_;
}

const stateways::TileReach& Reachability::tileReach() const {
  if (!tileReach_) {
    tileReach_ = std::make_shared<const stateways::TileReach>(*graph_, components(),
                                                               game_.floorManager.tiles().size());
  }
  return *tileReach_;
}

const std::vector<std::uint32_t>& Reachability::components() const {
  if (!components_.empty() || !graph_) return components_;
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
  components_ = std::move(component);
  return components_;
}

Reachability::Route Reachability::route() const {
  Route result;
  if (!graph_ || graph_->size() == 0) return result;
  const StateGraph& g = *graph_;
  const std::vector<std::uint32_t>& component = components();
  const std::vector<FloorTile>& tiles = game_.floorManager.tiles();
  std::vector<bool> wanted(tiles.size(), false);
  for (size_t i = 0; i < tiles.size(); ++i) wanted[i] = tiles[i].claimable != 0 && tileReached_[i];
  auto wantedLeft = [&]() { return std::count(wanted.begin(), wanted.end(), true); };
  NearestWay nearest(g, component, tileReach());
  std::vector<std::uint32_t> edges;
  std::uint32_t current = 0;
  while (wantedLeft() > 0) {
    const std::vector<std::uint32_t> path = nearest.from(current, wanted, candidatesTried);
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
  if (!now.has(TickState::cooldownActive) || expected.marked(TickState::waits)) {
    const std::uint8_t cooldown = TickState::cooldownActive;
    now.flags = static_cast<std::uint8_t>((now.flags & ~cooldown) | (expected.flags & cooldown));
    now.marks = static_cast<std::uint8_t>((now.marks & ~TickState::waits) |
                                          (expected.marks & TickState::waits));
    now.cooldownTicks = expected.cooldownTicks;
  }
  return graph_->sameKey(now, expected);
}

std::vector<int> Reachability::codesOf(TickInput input) const {
  const int codeOf[] = {game_.keyLeft, game_.keyRight, game_.keyUp, game_.keyDown, game_.keyJump};
  std::vector<int> codes;
  for (int bit = 0; bit < 5; ++bit) {
    if ((input.keys & (1u << bit)) != 0) codes.push_back(codeOf[bit]);
  }
  if (input.digit != 0) codes.push_back(Game::firstDigitCode + input.digit);
  return codes;
}

bool Reachability::playEdge(std::uint32_t at, std::uint32_t e,
                            const std::function<bool(TickInput)>& step) const {
  const StateGraph& g = *graph_;
  const StateEdge& edge = g.edge(e);
  // A state that stands for every cooldown count was found with one; a
  // way here with less of the cooldown behind it first waits for that
  // count, so that what follows runs as it ran in the search.
  const TickState& from = g.state(at);
  if (!edge.wait && from.marked(TickState::waits) && from.has(TickState::cooldownActive)) {
    while (game_.teleportCooldownActive && game_.teleportCooldownTicks < from.cooldownTicks) {
      if (!step(TickInput{})) return false;
    }
  }
  if (edge.wait) {
    // As long as this cooldown runs, which may be less than the search's.
    while (game_.teleportCooldownActive) {
      if (!step(TickInput{})) return false;
    }
    return true;
  }
  for (std::uint32_t t = 0; t < edge.ticks; ++t) {
    TickInput input;
    if (t == 0) input.keys = edge.input.keys;
    if (t + 1 == edge.ticks) input.digit = edge.input.digit;
    if (!step(input)) return false;
  }
  return true;
}

Reachability::Route Reachability::play(const std::vector<std::uint32_t>& edges) const {
  Route played;
  restoreGame();
  const StateGraph& g = *graph_;
  FloorManager& floor = game_.floorManager;
  const std::size_t mark = floor.claimCount();
  bool alive = true;
  auto step = [&](TickInput input) {
    holdKeys(input);
    holdOffCountdown();
    game_.tick();
    played.ticks.push_back(input);
    alive = game_.player.alive;
    return alive;
  };
  // A level with nothing to claim is cleared in its first tick, as every
  // level is in the tick of its last claim: a route is never empty.
  if (edges.empty()) step(TickInput{});
  std::uint32_t at = 0;
  for (size_t i = 0; i < edges.size() && alive && played.followed; ++i) {
    alive = playEdge(at, edges[i], step);
    at = g.edge(edges[i]).to;
    played.followed = alive && endedAsFound(g.state(at));
  }
  played.scoreGained = game_.player.score - score_;
  played.clears = alive && played.followed && floor.tilesLeft() == 0;
  floor.undoClaims(mark);
  restoreGame();
  return played;
}
