#include "authoring/RunTransitions.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

#include "authoring/ClearingRoute.h"
#include "authoring/RunBound.h"

using namespace claimways;

namespace {
constexpr std::uint64_t never = unreachable;
}  // namespace

RunTransitions::RunTransitions(const StateGraph& g, const std::vector<ClaimRun>& runs,
                               const ClaimStart& start, const RunMotion& motion,
                               const RouteLimits& limits)
    : g_(g), steps_(start.steps), runs_(runs), motion_(motion), limits_(limits), runOf_(start.claims.size(), -1),
      claims_(start.claims), longest_(start.longest),
      claimEnds_(runs.size()), any_(runs.size(), std::vector<std::uint64_t>(runs.size(), never)),
      claimsOf_(runs.size()), entries_(runs.size()), firstEntries_(runs.size()) {
  for (std::size_t r = 0; r < runs.size(); ++r) {
    for (int t : runs[r].tiles) runOf_[t] = static_cast<int>(r);
  }
  for (std::size_t r = 0; r < runs.size(); ++r) findClaims(r);
  for (std::size_t r = 0; r < runs.size(); ++r) {
    std::vector<std::uint32_t>& ends = claimEnds_[r];
    for (const Claim& c : claimsOf_[r]) ends.push_back(g_.edge(c.edge).to);
    std::sort(ends.begin(), ends.end());
    ends.erase(std::unique(ends.begin(), ends.end()), ends.end());
  }
  for (std::size_t r = 0; r < runs.size(); ++r) {
    for (const Claim& c : claimsOf_[r]) addEntries(c, r);
  }
  findFastEdges();
  findTeleports();
}

// Each edge claiming the run once, with when it claims there and on the
// other runs it claims.
void RunTransitions::findClaims(std::size_t run) {
  std::vector<ClaimEdge> edges;
  for (int t : runs_[run].tiles) edges.insert(edges.end(), claims_[t].begin(), claims_[t].end());
  std::sort(edges.begin(), edges.end(),
            [](const ClaimEdge& a, const ClaimEdge& b) { return a.edge < b.edge; });
  edges.erase(std::unique(edges.begin(), edges.end(),
                          [](const ClaimEdge& a, const ClaimEdge& b) { return a.edge == b.edge; }),
              edges.end());
  for (const ClaimEdge& c : edges) {
    const StateEdge& edge = g_.edge(c.edge);
    Claim claim{c.from, c.edge, claimTick(c, run), 0,
                static_cast<std::uint32_t>(alsoOn_.size()), 0};
    // From its last claim on the run to its end.
    const bool last = edge.ticks == 1 || standsIn(edge.to, run);
    claim.since = last ? 0 : edge.ticks - 1;
    for (std::uint32_t n = edge.claimsBegin; n < edge.claimsBegin + edge.claimCount; ++n) {
      const int other = runOf_[g_.claimedTile(n)];
      if (other < 0 || other == static_cast<int>(run)) continue;
      const bool known = std::any_of(alsoOn_.begin() + claim.alsoBegin, alsoOn_.end(),
                                     [&](const AlsoOn& o) { return o.run == other; });
      if (!known) alsoOn_.push_back({other, claimTick(c, static_cast<std::size_t>(other))});
    }
    claim.alsoEnd = static_cast<std::uint32_t>(alsoOn_.size());
    claimsOf_[run].push_back(claim);
  }
}

// A chain of ticks (an edge) claims only in its first tick, where the
// player stands with a choice, and in its last, where it lands, ends a
// slide or arrives by a teleport: so an edge enters a run at its start
// when it starts standing on it just after no claim there, and at its end
// when it lands there after more than a tick.
void RunTransitions::addEntries(const Claim& c, std::size_t run) {
  const StateEdge& edge = g_.edge(c.edge);
  const std::uint32_t index = static_cast<std::uint32_t>(&c - claimsOf_[run].data());
  const bool atFirst = c.ticks == 1;
  const bool continued = atFirst && continues(c.from, run);
  if (edge.ticks == 1) {
    if (!continued || fast(c.from, edge)) {
      entries_[run].push_back({index, g_.state(edge.to).x, doubtAt(edge.to, run), 1});
    }
    return;
  }
  if (atFirst && !continued) entries_[run].push_back({index, g_.state(c.from).x, motion_.sideways, 1});
  if (!atFirst || standsIn(edge.to, run)) {
    entries_[run].push_back({index, g_.state(edge.to).x, doubtAt(edge.to, run), edge.ticks});
  }
}

