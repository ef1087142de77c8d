#pragma once
// A route that clears a level, made shorter by a tour over the order in
// which its runs of claimable tiles (authoring/RunBound.h) are claimed and
// the end each is entered from, as route optimisers improve a tour.
//
// A tour is a list of legs: some tiles of one run and the end they are
// entered from. A tour is played by the proof's own search
// (authoring/ClearingSearch.h, clearAiming) aimed by it: its nearest way
// goes for the end tile of the first leg with a tile still wanted while
// none of that leg is claimed, then for the leg's other tiles; its waits,
// other ways, items and going back are as ever. So every tour is played on
// the game's own tick with the enemies, one kept clears the level with no
// life lost, and its hash trail is the one its replay must follow.
//
// The first tour is the route given's own: the stretches of its claims
// that stay in one run, in its order. Then two tours are played from the
// start, each the cheapest order by the estimate with the enemies left out
// (authoring/TourCosts.h): of the first tour's legs, and of the runs each
// claimed in one leg; each may play a tenth of the tour's work or 4 times
// the kept route's length, whichever is more, for finding its way among
// the enemies anew takes more than going over its route. The moves tried
// over the tour kept are an end flipped, a segment of one to three legs
// moved elsewhere (or-opt) and a segment reversed with its ends flipped
// (2-opt), and where the tour's style asks it, or once past the tour's own
// work (below), a leg cut in two with the
// rest moved elsewhere (authoring/TourCosts.h: splitMoves), those the
// estimate finds cheapest first and, among equals,
// those that change the latest leg; the first that shortens the route is
// kept and the moves begin again from it. A move shares the legs before
// its first change with the tour kept, and its play begins at the place
// kept where those legs were done, so it replays only the rest; it is
// given up once its route is no shorter, or past 4 times the kept route's
// length in work (below).
//
// The route given is replaced only by one that clears the level in fewer
// ticks, so the result is never longer: the shortest of those kept that
// asks no more frame-perfect presses (authoring/ClearingRoute.h) than the
// route given, each tried from the shortest on, within the proof's limits. Limits (ClearingLimits): tourTicks
// (250 000) of work, ticks played, every 16 states the searches' walks
// take from their queues and every 128 states the estimate's walks reach,
// so a busy machine finds what a quiet one does; then, on a level whose
// search found fewer than 125 000 states, tourMore (1 000 000) less 8 a
// state more (past six enemies, six parts of it in as many as there are),
// the moves going on from where they stood (the plays from the start and
// the estimate keep to the shares of tourTicks);
// tourShare of the proof's seconds (10 s of the 60, PWE_SEARCH_SECONDS
// scales it) should a slow machine reach that first: far beyond what the
// work takes, so that the route found does not follow the machine's load; the search's own
// limit in bytes for each play. Memory beyond the search's: a snapshot
// per leg (the enemies changed and the items), the inputs and hash trail
// of each route kept (10 bytes a tick), and the estimate's costs (a word
// per tile for each leg's ends) and its copy of the found edges (8 bytes
// an edge, authoring/ClaimWays.h's Steps).
// Measured in docs/performance.md.
#include "authoring/ClearingSearch.h"

class Game;
class ItemWays;
class Reachability;

// othersFirst: the plays try the other ways before the waits, as the route
// given was found; splitLegs: the moves cut legs too (splitMoves).
struct TourStyle {
  bool othersFirst = false;
  bool splitLegs = false;
};

// clear: a route that cleared, with its edges; game: the one search ran
// on, at the life's start, and left there.
// items: the ways to the items the proof walked, kept for the tour's plays.
// atBase, when given: set to what the tour's own work (tourTicks) gave,
// before the more a small level allows (ClearingLimits::tourMore).
void shortenByTour(Game& game, const Reachability& search, ClearingResult& clear,
                   const ClearingLimits& limits, ItemWays& items, TourStyle style,
                   ClearingResult* atBase = nullptr);
