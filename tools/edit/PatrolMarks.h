#pragma once
// Where each enemy may walk: while the enemy tool is chosen, the editor
// draws every patrol's bounds faintly over the map, a dotted line at the
// enemy's middle row from min_x to max_x with a dotted upright at each
// bound as tall as the enemy, at the places its handles take
// (ElementHandles.h).
#include <allegro.h>

class LevelEditor;

// Nothing unless the enemy tool is the one chosen.
void drawPatrolMarks(BITMAP* target, const LevelEditor& editor);
