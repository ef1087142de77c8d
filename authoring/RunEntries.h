#pragma once
// How much of a run's walk its entries may spare (authoring/RunBound.h).
//
// Pieces. A stay on a run, for the bound, is its claims from one entry to
// the next (authoring/RunTransitions.h). The places a stay claims from make
// a stretch holding its entry, so the stays' places form pieces along the
// run, each holding the entry of the stay that began it. Between
// neighbouring pieces lies a gap of at most the run's widest gap g (a cover
// and a step: anything longer leaves a tile unclaimed) and at most the
// distance between their entries. The walk the pieces ask is the run's span
// less its cover and their gaps.
//
// Who pays. The first stay on a run is entered by the tree of first entries
// the bound counts apart: its entry is free. Every other piece began with an
// entry that costs at least its `cost()`. A way back onto the run that carries
// the player no faster than walking has no price (authoring/RunTransitions.h):
// the piece it begins lies no further from the piece it left than the walk
// it takes the place of, so taking such pieces away, latest first, loses no
// more of the gaps than their ways back took in ticks.
//
// So the walk spared is at most the best, over the entries chosen to begin
// pieces in order along the run, one of them free, of the gaps between
// neighbours (each at most g) at the walking speed, less what the others
// cost. Places are counted by the pixel column they stand in (two pieces
// begun in one column spare less than any way in costs), a column apart
// as a pixel more. One pass over the columns in order keeps the best chain
// ending at each, with and without the free entry, looking back one by one
// only at the g columns before it: time linear in the entries and in the
// run's columns times g, memory in the columns.
#include <limits>
#include <vector>

struct RunEntry {
  float x = 0.0f;      // where the player first claims on the run
  double others = 0.0; // least ticks of a way in from a claim on another run
  double back = 0.0;   // and from one on this run, by way of a fast edge
  double cost() const { return others < back ? others : back; }
  double fromStart = std::numeric_limits<double>::infinity();  // from the life's start
  // Ways back as the stays count them (authoring/RunStays.h): by fast
  // edges and no teleport, and from the start of any teleport.
  double walked = std::numeric_limits<double>::infinity();
  double teleported = std::numeric_limits<double>::infinity();
  // Pixels either way of x the claim may stand: a claim in an edge's first
  // tick is known by the state it leaves, a tick's step before it.
  float doubt = 0.0f;
};

// The walking ticks the entries may spare at most. gap: g in pixels; walk:
// pixels a tick. Entries at one place count as one, at the least cost.
double entriesSaving(std::vector<RunEntry> entries, double gap, double walk);

