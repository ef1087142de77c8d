#include "tools/edit/EditorOverlay.h"

#include <algorithm>

#include "game/Game.h"
#include "tools/edit/LevelEditor.h"
#include "tools/edit/OverlayColours.h"

namespace {

bool toolOf(const ReportFinding& finding, EditTool& tool) {
  if (finding.element == LayoutElement::Start) tool = EditTool::Start;
  else if (finding.element == LayoutElement::Record) tool = finding.kind;
  else return false;
  return true;
}

Rect panelPlace(const BITMAP* panel, int x, int y) {
  if (panel == nullptr) return Rect{};
  return Rect{x, y, panel->w, panel->h};
}

int markColour(const ReportFinding& finding) {
  if (finding.unreachable) return unreachableColour();
  if (finding.warning) return warningColour();
  return errorColour();
}

void outline(BITMAP* target, const Rect& r, int thickness, int colour) {
  for (int i = 0; i < thickness; ++i) {
    rect(target, r.x - 1 - i, r.y - 1 - i, r.x + r.w + i, r.y + r.h + i, colour);
  }
}

// Findings of an older revision may name elements the level no longer has.
bool stillThere(const ReportFinding& finding, const LevelData& level) {
  if (finding.element != LayoutElement::Record) return true;
  return visitRecordList(level, finding.kind, [&](const auto& list, auto) {
    return finding.index < static_cast<int>(list.size());
  });
}

// Unreachable places are hatched as well, so they read apart from a plain
// error even where the colours are hard to tell.
void hatch(BITMAP* target, const Rect& r, int colour) {
  set_clip_rect(target, r.x, r.y, r.x + r.w - 1, r.y + r.h - 1);
  for (int d = -r.h; d < r.w; d += 6) line(target, r.x + d, r.y + r.h, r.x + d + r.h, r.y, colour);
  set_clip_rect(target, 0, 0, target->w - 1, target->h - 1);
}

// Light and dark dashes, so the outline shows on any background.
void dashedOutline(BITMAP* target, const Rect& r, int light, int dark) {
  const int right = r.x + r.w - 1;
  const int bottom = r.y + r.h - 1;
  for (int x = r.x; x <= right; ++x) {
    const int colour = (x / 3) % 2 == 0 ? light : dark;
    putpixel(target, x, r.y, colour);
    putpixel(target, x, bottom, colour);
  }
  for (int y = r.y; y <= bottom; ++y) {
    const int colour = (y / 3) % 2 == 0 ? light : dark;
    putpixel(target, r.x, y, colour);
    putpixel(target, right, y, colour);
  }
}

}  // namespace

Rect findingPlace(const ReportFinding& finding, const LevelEditor& editor, const Game& game) {
  const LevelData& level = editor.level();
  if (finding.element == LayoutElement::CountdownPanel) {
    return panelPlace(game.countdownBuffer.get(), level.countdown_x, level.countdown_y);
  }
  if (finding.element == LayoutElement::ScorePanel) {
    return panelPlace(game.scoreBuffer.get(), level.score_x, level.score_y);
  }
  EditTool tool = ElementKind::Tile;
  if (!toolOf(finding, tool)) return Rect{};
  const int index = tool == EditTool::Start ? 0 : finding.index;
  if (index < 0) return Rect{};
  return editor.bounds(ElementRef{tool, index});
}

void drawMarks(BITMAP* target, const std::vector<ReportFinding>& findings,
               const std::vector<int>& highlighted, const LevelEditor& editor, const Game& game) {
  for (int i = 0; i < static_cast<int>(findings.size()); ++i) {
    const ReportFinding& finding = findings[i];
    if (!stillThere(finding, editor.level())) continue;
    const Rect place = findingPlace(finding, editor, game);
    if (place.empty()) continue;
    const int colour = markColour(finding);
    const bool shown =
        std::find(highlighted.begin(), highlighted.end(), i) != highlighted.end();
    if (finding.unreachable) hatch(target, place, colour);
    outline(target, place, shown ? 3 : 1, colour);
  }
}

void drawPath(BITMAP* target, const std::vector<PathPoint>& path) {
  const int colour = pathColour();
  for (size_t i = 1; i < path.size(); ++i) {
    line(target, path[i - 1].x, path[i - 1].y, path[i].x, path[i].y, colour);
  }
  if (!path.empty()) circlefill(target, path.back().x, path.back().y, 2, colour);
}

void drawSelection(BITMAP* target, const LevelEditor& editor) {
  const int light = makecol(90, 255, 120);
  const int dark = makecol(0, 60, 20);
  for (ElementRef element : editor.selection().refs()) {
    const Rect drawn = editor.bounds(element);
    if (!drawn.empty()) outline(target, drawn, 1, light);
  }
  const std::vector<ElementRef> linked = editor.linkedTeleporters();
  for (size_t i = 1; i < linked.size(); ++i) {
    const Rect a = editor.bounds(linked[i - 1]);
    const Rect b = editor.bounds(linked[i]);
    if (a.empty() || b.empty()) continue;
    line(target, a.x + a.w / 2, a.y + a.h / 2, b.x + b.w / 2, b.y + b.h / 2, light);
  }
  for (const Handle& handle : editor.handles()) {
    rectfill(target, handle.x - 2, handle.y - 2, handle.x + 2, handle.y + 2, light);
    rect(target, handle.x - 3, handle.y - 3, handle.x + 3, handle.y + 3, dark);
  }
  const Rect band = editor.band();
  if (!band.empty()) dashedOutline(target, band, light, dark);
}

void drawCursor(BITMAP* target, LevelEditor& editor, int x, int y) {
  int cellX = x;
  int cellY = y;
  editor.snap(cellX, cellY);
  const int grid = makecol(160, 160, 160);
  if (editor.snapping()) {
    rect(target, cellX, cellY, cellX + editor.gridWidth() - 1,
         cellY + editor.gridHeight() - 1, grid);
  }
  // Shift sets the element where the mouse is rather than on a floor.
  const Rect landing = editor.placementAt(x, y, (key_shifts & KB_SHIFT_FLAG) != 0);
  if (!landing.empty()) dashedOutline(target, landing, makecol(255, 255, 255), makecol(0, 0, 0));
  drawCross(target, x, y);
}

void drawCross(BITMAP* target, int x, int y) {
  const int cross = makecol(255, 255, 255);
  hline(target, x - 4, y, x + 4, cross);
  vline(target, x, y - 4, y + 4, cross);
}

void drawGrid(BITMAP* target, const LevelEditor& editor) {
  const int w = std::max(editor.gridWidth(), 1);
  const int h = std::max(editor.gridHeight(), 1);
  const int colour = makecol(120, 120, 140);
  for (int y = 0; y < target->h; y += h) {
    for (int x = 0; x < target->w; x += 2) putpixel(target, x, y, colour);
  }
  for (int x = 0; x < target->w; x += w) {
    for (int y = 0; y < target->h; y += 2) putpixel(target, x, y, colour);
  }
}
