#pragma once
// Where an element placed with the mouse comes to rest: on the first floor
// under the cursor, its feet on the row the engine stands a figure on over
// that floor (FloorManager::standingRun, the row isOnFloor reads). A floor
// counts from the row the cursor is on: a tile reaching that row or lower,
// so a click on a floor tile itself sets the element on top of it.
#include "structures/FloorManager.h"

// The feet row over the first floor under (column, row) whose standing run
// holds the column; false when no floor lies there. Time: one look at
// every tile of the level.
bool floorUnder(const FloorManager& floors, int column, int row, int& feet);
