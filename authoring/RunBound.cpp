#include "authoring/RunBound.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "authoring/ClaimWays.h"
#include "authoring/ClearingRoute.h"
#include "game/Game.h"

using namespace claimways;

std::vector<ClaimRun> claimRuns(const std::vector<FloorTile>& tiles,
                                const std::vector<bool>& wanted, float reach) {
  std::vector<int> order;
  for (std::size_t t = 0; t < tiles.size(); ++t) {
    if (wanted[t]) order.push_back(static_cast<int>(t));
  }
  std::sort(order.begin(), order.end(), [&](int a, int b) {
    return tiles[a].y != tiles[b].y ? tiles[a].y < tiles[b].y : tiles[a].x < tiles[b].x;
  });
  std::vector<ClaimRun> runs;
  int rightEnd = 0;  // of the run so far
  for (int t : order) {
    const FloorTile& tile = tiles[t];
    if (runs.empty() || runs.back().row != tile.y || tile.x - rightEnd > 2.0f * reach + 2.0f) {
      runs.push_back({tile.y, tile.x, tile.x, tile.width, 0, {}});
      rightEnd = tile.x + tile.width;
    }
    ClaimRun& run = runs.back();
    run.widestStep = std::max(run.widestStep, tile.x - run.lastLeft);
    run.lastLeft = tile.x;
    run.widest = std::max(run.widest, tile.width);
    rightEnd = std::max(rightEnd, tile.x + tile.width);
    run.tiles.push_back(t);
  }
  return runs;
}

namespace {

constexpr std::uint64_t never = unreachable;
// Two walks over the found states a run, and a matrix of runs squared:
// beyond this many the ordered bound stands alone.
constexpr std::size_t mostRuns = 200;

// What the player's data allows: the walk, the reach of its claims, the
// fastest vertical speed and the least ticks of a way back onto the row
// it left that adds to the cover.
struct Motion {
  float walk = 0.0f;
  float reach = 0.0f;
  float vertical = 0.0f;
  float sideways = 0.0f;  // the fastest horizontal speed
  std::uint64_t backOnRow = never;
};

std::uint64_t jumpBackTicks(const Player& p) {
  if (p.jumpSpeed <= 0.0f) return never;
  const auto rise = static_cast<std::uint64_t>(std::ceil(p.jumpHeight / p.jumpSpeed));
  return rise >= 2 ? 2 * rise - 3 : 1;  // a row early, the landing test allows
}

std::uint64_t chuteLoopTicks(const Player& p, const std::vector<Chute>& chutes) {
  const float up = std::max(p.climbSpeed, p.jumpSpeed);
  std::uint64_t least = never;
  for (const Chute& c : chutes) {
    const float down = std::abs(c.dy) * p.slideFactor;
    if (down <= 0.0f || up <= 0.0f) return 1;
    least = std::min(least, static_cast<std::uint64_t>(c.height / down) +
                                static_cast<std::uint64_t>(c.height / up));
  }
  return std::max<std::uint64_t>(least, 1);
}

Motion motionOf(const StateGraph& g, const Game& game) {
  const Player& p = game.player;
  int widest = p.width;
  int slide = 0;
  int slideSideways = 0;
  for (std::uint32_t s = 0; s < g.size(); ++s) {
    widest = std::max(widest, g.state(s).width);
    slide = std::max(slide, std::abs(g.state(s).slideDy));
    slideSideways = std::max(slideSideways, std::abs(g.state(s).slideDx));
  }
  const std::vector<Chute>& chutes = game.chuteManager->chutes();
  for (const Chute& c : chutes) {
    slide = std::max(slide, std::abs(c.dy));
    slideSideways = std::max(slideSideways, std::abs(c.dx));
  }
  Motion m;
  m.walk = p.walkSpeed;
  m.reach = 0.5f * static_cast<float>(widest);
  m.vertical = std::max({p.fallSpeed, p.jumpSpeed, p.climbSpeed, slide * p.slideFactor});
  m.sideways = std::max({p.walkSpeed, std::abs(p.jumpSpeed * p.jumpStride),
                         slideSideways * p.slideFactor});
  m.backOnRow = std::min(jumpBackTicks(p), chuteLoopTicks(p, chutes));
  return m;
}

int coverOf(const ClaimRun& run, const Motion& m) {
  return static_cast<int>(std::ceil(2.0f * m.reach)) + run.widest + 1;
}

// The least ticks between a last claim on one run and a first claim on
// another, with and without teleports, for every ordered pair.
class Transitions {
 public:
  Transitions(const StateGraph& g, const std::vector<ClaimRun>& runs,
              const ClaimStart& start, const Motion& motion, const RouteLimits& limits)
      : g_(g), runs_(runs), motion_(motion), limits_(limits), runOf_(start.claims.size(), -1),
        claims_(start.claims), longest_(start.longest),
        any_(runs.size(), std::vector<std::uint64_t>(runs.size(), never)),
        walked_(any_) {
    for (std::size_t r = 0; r < runs.size(); ++r) {
      for (int t : runs[r].tiles) runOf_[t] = static_cast<int>(r);
    }
  }

