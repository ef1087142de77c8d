#include "tools/edit/EditElement.h"

namespace {
constexpr const char* toolNames[editToolCount] = {"tile",  "ladder",     "chute",       "enemy",
                                                 "item",  "teleporter", "player start"};
}

const char* toolName(EditTool tool) { return toolNames[toolIndex(tool)]; }

EditTool toolAt(int index) { return static_cast<EditTool>(index); }

int toolIndex(EditTool tool) { return static_cast<int>(tool); }

static_assert(static_cast<int>(EditTool::Teleporter) == static_cast<int>(RecordKind::Teleporter),
              "the tools of the record kinds come first, in file order");

bool recordKindOf(EditTool tool, RecordKind& kind) {
  if (tool == EditTool::Start) return false;
  kind = static_cast<RecordKind>(tool);
  return true;
}

EditTool toolOf(RecordKind kind) { return static_cast<EditTool>(kind); }
