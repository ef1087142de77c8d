#include "authoring/RunBound.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

#include "authoring/ClaimWays.h"
#include "authoring/ClearingRoute.h"
#include "authoring/RunEntries.h"
#include "authoring/RunExits.h"
#include "authoring/RunStays.h"
#include "authoring/RunTransitions.h"
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

int claimCover(const ClaimRun& run, float reach) {
  return static_cast<int>(std::ceil(2.0f * reach)) + run.widest + 1;
}

int claimGap(const ClaimRun& run, float reach) { return claimCover(run, reach) + run.widestStep; }

namespace {

constexpr std::uint64_t never = unreachable;
// A walk over the found states a run, and a matrix of runs squared:
// beyond this many the ordered bound stands alone.
constexpr std::size_t mostRuns = 200;

RunMotion motionOf(const StateGraph& g, const ParLevel& level) {
  int widest = level.width;
  int slideSideways = level.chuteSlide;
  for (std::uint32_t s = 0; s < g.size(); ++s) {
    widest = std::max(widest, g.state(s).width);
    slideSideways = std::max(slideSideways, std::abs(g.state(s).slideDx));
  }
  RunMotion m;
  m.walk = level.walk;
  m.reach = 0.5f * static_cast<float>(widest);
  m.sideways = std::max({level.walk, level.jumpSideways, slideSideways * level.slideFactor});
  // As the edges found moved: a jump's first tick also walks. A teleport
  // goes anywhere and is no speed.
  for (std::uint32_t s = 0; s < g.expanded(); ++s) {
    for (std::uint32_t e = g.firstEdge(s); e < g.endEdge(s); ++e) {
      if (g.teleports(s, e)) continue;
      const StateEdge& edge = g.edge(e);
      const float moved = std::abs(g.state(edge.to).x - g.state(s).x);
      m.sideways = std::max(m.sideways, moved / static_cast<float>(edge.ticks));
    }
  }
  return m;
}

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
std::uint64_t firstEntriesTicks(const RunTransitions& ways, const std::vector<std::uint64_t>& first) {
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

// A run's walk, less what its entries may spare: at most the best chain
// of them (authoring/RunEntries.h), and at most what each entry more
// saves for its cost at the cheapest rate: a gap for a way in from another
// run or back by teleport, and no more than a walked way back carried the
// player sideways.
double runShare(const ClaimRun& run, const std::vector<RunEntry>& entries, const RunMotion& m) {
  const double walk = std::max(0, run.lastLeft - run.firstLeft - claimCover(run, m.reach)) / m.walk;
  const double gap = claimGap(run, m.reach);
  double rate = 1.0;  // ticks an entry costs for each tick of walk it saves
  for (const RunEntry& e : entries) {
    rate = std::min(rate, e.others * m.walk / gap);
    rate = std::min(rate, e.walked / std::min(gap / m.walk, e.walked * m.sideways / m.walk));
    // A teleport carries the player anywhere: its way back may save a gap.
    rate = std::min(rate, e.teleported * m.walk / gap);
  }
  const double chained = walk - entriesSaving(entries, gap, m.walk);
  return std::max({0.0, chained, walk * rate});
}

// The pixel columns the stays bound passes over, in all the runs.
std::int64_t staysColumns(const std::vector<ClaimRun>& runs, const RunMotion& m) {
  std::int64_t columns = 0;
  for (const ClaimRun& run : runs) {
    columns += std::int64_t{run.lastLeft} - run.firstLeft + run.widest + 2 * claimGap(run, m.reach) +
               static_cast<std::int64_t>(2.0f * m.reach) + 4;
  }
  return columns;
}

struct RunWays {  // by run
  std::vector<RunEntry> entries;
  std::vector<RunExit> exits;
};

// What the runs' stays ask of a route (authoring/RunStays.h): the route
// begins on one run and ends on one, and the others are entered and left.
double staysAtShare(const std::vector<ClaimRun>& runs, const std::vector<RunWays>& ways,
                    const RunMotion& m) {
  constexpr double never = std::numeric_limits<double>::infinity();
  std::vector<StaysTicks> byRun;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const ClaimRun& run = runs[r];
    const RunEnds ends{run.firstLeft + run.widest + m.reach + 1.0, run.lastLeft - m.reach - 1.0};
    // Each place says how far from it the claim may stand. The exits and
    // the entries each count their part of every way whole.
    byRun.push_back(staysTicks(ways[r].entries, ways[r].exits, ends, claimGap(run, m.reach), m.walk,
                               1.0, 1.0));
  }
  // Every pair, summed whole (a run may have no way out, its left sum
  // infinite): at most 200 runs, so 8 million sums a share at worst.
  double least = never;
  for (std::size_t begins = 0; begins < runs.size(); ++begins) {
    for (std::size_t ends = 0; ends < runs.size(); ++ends) {
      double total = 0.0;
      for (std::size_t r = 0; r < runs.size() && total < least; ++r) {
        total += byRun[r].ticks[r == begins][r == ends];
      }
      least = std::min(least, total);
    }
  }
  return least == never ? 0.0 : least;
}

// The stays' bound splits each way between runs at a share; which share
// bounds best differs from level to level, and each bounds. Each share
// walks back over the found states to the claims (the exits' parts), then
// on from the exits (the entries' parts). Nothing past its columns, or
// when a walk passes the limits.
double staysBound(const StateGraph& g, const ClaimStart& start, const std::vector<ClaimRun>& runs,
                  const RunTransitions& ways, std::vector<std::vector<RunEntry>> entries,
                  const RunMotion& m, const RouteLimits& limits) {
  if (staysColumns(runs, m) > mostColumns) return 0.0;
  double best = 0.0;
  for (double share : {0.25, 0.5, 0.75}) {
    std::uint64_t lift = 0;
    const ToOtherRuns onward(g, ways.targets(1.0 - share, lift), start.longest, limits);
    if (!onward.found()) return best;
    std::vector<std::vector<RunExit>> exits;
    for (std::size_t r = 0; r < runs.size(); ++r) exits.push_back(ways.exits(r, onward, lift, share));
    std::uint64_t top = 0;
    const ToOtherRuns arriving(g, ways.exitStarts(exits, top), start.longest, limits,
                               ToOtherRuns::Walk::FromClaims);
    if (!arriving.found()) return best;
    std::vector<RunWays> byRun;
    for (std::size_t r = 0; r < runs.size(); ++r) {
      byRun.push_back({ways.countedFrom(r, entries[r], arriving, top, 1.0 - share), std::move(exits[r])});
    }
    best = std::max(best, staysAtShare(runs, byRun, m));
  }
  return best;
}

}  // namespace