  // False when the limits passed.
  bool measure() {
    for (std::size_t a = 0; a < runs_.size(); ++a) {
      std::vector<Source> ends;
      std::vector<Source> walkedEnds;  // not by a teleport
      for (int t : runs_[a].tiles) {
        for (const ClaimEdge& c : claims_[t]) {
          const StateEdge& edge = g_.edge(c.edge);
          if (edge.input.digit != 0) {
            ends.push_back({edge.to, 0});
            continue;
          }
          ends.push_back({edge.to, apart(placeOf(runs_[a]), placeOf(edge.to))});
          walkedEnds.push_back(ends.back());
        }
      }
      const Costs after = leastTicks(g_, ends, longest_, limits_);
      const Costs walked = leastTicks(g_, walkedEnds, longest_, limits_, Teleports::Left);
      if (after.empty() || walked.empty()) return false;
      for (std::size_t b = 0; b < runs_.size(); ++b) {
        if (b != a) into(a, b, after, walked);
      }
    }
    return true;
  }

  std::uint64_t any(std::size_t a, std::size_t b) const { return any_[a][b]; }
  std::uint64_t walked(std::size_t a, std::size_t b) const { return walked_[a][b]; }
  const std::vector<std::vector<ClaimEdge>>& claims() const { return claims_; }

  // From an edge's start to its first claim on a run. An edge is a chain
  // of ticks that claims only in its first tick, where the player stands
  // with a choice, and in its last, where it lands, ends a slide or
  // arrives by a teleport.
  std::uint64_t entering(const ClaimEdge& c, const ClaimRun& run) const {
    return standsIn(c.from, run) ? 1 : g_.edge(c.edge).ticks;
  }

 private:
  void into(std::size_t a, std::size_t b, const Costs& after, const Costs& walked) {
    for (int t : runs_[b].tiles) {
      for (const ClaimEdge& c : claims_[t]) {
        const StateEdge& edge = g_.edge(c.edge);
        const bool teleport = edge.input.digit != 0;
        if (claimsRun(c.edge, a) && entering(c, runs_[a]) < entering(c, runs_[b])) {
          const std::uint64_t inEdge = entering(c, runs_[b]) - entering(c, runs_[a]);
          any_[a][b] = std::min(any_[a][b], inEdge);
          if (!teleport) walked_[a][b] = std::min(walked_[a][b], inEdge);
          continue;
        }
        const std::uint64_t last = entering(c, runs_[b]);
        if (after[c.from] < never) any_[a][b] = std::min(any_[a][b], after[c.from] + last);
        if (walked[c.from] < never) walked_[a][b] = std::min(walked_[a][b], walked[c.from] + last);
      }
    }
  }

  bool claimsRun(std::uint32_t e, std::size_t run) const {
    const StateEdge& edge = g_.edge(e);
    for (std::uint32_t n = edge.claimsBegin; n < edge.claimsBegin + edge.claimCount; ++n) {
      if (runOf_[g_.claimedTile(n)] == static_cast<int>(run)) return true;
    }
    return false;
  }

  // Where the player stands: over a row, its centre within columns.
  struct Place {
    int row;
    float left;
    float right;
  };

  Place placeOf(std::uint32_t state) const {
    const TickState& s = g_.state(state);
    return {static_cast<int>(std::trunc(s.y)) + 1, s.x, s.x};
  }

  // Where the player's centre stands while it claims on the run.
  Place placeOf(const ClaimRun& run) const {
    return {run.row, run.firstLeft - motion_.reach - 1.0f,
            run.lastLeft + run.widest + motion_.reach + 1.0f};
  }

