#include "authoring/RunTransitions.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "authoring/RunBound.h"

using namespace claimways;

namespace {
constexpr std::uint64_t never = unreachable;
}  // namespace

RunTransitions::RunTransitions(const StateGraph& g, const std::vector<ClaimRun>& runs,
                               const ClaimStart& start, const RunMotion& motion,
                               const RouteLimits& limits)
    : g_(g), runs_(runs), motion_(motion), limits_(limits), runOf_(start.claims.size(), -1),
      claims_(start.claims), longest_(start.longest),
      claimEnds_(runs.size()), any_(runs.size(), std::vector<std::uint64_t>(runs.size(), never)),
      entries_(runs.size()) {
  for (std::size_t r = 0; r < runs.size(); ++r) {
    for (int t : runs[r].tiles) {
      runOf_[t] = static_cast<int>(r);
      for (const ClaimEdge& c : claims_[t]) claimEnds_[r].push_back(g_.edge(c.edge).to);
    }
    std::sort(claimEnds_[r].begin(), claimEnds_[r].end());
    claimEnds_[r].erase(std::unique(claimEnds_[r].begin(), claimEnds_[r].end()),
                        claimEnds_[r].end());
  }
  findEntries();
  findFastEdges();
}

// A chain of ticks (an edge) claims only in its first tick, where the
// player stands with a choice, and in its last, where it lands, ends a
// slide or arrives by a teleport: so an edge enters a run at its start
// when it starts standing on it just after no claim there, and at its end
// when it lands there after more than a tick.
void RunTransitions::findEntries() {
  for (std::size_t r = 0; r < runs_.size(); ++r) {
    std::vector<ClaimEdge> edges;
    for (int t : runs_[r].tiles) edges.insert(edges.end(), claims_[t].begin(), claims_[t].end());
    auto byEdge = [](const ClaimEdge& a, const ClaimEdge& b) { return a.edge < b.edge; };
    std::sort(edges.begin(), edges.end(), byEdge);
    edges.erase(std::unique(edges.begin(), edges.end(),
                            [](const ClaimEdge& a, const ClaimEdge& b) { return a.edge == b.edge; }),
                edges.end());
    for (const ClaimEdge& c : edges) addEntries(c, r);
  }
}

void RunTransitions::addEntries(const ClaimEdge& c, std::size_t run) {
  const StateEdge& edge = g_.edge(c.edge);
  const std::uint32_t from = c.from;
  const std::uint32_t e = c.edge;
  const bool atFirst = standsIn(from, run);
  const bool continued = atFirst && continues(from, run);
  if (edge.ticks == 1) {
    if (!continued || fast(from, edge)) entries_[run].push_back({from, e, g_.state(edge.to).x, 1});
    return;
  }
  if (atFirst && !continued) entries_[run].push_back({from, e, g_.state(from).x, 1});
  if (!atFirst || standsIn(edge.to, run)) {
    entries_[run].push_back({from, e, g_.state(edge.to).x, edge.ticks});
  }
}

void RunTransitions::findFastEdges() {
  for (std::uint32_t s = 0; s < g_.expanded(); ++s) {
    for (std::uint32_t e = g_.firstEdge(s); e < g_.endEdge(s); ++e) {
      if (fast(s, g_.edge(e))) fastEdges_.push_back({s, e});
    }
  }
}

bool RunTransitions::fast(std::uint32_t from, const StateEdge& edge) const {
  const float moved = std::abs(g_.state(edge.to).x - g_.state(from).x);
  return moved > motion_.walk * static_cast<float>(edge.ticks) + 0.001f;
}

// Standing just after a claim on the run, on its row.
bool RunTransitions::continues(std::uint32_t state, std::size_t run) const {
  const std::vector<std::uint32_t>& ends = claimEnds_[run];
  return std::binary_search(ends.begin(), ends.end(), state);
}

// Standing under control on the run's row, within its claims' reach (and
// a tick's step, since a tick may claim after it moves).
bool RunTransitions::standsIn(std::uint32_t state, std::size_t run) const {
  const TickState& s = g_.state(state);
  const bool standing = !s.has(TickState::falling) && !s.has(TickState::onChute) && s.jumpState == 0;
  const Place zone = placeOf(runs_[run]);
  return standing && placeOf(state).row == zone.row && s.x >= zone.left - motion_.sideways &&
         s.x <= zone.right + motion_.sideways;
}