ParLevel::ParLevel(const Game& game)
    : tiles(game.floorManager.tiles()), walk(game.player.walkSpeed), width(game.player.width),
      jumpSideways(std::abs(game.player.jumpSpeed * game.player.jumpStride)),
      slideFactor(game.player.slideFactor) {
  for (const Chute& c : game.chuteManager->chutes()) chuteSlide = std::max(chuteSlide, std::abs(c.dx));
}

RunBound claimRunsBound(const StateGraph& g, const ParLevel& level, const ClaimStart& start,
                        const RouteLimits& limits) {
  RunBound bound;
  const RunMotion motion = motionOf(g, level);
  const std::vector<FloorTile>& tiles = level.tiles;
  if (motion.walk <= 0.0f || g.size() == 0) return bound;
  std::vector<bool> wanted(tiles.size(), false);
  for (std::size_t t = 0; t < tiles.size(); ++t) {
    wanted[t] = tiles[t].claimable != 0 && !start.claims[t].empty();
  }
  const std::vector<ClaimRun> runs = claimRuns(tiles, wanted, motion.reach);
  if (runs.empty() || runs.size() > mostRuns) return bound;
  RunTransitions ways(g, runs, start, motion, limits);
  if (!ways.measure()) return bound;
  const std::vector<std::uint64_t> first = ways.firstClaims(start.fromStart);
  if (first.empty()) return bound;
  const std::uint64_t tree = firstEntriesTicks(ways, first);
  if (tree >= never) return bound;
  double ticks = static_cast<double>(tree);
  std::vector<std::vector<RunEntry>> entries;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    entries.push_back(ways.entries(r));
    ticks += runShare(runs[r], entries[r], motion);
  }
  ticks = std::max(ticks, staysBound(g, start, runs, ways, std::move(entries), motion, limits));
  bound.ticks = static_cast<std::uint64_t>(std::floor(ticks));
  bound.found = true;
  return bound;
}