  // The least ticks between standing in two places, but by a teleport.
  std::uint64_t apart(const Place& a, const Place& b) const {
    const float rows = static_cast<float>(std::abs(a.row - b.row));
    const float columns = std::max({0.0f, b.left - a.right, a.left - b.right});
    std::uint64_t ticks = 0;
    for (const auto& [distance, speed] : {std::pair{rows, motion_.vertical},
                                         std::pair{columns, motion_.sideways}}) {
      if (distance <= 0.0f) continue;
      if (speed <= 0.0f) return never;
      ticks = std::max(ticks, static_cast<std::uint64_t>(distance / speed));
    }
    return ticks;
  }

  // Standing under control on the run's row, within its claims' reach
  // (and a tick's step, since a tick may claim after it moves).
  bool standsIn(std::uint32_t state, const ClaimRun& run) const {
    const TickState& s = g_.state(state);
    const bool standing =
        !s.has(TickState::falling) && !s.has(TickState::onChute) && s.jumpState == 0;
    const Place zone = placeOf(run);
    return standing && placeOf(state).row == zone.row && s.x >= zone.left - motion_.sideways &&
           s.x <= zone.right + motion_.sideways;
  }

  const StateGraph& g_;
  const std::vector<ClaimRun>& runs_;
  const Motion& motion_;
  const RouteLimits& limits_;
  std::vector<int> runOf_;
  const std::vector<std::vector<ClaimEdge>>& claims_;
  std::uint32_t longest_;
  std::vector<std::vector<std::uint64_t>> any_;
  std::vector<std::vector<std::uint64_t>> walked_;
};

// The least weight of edges that give every node but the root one parent
// and reach every node from the root (contracting cycles, as Chu and Liu
// and Edmonds did), on a full matrix; never when there is none.
std::uint64_t leastArborescence(std::vector<std::vector<std::uint64_t>> w, std::size_t root) {
  std::uint64_t total = 0;
  for (;;) {
    const std::size_t n = w.size();
    std::vector<std::uint64_t> in(n, never);
    std::vector<std::size_t> parent(n, root);
    for (std::size_t u = 0; u < n; ++u) {
      for (std::size_t v = 0; v < n; ++v) {
        if (u != v && w[u][v] < in[v]) {
          in[v] = w[u][v];
          parent[v] = u;
        }
      }
    }
    in[root] = 0;
    for (std::size_t v = 0; v < n; ++v) {
      if (in[v] >= never) return never;
      total += in[v];
    }
    const std::size_t none = n;
    std::vector<std::size_t> group(n, none), seenFrom(n, none);
    std::size_t groups = 0;
    for (std::size_t v = 0; v < n; ++v) {
      std::size_t x = v;
      while (x != root && group[x] == none && seenFrom[x] != v) {
        seenFrom[x] = v;
        x = parent[x];
      }
      if (x == root || group[x] != none) continue;
      for (std::size_t y = parent[x]; y != x; y = parent[y]) group[y] = groups;
      group[x] = groups++;
    }
    if (groups == 0) return total;
    for (std::size_t v = 0; v < n; ++v) {
      if (group[v] == none) group[v] = groups++;
    }
    std::vector<std::vector<std::uint64_t>> next(groups, std::vector<std::uint64_t>(groups, never));
    for (std::size_t u = 0; u < n; ++u) {
      for (std::size_t v = 0; v < n; ++v) {
        if (group[u] == group[v] || w[u][v] >= never) continue;
        std::uint64_t& to = next[group[u]][group[v]];
        to = std::min(to, w[u][v] - in[v]);
      }
    }
    root = group[root];
    w = std::move(next);
  }
}

// Each run's first stay is entered from the life's start or from a run
// visited before: those entries, node 0 for the start, form a tree.
std::uint64_t firstEntriesTicks(const Transitions& ways, const std::vector<std::uint64_t>& first) {
  const std::size_t runs = first.size();
  std::vector<std::vector<std::uint64_t>> w(runs + 1, std::vector<std::uint64_t>(runs + 1, never));
  for (std::size_t a = 0; a < runs; ++a) {
    w[0][a + 1] = first[a];
    for (std::size_t b = 0; b < runs; ++b) {
      if (a != b) w[a + 1][b + 1] = ways.any(a, b);
    }
  }
  return leastArborescence(std::move(w), 0);
}

// A run's walk, discounted where entering it again is cheaper than the
// walk an entry saves.
double runShare(const ClaimRun& run, std::size_t index, const Transitions& ways,
                std::size_t count, const Motion& m) {
  const int cover = coverOf(run, m);
  const double walk = std::floor(std::max(0, run.lastLeft - run.firstLeft - cover) / m.walk);
  const double saved = std::ceil(static_cast<double>(cover + run.widestStep) / m.walk);
  // Ticks an entry costs for each tick of walk it may save: a way back
  // onto the row saves no more than it carries the player sideways.
  double ratio = 1.0;
  if (m.backOnRow < never) {
    const double back = static_cast<double>(m.backOnRow);
    ratio = std::min(ratio, back / std::min(saved, m.sideways * back / m.walk));
  }
  for (std::size_t from = 0; from < count; ++from) {
    if (from != index) ratio = std::min(ratio, static_cast<double>(ways.walked(from, index)) / saved);
  }
  return std::floor(walk * ratio);
}

// The most one teleport may save: the largest saving of a run a
// teleporter's arrival stands on.
double teleportSaving(const Game& game, const std::vector<ClaimRun>& runs, const Motion& m) {
  double most = 0.0;
  for (const Teleporter& pad : game.teleporterManager.teleporters()) {
    const int feet = pad.y + pad.height - 1;
    const int x = pad.x + pad.width / 2;
    for (const ClaimRun& run : runs) {
      const int cover = coverOf(run, m);
      if (feet + 1 != run.row || x < run.firstLeft - cover || x > run.lastLeft + cover) continue;
      most = std::max(most, std::ceil(static_cast<double>(cover + run.widestStep) / m.walk));
    }
  }
  return most;
}

// By run: the earliest tick of a claim on it.
std::vector<std::uint64_t> firstClaimTicks(const Costs& fromStart, const Transitions& ways,
                                           const std::vector<ClaimRun>& runs) {
  if (fromStart.empty()) return {};
  std::vector<std::uint64_t> first(runs.size(), never);
  for (std::size_t r = 0; r < runs.size(); ++r) {
    for (int t : runs[r].tiles) {
      for (const ClaimEdge& c : ways.claims()[t]) {
        if (fromStart[c.from] >= never) continue;
        first[r] = std::min(first[r], fromStart[c.from] + ways.entering(c, runs[r]));
      }
    }
  }
  return first;
}

}  // namespace

