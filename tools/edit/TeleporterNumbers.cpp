#include "tools/edit/TeleporterNumbers.h"

#include <string>

#include "tools/edit/LevelEditor.h"

namespace {

constexpr int plateMargin = 1;  // pixels between the figures and the plate's edge

std::string numberOf(const LevelEditor& editor, int index) {
  return std::to_string(editor.level().teleporters[index].number);
}

}  // namespace

Rect teleporterNumberPlate(const LevelEditor& editor, int index) {
  const std::string text = numberOf(editor, index);
  const int w = text_length(font, text.c_str()) + 2 * plateMargin;
  const int h = text_height(font) + 2 * plateMargin;
  Rect pad = editor.bounds(ElementRef{ElementKind::Teleporter, index});
  if (pad.empty()) {
    const TeleporterSpec& spec = editor.level().teleporters[index];
    pad = Rect{spec.x, spec.y, 0, 0};
  }
  return Rect{pad.x + (pad.w - w) / 2, pad.y + (pad.h - h) / 2, w, h};
}

void drawTeleporterNumbers(BITMAP* target, const LevelEditor& editor) {
  const int plate = makecol(0, 0, 0);
  const int figures = makecol(255, 255, 255);
  for (int i = 0; i < static_cast<int>(editor.level().teleporters.size()); ++i) {
    const Rect r = teleporterNumberPlate(editor, i);
    rectfill(target, r.x, r.y, r.x + r.w - 1, r.y + r.h - 1, plate);
    textout_ex(target, font, numberOf(editor, i).c_str(), r.x + plateMargin, r.y + plateMargin,
               figures, -1);
  }
}
