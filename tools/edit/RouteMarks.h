#pragma once
// How hard each moment of the route is, on the map. Once F7 has played the
// route the proof with the enemies found, its drawn path carries a ring at
// each press whose window is tight (RouteMoments.h's isTight) and at the
// tightest, and a cross where each enemy passes near (isNear) and where the
// nearest passes, at the player's place at that tick as the report gives
// it; each labelled with the window's ticks or the pass's pixels. The hard
// ones are in the warnings' amber, the tightest and nearest that are not in
// the path's own colour.
#include <allegro.h>

#include <string>
#include <vector>

#include "authoring/RouteMoments.h"

class Game;

struct RouteMark {
  enum Kind { Press, Pass };
  Kind kind = Press;
  int x = 0;          // the player's bottom centre at its tick, screen pixels (as PathPoint)
  int y = 0;
  bool hard = false;  // a tight window or a near pass: what the checks warn of
  std::string label;  // "3 ticks" ("6+ ticks" when the window may be wider), "2 px"
};

// The presses in the route's order, then the passes in the enemies' order.
std::vector<RouteMark> routeMarks(const RouteMoments& moments);

void drawRouteMarks(BITMAP* target, const std::vector<RouteMark>& marks);

// For the status line once the route has been played: "par between 13.2
// and 20.7 s; tightest: the jump at 4.4 s, a 3-tick window; nearest: ...",
// worded as the proof's note words them; empty unless the proof cleared
// the level (clearedTicks above 0). game: holds the level the moments are of.
std::string routeMomentsLine(int clearedTicks, int parTicks, const RouteMoments& moments,
                             const Game& game);
