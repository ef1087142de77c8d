#pragma once
// What the editor works on: its tools, one per element kind of a level file
// and one for the player start; a reference to one element of the edited
// level; and rectangles on the screen, in the game's own pixels.
#include <string>

#include "game/LevelFields.h"

// In the order of the keys 1 to 7 that choose them: the six record kinds
// of a level file in file order, then the start.
enum class EditTool { Tile, Ladder, Chute, Enemy, Item, Teleporter, Start };
constexpr int editToolCount = 7;

// The record kind a tool places; false for the player start.
bool recordKindOf(EditTool tool, RecordKind& kind);
EditTool toolOf(RecordKind kind);

// The look a record shows, named as the editor's look lists name it.
inline const std::string& recordLook(const TileSpec& tile) { return tile.tile_name; }
inline const std::string& recordLook(const LadderSpec& ladder) { return ladder.name; }
inline const std::string& recordLook(const ChuteSpec& chute) { return chute.name; }
inline const std::string& recordLook(const EnemySpec& enemy) { return enemy.name; }
inline const std::string& recordLook(const ItemSpec& item) { return item.type; }
inline const std::string& recordLook(const TeleporterSpec& teleporter) { return teleporter.name; }

const char* toolName(EditTool tool);  // "tile", "ladder", ..., "player start"
EditTool toolAt(int index);           // 0 to editToolCount - 1, in key order
int toolIndex(EditTool tool);

// The grid cell a coordinate lies in, rounding toward minus infinity so that
// cells left of and above 0 are whole too.
inline int gridCell(int value, int size) {
  return value >= 0 ? value / size : -((-value + size - 1) / size);
}

struct ElementRef {
  EditTool kind = EditTool::Tile;
  int index = -1;  // in the kind's list of the level; 0 for the start; -1: none

  bool valid() const { return index >= 0; }
  bool operator==(const ElementRef& other) const {
    return kind == other.kind && index == other.index;
  }
  bool operator!=(const ElementRef& other) const { return !(*this == other); }
};

struct Rect {
  int x = 0;  // left column
  int y = 0;  // top row
  int w = 0;  // columns; an empty rectangle has none
  int h = 0;  // rows

  bool empty() const { return w <= 0 || h <= 0; }
  bool contains(int px, int py) const {
    return px >= x && px < x + w && py >= y && py < y + h;
  }
};
