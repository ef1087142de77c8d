// Dragging the ends of the one selected ladder or chute and the bounds of
// an enemy's patrol.
#include "game/Game.h"
#include "game/LevelFormat.h"
#include "tools/edit/LevelEditor.h"
#include "tools/edit/LookCatalog.h"

namespace {

const char* handleEditName(EditTool kind) {
  if (kind.isStart()) return "change patrol";
  switch (kind.kind()) {
    case ElementKind::Ladder: return "stretch ladder";
    case ElementKind::Chute: return "stretch chute";
    default: return "change patrol";
  }
}

}  // namespace

std::vector<Handle> LevelEditor::handles() const {
  const ElementRef element = selection_.single();
  if (!element.valid()) return {};
  int stepWidth = 0;
  if (element.kind == ElementKind::Chute) {
    const int look = looks_.find(ElementKind::Chute, level_.chutes[element.index].name);
    if (look >= 0) stepWidth = looks_.width(ElementKind::Chute, look);
  }
  return handlesOf(level_, element, bounds(element), stepWidth);
}

bool LevelEditor::beginHandle(int x, int y) {
  endGestures();
  Handle grabbed;
  if (!handleAt(handles(), x, y, grabbed)) return false;
  handleElement_ = selection_.single();
  handleEnd_ = grabbed.end;
  gestureChanged_ = false;
  return true;
}

// Each sample drags the end from where the gesture found it, so going
// back over the way undoes what the way there did.
void LevelEditor::handleTo(int x, int y) {
  if (!draggingHandle()) return;
  snap(x, y);
  LevelData dragged = history_.current();
  const int minimumRun = snapping_ ? gridHeight() : 1;
  dragHandle(dragged, handleElement_, handleEnd_, x, y, minimumRun);
  const std::string text = writeLevel(dragged);
  if (text == writeLevel(level_)) return;
  level_ = dragged;
  gestureChanged_ = text != writeLevel(history_.current());
  changed();
}

void LevelEditor::endHandle() {
  if (!draggingHandle()) return;
  const EditTool kind = handleElement_.kind;
  handleElement_ = ElementRef{};
  if (gestureChanged_) commit(handleEditName(kind));
}
