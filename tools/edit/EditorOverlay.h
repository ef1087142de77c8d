#pragma once
// What the editor draws over the game's frame: the live checks' marks where
// each problem is, the path of the last play-test, and the cursor with the
// outline of the element a click would place there.
#include <allegro.h>

#include <vector>

#include "tools/edit/EditElement.h"
#include "tools/edit/EditorPlaytest.h"
#include "tools/edit/LiveChecks.h"

class Game;
class LevelEditor;

// Where a finding is on the map; empty for one about the level as a whole.
Rect findingPlace(const ReportFinding& finding, const LevelEditor& editor, const Game& game);

// Errors red, warnings amber, unreachable tiles and items violet; the
// findings of the message on show in the status bar (highlighted: indices
// into findings) are drawn thicker. Findings of an older revision that
// name elements the level no longer has are left out.
void drawMarks(BITMAP* target, const std::vector<ReportFinding>& findings,
               const std::vector<int>& highlighted, const LevelEditor& editor, const Game& game);

void drawPath(BITMAP* target, const std::vector<PathPoint>& path);

// The selection outlined, the handles of a single ladder, chute or enemy,
// lines between teleporters linked to a selected one, and the rectangle a
// selecting or filling drag spans.
void drawSelection(BITMAP* target, const LevelEditor& editor);

// The snapping grid, the size of the current tile look, over the map;
// dotted, so the level shows through it.
void drawGrid(BITMAP* target, const LevelEditor& editor);

// The cross that marks the cursor's point.
void drawCross(BITMAP* target, int x, int y);

// A cross at the cursor's point, the grid cell under it, and the outline
// of the element a click there would place, where it would land.
void drawCursor(BITMAP* target, LevelEditor& editor, int x, int y);
