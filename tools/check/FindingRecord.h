#pragma once
// The record kind a layout finding is about, for the tools that mark a
// finding on its element or word it: the six kinds come in file order in
// LayoutElement too.
#include "authoring/LayoutRules.h"
#include "game/LevelFields.h"

static_assert(static_cast<int>(LayoutElement::Teleporter) - static_cast<int>(LayoutElement::Tile) ==
                  static_cast<int>(RecordKind::Teleporter),
              "the record kinds of LayoutElement are in file order");

// False for the panels, the start and the level as a whole.
inline bool recordKindOf(LayoutElement element, RecordKind& kind) {
  const int offset = static_cast<int>(element) - static_cast<int>(LayoutElement::Tile);
  if (offset < 0 || offset > static_cast<int>(RecordKind::Teleporter)) return false;
  kind = static_cast<RecordKind>(offset);
  return true;
}
