#pragma once
// The strip beside the map that shows every tool with its key, the select
// tool, the current look as a picture and where the keys are explained;
// a click on a tool chooses it. It stands right of the map, never over it,
// and is drawn on the canvas, so it follows the zoom.
//
// What it offers is the small list stripEntries(): one row a tool.
#include <allegro.h>

#include <string>
#include <vector>

#include "tools/edit/EditElement.h"

class LevelEditor;
class LookCatalog;

struct StripEntry {
  std::string key;    // as the key table names it
  std::string label;  // short enough for the strip
  bool select;        // the select tool; else `tool`
  EditTool tool;
};

// The placing tools in key order, then the select tool.
const std::vector<StripEntry>& stripEntries();

struct ToolStripLayout {
  Rect panel;              // the whole strip
  std::vector<Rect> rows;  // one a stripEntries() row
  Rect look;               // the current look's picture
  Rect help;               // "F1: keys"

  int entryAt(int x, int y) const;  // the row holding the point, or -1
};

// The strip at column left, width x height.
ToolStripLayout layOutToolStrip(int left, int width, int height);

// A press on a row chooses its tool: true then.
bool chooseFromStrip(const ToolStripLayout& layout, int x, int y, LevelEditor& editor);

// The rows (the chosen one framed), the current look, "F1: keys".
void drawToolStrip(BITMAP* target, const ToolStripLayout& layout, const LookCatalog& looks,
                   const LevelEditor& editor);