// Ticks from an edge's start to its claim on a run: its first, or its last.
std::uint64_t RunTransitions::claimTick(const ClaimEdge& c, std::size_t run) const {
  return standsIn(c.from, run) ? 1 : g_.edge(c.edge).ticks;
}

bool RunTransitions::measure() {
  for (std::size_t a = 0; a < runs_.size(); ++a) {
    std::vector<Source> ends;
    for (int t : runs_[a].tiles) {
      for (const ClaimEdge& c : claims_[t]) {
        const StateEdge& edge = g_.edge(c.edge);
        // From its last claim on the run to its end.
        const bool last = edge.ticks == 1 || standsIn(edge.to, a);
        const std::uint64_t since = last ? 0 : edge.ticks - 1;
        ends.push_back({edge.to, since});
      }
    }
    const Costs after = leastTicks(g_, ends, longest_, limits_);
    if (after.empty()) return false;
    for (std::size_t b = 0; b < runs_.size(); ++b) {
      if (b != a) into(a, b, after);
    }
    if (!back(a, after)) return false;
  }
  return true;
}

void RunTransitions::into(std::size_t a, std::size_t b, const Costs& after) {
  for (int t : runs_[b].tiles) {
    for (const ClaimEdge& c : claims_[t]) {
      any_[a][b] = std::min(any_[a][b], intoBy(c, a, claimTick(c, b), after));
    }
  }
  for (Entry& e : entries_[b]) e.others = std::min(e.others, intoBy({e.from, e.edge}, a, e.ticks, after));
}

// From a claim on run a to one on another in `ticks` of the edge: within the
// edge, when it claims a first; else after a way to its start.
std::uint64_t RunTransitions::intoBy(const ClaimEdge& c, std::size_t a, std::uint64_t ticks,
                                     const Costs& after) const {
  if (claimsRun(c.edge, a) && claimTick(c, a) < ticks) return ticks - claimTick(c, a);
  return after[c.from] < never ? after[c.from] + ticks : never;
}

// Back from the run by way of a fast edge: this one, or one before it.
bool RunTransitions::back(std::size_t a, const Costs& after) {
  std::vector<Source> fastEnds;
  for (const ClaimEdge& f : fastEdges_) {
    if (after[f.from] < never) fastEnds.push_back({g_.edge(f.edge).to, after[f.from] + g_.edge(f.edge).ticks});
  }
  const Costs afterFast = leastTicks(g_, fastEnds, longest_, limits_);
  if (afterFast.empty()) return false;
  for (Entry& e : entries_[a]) {
    if (afterFast[e.from] < never) e.back = std::min(e.back, afterFast[e.from] + e.ticks);
    if (fast(e.from, g_.edge(e.edge))) {
      e.back = std::min(e.back, intoBy({e.from, e.edge}, a, e.ticks, after));
    }
  }
  return true;
}

std::vector<RunEntry> RunTransitions::entries(std::size_t run) const {
  std::vector<RunEntry> list;
  for (const Entry& e : entries_[run]) {
    list.push_back({e.x, static_cast<double>(e.others), static_cast<double>(e.back)});
  }
  return list;
}

std::vector<std::uint64_t> RunTransitions::firstClaims(const Costs& fromStart) const {
  if (fromStart.empty()) return {};
  std::vector<std::uint64_t> first(runs_.size(), never);
  for (std::size_t r = 0; r < runs_.size(); ++r) {
    for (int t : runs_[r].tiles) {
      for (const ClaimEdge& c : claims_[t]) {
        if (fromStart[c.from] >= never) continue;
        first[r] = std::min(first[r], fromStart[c.from] + claimTick(c, r));
      }
    }
  }
  return first;
}

bool RunTransitions::claimsRun(std::uint32_t e, std::size_t run) const {
  const StateEdge& edge = g_.edge(e);
  for (std::uint32_t n = edge.claimsBegin; n < edge.claimsBegin + edge.claimCount; ++n) {
    if (runOf_[g_.claimedTile(n)] == static_cast<int>(run)) return true;
  }
  return false;
}

RunTransitions::Place RunTransitions::placeOf(std::uint32_t state) const {
  const TickState& s = g_.state(state);
  return {static_cast<int>(std::trunc(s.y)) + 1, s.x, s.x};
}

// Where the player's centre stands while it claims on the run.
RunTransitions::Place RunTransitions::placeOf(const ClaimRun& run) const {
  return {run.row, run.firstLeft - motion_.reach - 1.0f,
          run.lastLeft + run.widest + motion_.reach + 1.0f};
}
