#pragma once
// The handles a single selected element offers the mouse: a ladder's and a
// chute's two ends, an enemy's patrol bounds. Dragging one changes the one
// field it stands for and nothing else, so a stretched ladder keeps its
// place and look and a widened patrol keeps its enemy where it is.
#include <vector>

#include "game/LevelData.h"
#include "tools/edit/EditElement.h"

enum class HandleEnd {
  Top,          // a ladder's or chute's top row: y moves, the bottom stays
  Bottom,       // its bottom row: the height
  PatrolLeft,   // an enemy's min_x
  PatrolRight,  // an enemy's max_x
};

struct Handle {
  HandleEnd end = HandleEnd::Top;
  int x = 0;  // centre of the handle, screen pixels
  int y = 0;
};

// A point this close to a handle's centre, either way, grabs it.
constexpr int handleReach = 4;

// drawn: where the engine placed the element; stepWidth: a chute step's
// width. None for the other kinds.
std::vector<Handle> handlesOf(const LevelData& level, ElementRef element, const Rect& drawn,
                              int stepWidth);
// The handle whose reach holds the point; false when none does.
bool handleAt(const std::vector<Handle>& handles, int x, int y, Handle& found);
// The element's end dragged to the point (already snapped as the editor
// snaps). An end never passes the other: a ladder or chute keeps at least
// minimumRun rows, a patrol always takes in the enemy's own x. True when
// the record changed.
bool dragHandle(LevelData& level, ElementRef element, HandleEnd end, int x, int y,
                int minimumRun);
