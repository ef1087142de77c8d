#pragma once
// The least a run's stays ask of a route, where they are entered and left
// counted (authoring/RunBound.h).
//
// Walks. A stay claims from a stretch [l, r] of the run, each claim a step
// of at most the walk from the one before, from its entry e to its exit b:
// at least (r - l) + (e - l) + (r - b) left end first, or (r - l) + (r - e)
// + (b - l) right end first, at the walking pace. The stays together claim
// every tile: taken in the order of how far right they reach, those that
// reach further each begin no more than the run's widest gap g past the
// furthest reached before (the first left of the run's left turn), and the
// last reaches its right turn; any other stay still counts its ways.
//
// Ways. A stay is entered from away (another run, or the life's start) or
// back from the run, walked (by a fast edge and no teleport) or by a
// teleport (authoring/RunTransitions.h), and left for away, back onto the
// run either way, or not at all when the route ends on it. Every way
// between two runs costs at least its way in (from a claim on another
// run) and at least its way out (to a claim on another run), so at least
// outShare of the one plus the rest of the other: a stay counts the rest
// (inShare) of a way in from away, and outShare of `out` where it leaves
// for away. A caller may give `out` already split, with outShare 1: the
// least over the claims on other runs of the way there less what their
// entries count; and the entries' ways in already counted, with inShare
// 1: the more of their share and the least over the exits on other runs
// of the way from there less what the exit counts
// (authoring/RunTransitions.h). A walked way back counts whole where it
// comes in, and nothing where it leaves. A way back by teleport goes from
// the exit to where some teleport starts, and from where some teleport
// starts to the entry: the stay it leaves counts the first, the stay it
// enters the second. The way from the life's start to the route's first
// claim is no run's way out, so the stay it enters counts all of it. Some
// stay is entered from away or the start; at most one is entered from the
// start, and at most one ends the route.
//
// Balance. In time, each stay left back one way is followed by one entered
// back that way: so, for each way, as many stays are left back by it as
// are entered back by it. A price for each way, charged for each stay left
// back by it and given back for each entered back by it, changes no
// route's sum, so the least sum at any prices bounds every route; the
// bound takes the best of a few prices from nothing to the least a stay
// entered back that way pays (beyond it, such stays would pay less than
// nothing).
//
// Roots. Following each stay entered back by teleport to the one left back
// before it leads, since time has a beginning, to a stay left back by
// teleport that was not entered so. Sets with stays entered back by
// teleport are counted only with such a root; the others have no stay
// left back by teleport either. The run asks the lesser of the two.
//
// The least over every set of stays, each entry and exit counted anywhere
// within its doubt of where it stands (a claim in an edge's first tick is
// known by the state the edge leaves, a tick's step before it): at each
// price, one pass over
// the run's pixel columns in order keeps the best set that reaches each,
// for each of the sixteen layers (entered from away or not, ended or not,
// begun or not, left for away or not), and thirty-two with a root or not;
// time linear in the columns times the kinds of stay (at most thirty-two),
// memory a few hundred numbers a column. The prices with a root are tried
// from the best without one, and no further once the sums reach those
// without: the run asks no more than those. The runs of a level are
// counted only while their columns add up to no more than mostColumns (a
// few tenths of a second); past that, as nothing.
#include <limits>
#include <vector>

#include "authoring/RunEntries.h"

// Where a stay on a run may end, and what leaving from there costs.
struct RunExit {
  float x = 0.0f;    // where a stay's last claim on the run stands
  double out = 0.0;  // least ticks on from there to a claim on another run
  double toTeleport = std::numeric_limits<double>::infinity();  // to a teleport's start
  float doubt = 0.0f;  // pixels either way of x the claim may stand (RunEntry)
};
// A stay claims the run's first tile only from left of `left`, and its
// last only from `right` on (the player's centre).
struct RunEnds {
  double left = 0.0;
  double right = 0.0;
};

inline constexpr int mostColumns = 1 << 15;

// By whether the route begins on the run (its first stay is entered from
// the life's start) and whether it ends there.
struct StaysTicks {
  double ticks[2][2] = {{0.0, 0.0}, {0.0, 0.0}};
};

// gap: g in pixels; walk: pixels a tick; outShare: of each way between
// runs, in [0, 1].
// Infinity where there is no such set of stays.
// inShare: of each way in from another run; below 0, 1 - outShare.
StaysTicks staysTicks(const std::vector<RunEntry>& entries, const std::vector<RunExit>& exits,
                      RunEnds ends, double gap, double walk, double outShare,
                      double inShare = -1.0);
