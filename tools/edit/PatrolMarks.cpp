#include "tools/edit/PatrolMarks.h"

#include <algorithm>

#include "tools/edit/LevelEditor.h"

namespace {

// Every other pixel: the map shows through, so the marks stay faint.
void dottedRow(BITMAP* target, int left, int right, int y, int colour) {
  for (int x = std::min(left, right); x <= std::max(left, right); x += 2) {
    putpixel(target, x, y, colour);
  }
}

void dottedColumn(BITMAP* target, int x, int top, int bottom, int colour) {
  for (int y = top; y <= bottom; y += 2) putpixel(target, x, y, colour);
}

}  // namespace

void drawPatrolMarks(BITMAP* target, const LevelEditor& editor) {
  if (editor.selecting() || editor.tool() != ElementKind::Enemy) return;
  const int colour = makecol(255, 170, 60);
  for (int i = 0; i < static_cast<int>(editor.level().enemies.size()); ++i) {
    const ElementRef enemy{ElementKind::Enemy, i};
    const Rect drawn = editor.bounds(enemy);
    const std::vector<Handle> ends = handlesOf(editor.level(), enemy, drawn, 0);
    if (ends.size() != 2) continue;
    dottedRow(target, ends[0].x, ends[1].x, ends[0].y, colour);
    for (const Handle& end : ends) dottedColumn(target, end.x, drawn.y, drawn.y + drawn.h - 1, colour);
  }
}
