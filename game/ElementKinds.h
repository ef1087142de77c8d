#pragma once
// The element kinds of a level, one row each: the words that name the kind,
// the key that takes up its tool in the editor, the folder its looks come
// from and how many records of it a level may hold. Together with each
// record's field list (game/LevelFields.h, which ties a record to its row
// and its list) this is all that tells the kinds apart: the loader, the
// writer, pwe-check, the layout rules and the editor walk it rather than
// naming kinds themselves.
#include <cstddef>
#include <iterator>

#include "game/LevelData.h"

// In file order: the order of the lists in a level file and of this table.
enum class ElementKind { Tile, Ladder, Chute, Enemy, Item, Teleporter };

struct ElementKindFacts {
  ElementKind kind;
  const char* word;         // one of them: "tile", in messages and the loader's log
  const char* words;        // more than one: "tiles"
  char toolKey;             // the editor key that takes up the kind's tool
  const char* looksFolder;  // where the looks a record names are found, under the media tree
  int bound;                // the most records of the kind a level holds
  bool logsRecords;         // the loader logs each record it reads
};

inline constexpr ElementKindFacts elementKinds[] = {
    {ElementKind::Tile, "tile", "tiles", '1', "gfx/static/floor tiles/normal/",
     LevelData::maxElementCount, false},
    {ElementKind::Ladder, "ladder", "ladders", '2', "gfx/static/ladders/",
     LevelData::maxElementCount, true},
    {ElementKind::Chute, "chute", "chutes", '3', "gfx/static/chutes/",
     LevelData::maxElementCount, true},
    // An enemy's look is an enemy kind: an .nme file and its animations.
    {ElementKind::Enemy, "enemy", "enemies", '4', "gfx/anim/enemy/",
     LevelData::maxElementCount, true},
    {ElementKind::Item, "item", "items", '5', "gfx/static/items/", LevelData::maxElementCount,
     true},
    {ElementKind::Teleporter, "teleporter", "teleporters", '6',
     "gfx/static/transportation/teleporters/normal/", LevelData::maxElementCount, true},
};

inline constexpr int elementKindCount = static_cast<int>(std::size(elementKinds));

constexpr int kindIndex(ElementKind kind) { return static_cast<int>(kind); }

constexpr const ElementKindFacts& kindFacts(ElementKind kind) {
  return elementKinds[kindIndex(kind)];
}

// Every row stands at its kind's place, and the tool keys run in a row, so
// that one key binding chooses among them.
constexpr bool kindsInOrder() {
  for (int i = 0; i < elementKindCount; ++i) {
    if (kindIndex(elementKinds[i].kind) != i) return false;
    if (elementKinds[i].toolKey != elementKinds[0].toolKey + i) return false;
  }
  return true;
}
static_assert(kindsInOrder(), "each kind's row at its place, the tool keys in a row");
