#include "tools/edit/EditElement.h"

const char* toolName(EditTool tool) {
  return tool.isStart() ? "player start" : kindFacts(tool.kind()).word;
}

char toolKey(EditTool tool) {
  return tool.isStart() ? static_cast<char>(elementKinds[elementKindCount - 1].toolKey + 1)
                        : kindFacts(tool.kind()).toolKey;
}

EditTool toolAt(int index) { return EditTool::at(index); }

int toolIndex(EditTool tool) { return tool.index(); }

bool recordKindOf(EditTool tool, ElementKind& kind) {
  if (tool.isStart()) return false;
  kind = tool.kind();
  return true;
}