void RunTransitions::findFastEdges() {
  for (std::uint32_t s = 0; s < g_.expanded(); ++s) {
    for (std::uint32_t e = g_.firstEdge(s); e < g_.endEdge(s); ++e) {
      if (fast(s, g_.edge(e))) fastEdges_.push_back({s, e});
    }
  }
}

void RunTransitions::findTeleports() {
  const std::uint32_t edges = g_.expanded() == 0 ? 0 : g_.endEdge(g_.expanded() - 1);
  teleport_.assign(edges, false);
  for (std::uint32_t s = 0; s < g_.expanded(); ++s) {
    for (std::uint32_t e = g_.firstEdge(s); e < g_.endEdge(s); ++e) {
      if (!g_.teleports(s, e)) continue;
      teleport_[e] = true;
      teleports_.push_back({s, e});
    }
  }
}

// Once a level: from every state to a teleport's start, backwards, and
// from a teleport's start on.
bool RunTransitions::measureTeleports() {
  std::vector<RunTarget> starts;
  std::vector<Source> arrivals;
  for (const ClaimEdge& t : teleports_) {
    starts.push_back({t.from, 0, -2});
    arrivals.push_back({g_.edge(t.edge).to, g_.edge(t.edge).ticks});
  }
  const ToOtherRuns to(g_, starts, longest_, limits_);
  fromTeleport_ = leastTicks(steps_, arrivals, longest_, limits_);
  if (!to.found() || fromTeleport_.empty()) return false;
  toTeleport_.assign(g_.size(), never);
  for (std::uint32_t s = 0; s < g_.size(); ++s) toTeleport_[s] = to.from(s, -1);
  return true;
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

// How far from a state's x a claim in the tick that ended there may stand.
// A tick claims where it ends: a step, a fall or a slide claims once it has
// moved. A jump's landing claims before the tick's chute may take the
// player in, so only a state standing on the run is sure; and a claim in
// an edge's first tick, known by the state it leaves, is a tick's step
// from it.
float RunTransitions::doubtAt(std::uint32_t state, std::size_t run) const {
  return standsIn(state, run) ? 0.0f : motion_.sideways;
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
  if (!measureTeleports()) return false;
  for (std::size_t a = 0; a < runs_.size(); ++a) {
    std::vector<Source> ends;
    for (const Claim& c : claimsOf_[a]) ends.push_back({g_.edge(c.edge).to, c.since});
    const Costs after = leastTicks(steps_, ends, longest_, limits_);
    if (after.empty()) return false;
    for (std::size_t b = 0; b < runs_.size(); ++b) {
      if (b != a) into(a, b, after);
    }
    if (!back(a)) return false;
  }
  return true;
}

void RunTransitions::into(std::size_t a, std::size_t b, const Costs& after) {
  for (const Claim& c : claimsOf_[b]) any_[a][b] = std::min(any_[a][b], intoBy(c, a, c.ticks, after));
  for (Entry& e : entries_[b]) {
    e.others = std::min(e.others, intoBy(claimsOf_[b][e.claim], a, e.ticks, after));
  }
}

// From a claim on run a to one `ticks` into the edge: within the edge, when
// it claims on a first; else after a way to its start.
std::uint64_t RunTransitions::intoBy(const Claim& c, std::size_t a, std::uint64_t ticks,
                                     const Costs& after) const {
  for (std::uint32_t n = c.alsoBegin; n < c.alsoEnd; ++n) {
    const AlsoOn& on = alsoOn_[n];
    if (on.run == static_cast<int>(a) && on.ticks < ticks) return ticks - on.ticks;
  }
  return after[c.from] < never ? after[c.from] + ticks : never;
}

// Back from the run by way of a fast edge: by none of the teleports
// (walked), or by one: no sooner than the way from the run to a teleport's
// start and the way from a teleport's start to the entry (teleported).
bool RunTransitions::back(std::size_t a) {
  if (!backWalked(a)) return false;
  std::uint64_t toTeleport = never;  // from a claim on the run
  for (const Claim& c : claimsOf_[a]) {
    const std::uint64_t after = toTeleport_[g_.edge(c.edge).to];
    if (teleport_[c.edge]) toTeleport = 0;
    if (after < never) toTeleport = std::min(toTeleport, c.since + after);
  }
  for (Entry& e : entries_[a]) {
    const Claim& c = claimsOf_[a][e.claim];
    if (fromTeleport_[c.from] < never) e.teleported = fromTeleport_[c.from] + e.ticks;
    // A teleport that lands here from where it began.
    if (teleport_[c.edge] && e.ticks == g_.edge(c.edge).ticks) e.teleported = std::min(e.teleported, e.ticks);
    e.back = e.walked;
    if (toTeleport < never && e.teleported < never) e.back = std::min(e.back, toTeleport + e.teleported);
  }
  return true;
}

// The ways back by no teleport: walks that take none. A way back dearer
// than walking from anywhere on the run to anywhere else on it spares
// nothing: the two stays it joins, walked into one, ask no more; cheaper
// ones may spare a walk back over the run, or a way out from its far end.
bool RunTransitions::backWalked(std::size_t a) {
  std::vector<Source> ends;
  for (const Claim& c : claimsOf_[a]) ends.push_back({g_.edge(c.edge).to, c.since});
  const ClaimRun& run = runs_[a];
  const double across = run.lastLeft - run.firstLeft + run.widest + 2.0 * motion_.reach +
                        2.0 * claimGap(run, motion_.reach);
  const auto within = static_cast<std::uint64_t>(across / motion_.walk) + 2;
  const Costs walked = leastTicks(steps_, ends, longest_, limits_, within, &teleport_);
  if (walked.empty()) return false;
  std::vector<Source> fastEnds;
  for (const ClaimEdge& f : fastEdges_) {
    if (teleport_[f.edge] || walked[f.from] >= never) continue;
    fastEnds.push_back({g_.edge(f.edge).to, walked[f.from] + g_.edge(f.edge).ticks});
  }
  const Costs afterFast = leastTicks(steps_, fastEnds, longest_, limits_, within, &teleport_);
  if (afterFast.empty()) return false;
  for (Entry& e : entries_[a]) {
    const Claim& c = claimsOf_[a][e.claim];
    if (afterFast[c.from] < never) e.walked = std::min(e.walked, afterFast[c.from] + e.ticks);
    if (teleport_[c.edge] || !fast(c.from, g_.edge(c.edge))) continue;
    // Within the edge: it claims here first, then again where it lands.
    if (c.ticks < e.ticks) e.walked = std::min(e.walked, e.ticks - c.ticks);
    if (walked[c.from] < never) e.walked = std::min(e.walked, walked[c.from] + e.ticks);
  }
  return true;
}

namespace {
double ticksOrNever(std::uint64_t ticks) {
  return ticks >= never ? std::numeric_limits<double>::infinity() : static_cast<double>(ticks);
}
}  // namespace

std::vector<RunEntry> RunTransitions::entries(std::size_t run) const {
  std::vector<RunEntry> list;
  constexpr double none = std::numeric_limits<double>::infinity();
  for (const Entry& e : entries_[run]) {
    list.push_back({e.x, ticksOrNever(e.others), ticksOrNever(e.back), none,
                    ticksOrNever(e.walked), ticksOrNever(e.teleported), e.doubt});
  }
  for (const FirstEntry& e : firstEntries_[run]) {
    list.push_back({e.x, none, none, static_cast<double>(e.ticks), none, none, e.doubt});
  }
  return list;
}

std::vector<std::uint64_t> RunTransitions::firstClaims(const Costs& fromStart) {
  if (fromStart.empty()) return {};
  std::vector<std::uint64_t> first(runs_.size(), never);
  for (std::size_t r = 0; r < runs_.size(); ++r) {
    for (const Claim& c : claimsOf_[r]) {
      if (fromStart[c.from] < never) first[r] = std::min(first[r], fromStart[c.from] + c.ticks);
    }
    // Any claim may be the route's first.
    for (const Claim& c : claimsOf_[r]) {
      if (fromStart[c.from] >= never) continue;
      const StateEdge& edge = g_.edge(c.edge);
      const bool afterMoving = edge.ticks == 1 || c.ticks > 1;
      const float x = g_.state(afterMoving ? edge.to : c.from).x;
      const float doubt = afterMoving ? doubtAt(edge.to, r) : motion_.sideways;
      firstEntries_[r].push_back({x, doubt, fromStart[c.from] + c.ticks});
    }
  }
  return first;
}

std::vector<RunTarget> RunTransitions::targets(double inShare, std::uint64_t& lift) const {
  // By claim: the most an entry on it counts of its way in, less the
  // ticks the entry comes after the claim (its way is that much longer).
  std::vector<std::vector<std::uint64_t>> counted(runs_.size());
  lift = 0;
  for (std::size_t r = 0; r < runs_.size(); ++r) {
    counted[r].assign(claimsOf_[r].size(), 0);
    for (const Entry& e : entries_[r]) {
      if (e.others >= never) continue;
      const Claim& c = claimsOf_[r][e.claim];
      const double whole = std::ceil(inShare * static_cast<double>(e.others));
      // Above every entry's count: within an edge a way has no target.
      lift = std::max(lift, static_cast<std::uint64_t>(whole));
      const double part = whole - static_cast<double>(e.ticks - std::min(e.ticks, c.ticks));
      if (part <= 0.0) continue;
      counted[r][e.claim] = std::max(counted[r][e.claim], static_cast<std::uint64_t>(part));
    }
  }
  std::vector<RunTarget> list;
  for (std::size_t r = 0; r < runs_.size(); ++r) {
    for (std::size_t k = 0; k < claimsOf_[r].size(); ++k) {
      const Claim& c = claimsOf_[r][k];
      list.push_back({c.from, c.ticks + lift - counted[r][k], static_cast<int>(r)});
    }
  }
  return list;
}

// A stay's last claim on the run is the edge's first tick or its last
// (its `since` tells which); from there, on within the edge to a claim on
// another run, or after it.
std::vector<RunExit> RunTransitions::exits(std::size_t run, const ToOtherRuns& onward,
                                          std::uint64_t lift, double outShare) const {
  std::vector<RunExit> list;
  for (const Claim& c : claimsOf_[run]) {
    const StateEdge& edge = g_.edge(c.edge);
    const std::uint64_t lastTick = edge.ticks - c.since;
    double out = std::numeric_limits<double>::infinity();
    const std::uint64_t after = onward.from(edge.to, static_cast<int>(run));
    // Less than the way on from the edge's end when an entry there counts
    // more than the walk to it: the two parts still add up to the way.
    if (after < never) out = static_cast<double>(c.since + after) - static_cast<double>(lift);
    // Within the edge, its share of the way, as every way in counts the rest.
    for (std::uint32_t n = c.alsoBegin; n < c.alsoEnd; ++n) {
      if (alsoOn_[n].ticks > lastTick) out = std::min(out, outShare * static_cast<double>(alsoOn_[n].ticks - lastTick));
    }
    const bool atEnd = c.since == 0;
    const float x = atEnd ? g_.state(edge.to).x : g_.state(c.from).x;
    const std::uint64_t toTeleport =
        teleport_[c.edge] ? 0 : toTeleport_[edge.to] < never ? c.since + toTeleport_[edge.to] : never;
    list.push_back({x, out, ticksOrNever(toTeleport), atEnd ? doubtAt(edge.to, run) : motion_.sideways});
  }
  return list;
}

std::vector<RunTarget> RunTransitions::exitStarts(const std::vector<std::vector<RunExit>>& exits,
                                                  std::uint64_t& top) const {
  double most = 0.0;
  for (const std::vector<RunExit>& run : exits) {
    for (const RunExit& x : run) {
      if (std::isfinite(x.out)) most = std::max(most, x.out);
    }
  }
  top = static_cast<std::uint64_t>(std::ceil(most));
  std::vector<RunTarget> list;
  for (std::size_t r = 0; r < exits.size(); ++r) {
    for (std::size_t k = 0; k < exits[r].size(); ++k) {
      const RunExit& x = exits[r][k];
      if (!std::isfinite(x.out)) continue;
      const Claim& c = claimsOf_[r][k];
      // Rounded down: the entries then count no more than their share.
      const auto lifted = static_cast<std::uint64_t>(std::floor(static_cast<double>(top) - x.out));
      list.push_back({g_.edge(c.edge).to, c.since + lifted, static_cast<int>(r)});
    }
  }
  return list;
}

std::vector<RunEntry> RunTransitions::countedFrom(std::size_t run, std::vector<RunEntry> entries,
                                                  const ToOtherRuns& fromExits, std::uint64_t top,
                                                  double inShare) const {
  constexpr double none = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i < entries_[run].size(); ++i) {
    const Entry& e = entries_[run][i];
    const Claim& c = claimsOf_[run][e.claim];
    const std::uint64_t walked = fromExits.from(c.from, static_cast<int>(run));
    double counted = walked < never ? static_cast<double>(walked + e.ticks) - static_cast<double>(top) : none;
    for (std::uint32_t n = c.alsoBegin; n < c.alsoEnd; ++n) {
      const AlsoOn& on = alsoOn_[n];
      if (on.ticks < e.ticks) counted = std::min(counted, inShare * static_cast<double>(e.ticks - on.ticks));
    }
    RunEntry& entry = entries[i];
    entry.others = std::max(inShare * entry.others, counted);
  }
  return entries;
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
