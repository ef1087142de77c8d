#pragma once
// The palette Tab shows: a thumbnail of every look of the current tool (an
// enemy kind by its first animation's first frame), one click choosing.
// The panel stands in a corner of the map away from the cursor and never
// covers the element under it, so what is being worked on stays in view.
#include <allegro.h>

#include "tools/edit/EditElement.h"

class LevelEditor;
class LookCatalog;

struct PaletteLayout {
  Rect panel;       // on the map; empty before the first layout
  int count = 0;    // looks shown
  int columns = 0;  // thumbnails a row
  int cell = 0;     // side of a thumbnail's square with its gap, pixels

  // Where look i is drawn, and which look's thumbnail holds a point (-1 for none).
  Rect thumbnail(int look) const;
  int lookAt(int x, int y) const;
};

// Lays count looks out on a map of width x height. clear is what the panel
// must not cover (the element under the cursor, or the cursor's point when
// there is none); cursorX, cursorY the cursor. The panel stays where
// `current` has it while the cursor is on it or it covers nothing of
// clear, so it does not run from the cursor coming to click; otherwise it
// goes to the first corner clear of it, on the side across from the cursor
// first.
PaletteLayout placePalette(int count, int width, int height, const Rect& clear, int cursorX,
                           int cursorY, const PaletteLayout& current);

// What the panel must keep clear of with the cursor at (x, y).
Rect paletteClearance(const LevelEditor& editor, int x, int y);

// A press at (x, y) on a thumbnail makes its look the current tool's:
// true then.
bool choosePaletteLook(const PaletteLayout& layout, int x, int y, LevelEditor& editor);

// The panel, the current look framed, the look under the cursor named.
void drawPalette(BITMAP* target, const PaletteLayout& layout, const LookCatalog& looks,
                 const LevelEditor& editor, int cursorX, int cursorY);
