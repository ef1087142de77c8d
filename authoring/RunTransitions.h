#pragma once
// The ways between runs of claimable tiles (authoring/RunBound.h) over the
// found states, enemies ignored, cooldown waits free: the least ticks from
// a last claim on one run to a first claim on another, and each run's
// entries with what they cost (authoring/RunEntries.h).
//
// Claims. An edge is a chain of ticks that claims only in its first tick,
// where the player stands with a choice, and in its last, where it lands,
// ends a slide or arrives by a teleport. Ticks between claims are counted
// from the end of an edge claiming the one run to the claim of an edge on
// the other; within one edge, from its first tick to its last.
//
// Places. A tick claims once it has moved, so a claim in an edge's last
// tick stands where the edge ends, when it ends standing on the run (a
// jump's landing claims before a chute may take the player in, in the same
// tick); a claim in its first tick is known only to within a tick's step of
// where it leaves. Each entry and exit says which (its doubt).
//
// Entries. A stay, for the bound, is the claims on a run from one entry to
// the next, each a step from the one before: an edge enters a run at its
// start when it starts standing there just after no claim on it (a step off
// a ladder, in from floor beside it), and at its end when it lands there
// after more than a tick. An entry costs at least the ticks from a claim on
// another run, or, back from the run itself, from a claim there by way of a
// fast edge: one that carries the player sideways further than walking
// would in its ticks (a jump, a slide, a teleport). A way back with none
// carries the player no further than the walk it takes the place of, so it
// spares nothing and needs no price. A way back by a teleport (an edge
// that starts the cooldown) costs at least the ticks from its exit to the
// start of some teleport and from the start of some teleport to its entry;
// the others (walked) are found by walks that take no teleport.
//
// Work: two walks over the found states once a level (backwards to the
// teleports' starts, on from them), and three a run (from its claims, and
// two bounded by a walk across the run, taking no teleport: from its
// claims, and from the fast edges' ends after them), asking the limits as
// they go. Memory: a cost per found state for three walks at a time, a
// mark per found edge, a matrix of runs squared and an entry per claiming
// edge that enters.
#include <cstdint>
#include <vector>

#include "authoring/ClaimWays.h"
#include "authoring/RunEntries.h"
#include "authoring/RunExits.h"
#include "authoring/RunStays.h"

class RouteLimits;
struct ClaimRun;

// What the player's data allows: the walk, the reach of its claims, and
// the fastest horizontal speed of any edge found but a teleport.
struct RunMotion {
  float walk = 0.0f;
  float reach = 0.0f;
  float sideways = 0.0f;
};

class RunTransitions {
 public:
  RunTransitions(const StateGraph& g, const std::vector<ClaimRun>& runs,
                 const claimways::ClaimStart& start, const RunMotion& motion,
                 const RouteLimits& limits);

  // False when the limits passed.
  bool measure();

  // The least ticks from a last claim on run a to a first claim on run b.
  std::uint64_t any(std::size_t a, std::size_t b) const { return any_[a][b]; }
  // The run's entries, where they stand and what they cost.
  std::vector<RunEntry> entries(std::size_t run) const;
  // By run: the earliest tick of a claim on it from the life's start; each
  // claim becomes an entry too, as the route's first.
  std::vector<std::uint64_t> firstClaims(const claimways::Costs& fromStart);
  // Every claim on a run, as a place to leave for, each lifted by `lift`
  // less what the entries on it count of their ways in at inShare: a walk
  // back from them, less the lift, gives each exit the least over the
  // claims of its way there less that count, which with the count bounds
  // every way from the exit to the entry (exits, with the same lift).
  std::vector<RunTarget> targets(double inShare, std::uint64_t& lift) const;
  // Where the run's stays may end, each with the least ticks on to a claim
  // on another run and to the start of a teleport.
  // onward: from targets lifted by `lift`, which comes off again.
  std::vector<RunExit> exits(std::size_t run, const ToOtherRuns& onward,
                             std::uint64_t lift = 0, double outShare = 1.0) const;
  // Every claim as where a way from a stay's exit there begins, lifted by
  // `top` less what that exit counts (exits: by run, as exits() gives
  // them): a walk on from them, less the lift, gives each entry the least
  // over the exits on other runs of its way from there less what the exit
  // counts, which with that count bounds every way from the exit to the
  // entry (countedFrom, with the same top).
  std::vector<RunTarget> exitStarts(const std::vector<std::vector<RunExit>>& exits,
                                    std::uint64_t& top) const;
  // The run's entries as entries() gives them, each way in from away
  // counted whole: the more of inShare of it and the least over the exits
  // above; within an edge that claims another run first, no more than
  // inShare of the way, as the exits count the rest of it.
  std::vector<RunEntry> countedFrom(std::size_t run, std::vector<RunEntry> entries,
                                    const ToOtherRuns& fromExits, std::uint64_t top,
                                    double inShare) const;

