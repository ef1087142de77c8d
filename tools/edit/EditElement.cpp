#include "tools/edit/EditElement.h"

namespace {
constexpr const char* toolNames[editToolCount] = {"tile",  "ladder",     "chute",       "enemy",
                                                 "item",  "teleporter", "player start"};
}

const char* toolName(EditTool tool) { return toolNames[toolIndex(tool)]; }

EditTool toolAt(int index) { return static_cast<EditTool>(index); }

int toolIndex(EditTool tool) { return static_cast<int>(tool); }
