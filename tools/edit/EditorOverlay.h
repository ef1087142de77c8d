#pragma once
// What the editor draws over the game's frame: the live checks' marks where
// each problem is, the path of the last play-test, and the cursor with the
// grid cell a click would place in.
#include <allegro.h>

#include <vector>

#include "tools/edit/EditElement.h"
#include "tools/edit/EditorPlaytest.h"
#include "tools/edit/LiveChecks.h"

class Game;
class LevelEditor;

// Where a finding is on the map; empty for one about the level as a whole.
Rect findingPlace(const CheckFinding& finding, const LevelEditor& editor, const Game& game);

// Errors red, warnings amber, unreachable tiles and items violet; the
// finding on show in the status bar (current, or -1) is drawn thicker.
void drawMarks(BITMAP* target, const std::vector<CheckFinding>& findings, int current,
               const LevelEditor& editor, const Game& game);

void drawPath(BITMAP* target, const std::vector<PathPoint>& path);

// The grid cell under the cursor and a cross at its point.
void drawCursor(BITMAP* target, const LevelEditor& editor, int x, int y);
