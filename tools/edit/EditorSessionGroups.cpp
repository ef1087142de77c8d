// The selection tool's keys: the clipboard, duplicating, deleting and
// nudging the selection, each one step of the history.
#include <string>

#include "tools/edit/EditorSession.h"
#include "tools/edit/EditorWindow.h"
#include "tools/edit/LevelEditor.h"

void EditorSession::groupCommand(const KeyCommand& key) {
  switch (key.command) {
    case EditorCommand::ChooseSelectTool: editor_.chooseSelectTool(); break;
    case EditorCommand::SelectAll: editor_.selectAll(); break;
    case EditorCommand::ClearSelection: editor_.clearSelection(); break;
    case EditorCommand::Copy: {
      const int copied = editor_.copy();
      notice(copied > 0 ? "Copied " + countedName(copied, "element")
                        : std::string("Nothing selected to copy"));
      break;
    }
    case EditorCommand::Cut:
      if (!editor_.cut()) notice("Nothing selected to cut");
      break;
    case EditorCommand::Paste:
      if (!window_.inLevel(mouseX_, mouseY_)) notice("Point at the level to paste there");
      else if (!editor_.paste(mouseX_, mouseY_)) notice("Nothing copied to paste");
      break;
    case EditorCommand::Duplicate:
      if (!editor_.duplicate()) notice("Nothing selected to duplicate");
      break;
    case EditorCommand::DeleteSelection:
      if (!editor_.deleteSelection()) notice("Nothing selected to delete");
      break;
    case EditorCommand::Nudge: editor_.nudge(key.dx, key.dy, key.pixel); break;
    default: break;
  }
}

std::string EditorSession::selectionLook() const {
  const int count = editor_.selection().size();
  return count == 0 ? std::string() : std::to_string(count) + " selected";
}