 private:
  // An edge claiming a run: when, and on which other runs it claims too.
  struct Claim {
    std::uint32_t from;
    std::uint32_t edge;
    std::uint64_t ticks;  // from the edge's start to its first claim on the run
    std::uint64_t since;  // from its last claim on the run to its end
    std::uint32_t alsoBegin, alsoEnd;  // in alsoOn_
  };
  struct AlsoOn {
    int run;
    std::uint64_t ticks;
  };
  struct Entry {
    std::uint32_t claim;  // in claimsOf_ of its run
    float x;              // where it stands on the run
    float doubt;          // pixels either way (RunEntry)
    std::uint64_t ticks;  // from the edge's start to its claim there
    std::uint64_t others = claimways::unreachable;  // from a claim on another run
    std::uint64_t back = claimways::unreachable;    // from one on this run, by a fast edge
    std::uint64_t walked = claimways::unreachable;  // so, and by no teleport
    std::uint64_t teleported = claimways::unreachable;  // from any teleport's start
  };
  // A claim from the life's start with nothing claimed before.
  struct FirstEntry {
    float x;
    float doubt;
    std::uint64_t ticks;
  };
  struct Place {
    int row;
    float left;
    float right;
  };

  void findClaims(std::size_t run);
  void findFastEdges();
  void addEntries(const Claim& c, std::size_t run);
  bool continues(std::uint32_t state, std::size_t run) const;
  bool standsIn(std::uint32_t state, std::size_t run) const;
  float doubtAt(std::uint32_t state, std::size_t run) const;
  bool fast(std::uint32_t from, const StateEdge& edge) const;
  void findTeleports();
  bool measureTeleports();
  bool backWalked(std::size_t a);
  std::uint64_t claimTick(const claimways::ClaimEdge& c, std::size_t run) const;
  std::uint64_t intoBy(const Claim& c, std::size_t a, std::uint64_t ticks,
                       const claimways::Costs& after) const;
  void into(std::size_t a, std::size_t b, const claimways::Costs& after);
  bool back(std::size_t a);
  Place placeOf(std::uint32_t state) const;
  Place placeOf(const ClaimRun& run) const;

  const StateGraph& g_;
  const claimways::Steps& steps_;
  const std::vector<ClaimRun>& runs_;
  const RunMotion& motion_;
  const RouteLimits& limits_;
  std::vector<int> runOf_;
  const std::vector<std::vector<claimways::ClaimEdge>>& claims_;
  std::uint32_t longest_;
  std::vector<std::vector<std::uint32_t>> claimEnds_;  // by run, sorted: states after a claim on it
  std::vector<std::vector<std::uint64_t>> any_;
  std::vector<std::vector<Claim>> claimsOf_;  // by run
  std::vector<AlsoOn> alsoOn_;
  std::vector<std::vector<Entry>> entries_;  // by run
  std::vector<std::vector<FirstEntry>> firstEntries_;  // by run
  std::vector<claimways::ClaimEdge> fastEdges_;
  // Teleports: edges that start the cooldown; the least ticks from each
  // state to the start of one, and from the start of one to each state.
  std::vector<bool> teleport_;  // by edge
  std::vector<claimways::ClaimEdge> teleports_;
  claimways::Costs toTeleport_, fromTeleport_;
};
