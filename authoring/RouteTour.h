#pragma once
// A route that clears a level, made shorter by a tour over the order in
// which its runs of claimable tiles (authoring/RunBound.h) are claimed and
// the end each is entered from, as route optimisers improve a tour.
//
// A tour is a list of legs: a run and the end it is entered from. A leg is
// played as the search plays a way: the cheapest way over the found states
// (enemies ignored) to the run's first wanted tile from that end that
// leaves no wanted tile behind, then the nearest of its wanted tiles until
// none is left; a way that ends in a catch is tried again after standing
// still for a while. Every leg is played on the game's own tick with the
// enemies (authoring/ClearingPlay.h), so a tour kept clears the level with
// no life lost, and its hash trail is the one its replay must follow.
//
// The first tour is the order in which the route given first claims each
// run. Moves are tried over it, first one that shortens it kept: an end
// flipped, a segment of one to three legs moved elsewhere (or-opt), a
// segment reversed with its ends flipped (2-opt). A candidate shares the
// legs before its first change with the tour kept, and is played from the
// snapshot kept there, and given up as soon as it is no shorter.
//
// The route given is replaced only by a tour that clears the level in
// fewer ticks, so the result is never longer. Limits: ClearingLimits'
// tourTicks ticks played (a busy machine finds what an idle one does) and
// tourSeconds, which PWE_SEARCH_SECONDS scales with the proof's own; one
// snapshot per leg of the tour kept and of the candidate, the route's
// inputs and hash trail twice. Measured in docs/performance.md.
#include "authoring/ClearingSearch.h"

class Game;
class Reachability;

// clear: a route that cleared, with its edges; game: the one search ran
// on, at the life's start, and left there.
void shortenByTour(Game& game, const Reachability& search, ClearingResult& clear,
                   const ClearingLimits& limits);