RunBound claimRunsBound(const StateGraph& g, const Game& game, const ClaimStart& start,
                        const RouteLimits& limits) {
  RunBound bound;
  const Motion motion = motionOf(g, game);
  const std::vector<FloorTile>& tiles = game.floorManager.tiles();
  if (motion.walk <= 0.0f || g.size() == 0) return bound;
  std::vector<bool> wanted(tiles.size(), false);
  for (std::size_t t = 0; t < tiles.size(); ++t) {
    wanted[t] = tiles[t].claimable != 0 && !start.claims[t].empty();
  }
  const std::vector<ClaimRun> runs = claimRuns(tiles, wanted, motion.reach);
  if (runs.empty() || runs.size() > mostRuns) return bound;
  Transitions ways(g, runs, start, motion, limits);
  if (!ways.measure()) return bound;
  const std::vector<std::uint64_t> first = firstClaimTicks(start.fromStart, ways, runs);
  if (first.empty()) return bound;
  const std::uint64_t tree = firstEntriesTicks(ways, first);
  if (tree >= never) return bound;
  double ticks = static_cast<double>(tree);
  for (std::size_t r = 0; r < runs.size(); ++r) ticks += runShare(runs[r], r, ways, runs.size(), motion);
  if (game.teleporterManager.teleporters().size() >= 2) {
    const double saving = teleportSaving(game, runs, motion);
    if (saving > 0.0) {
      if (game.teleportCooldown <= 0) return bound;
      const double perTick = saving / game.teleportCooldown;
      ticks = (ticks - saving + perTick) / (1.0 + perTick);
    }
  }
  bound.ticks = static_cast<std::uint64_t>(std::max(0.0, std::floor(ticks)));
  bound.found = true;
  return bound;
}
