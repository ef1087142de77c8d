#pragma once
// What the editor works on: its tools, one per element kind of a level file
// and one for the player start; a reference to one element of the edited
// level; and rectangles on the screen, in the game's own pixels.
#include <string>

#include "game/LevelFields.h"

// The editor's tools, one for each element kind in the kinds' order (a
// kind is its tool: ElementKind::Tile stands for the tile tool), and the
// player start after them. Each takes its kind's key; the start the next.
class EditTool {
 public:
  // Not explicit: wherever a tool is wanted, a kind names its tool.
  constexpr EditTool(ElementKind kind) : index_(kindIndex(kind)) {}
  static const EditTool Start;

  constexpr bool isStart() const { return index_ == elementKindCount; }
  // The kind the tool places; ask only a tool that is not the start.
  constexpr ElementKind kind() const { return elementKinds[index_].kind; }
  constexpr int index() const { return index_; }  // in key order, from 0
  static constexpr EditTool at(int index) { return EditTool(index); }

  friend constexpr bool operator==(EditTool a, EditTool b) { return a.index_ == b.index_; }
  friend constexpr bool operator!=(EditTool a, EditTool b) { return a.index_ != b.index_; }

 private:
  explicit constexpr EditTool(int index) : index_(index) {}
  int index_;
};
inline constexpr EditTool EditTool::Start = EditTool(elementKindCount);
constexpr int editToolCount = elementKindCount + 1;

// The record kind a tool places; false for the player start.
bool recordKindOf(EditTool tool, ElementKind& kind);

// The look a record shows, named as the editor's look lists name it.
inline const std::string& recordLook(const TileSpec& tile) { return tile.tile_name; }
inline const std::string& recordLook(const LadderSpec& ladder) { return ladder.name; }
inline const std::string& recordLook(const ChuteSpec& chute) { return chute.name; }
inline const std::string& recordLook(const EnemySpec& enemy) { return enemy.name; }
inline const std::string& recordLook(const ItemSpec& item) { return item.type; }
inline const std::string& recordLook(const TeleporterSpec& teleporter) { return teleporter.name; }

const char* toolName(EditTool tool);  // "tile", "ladder", ..., "player start"
char toolKey(EditTool tool);          // '1' for the tile tool
EditTool toolAt(int index);           // 0 to editToolCount - 1, in key order
int toolIndex(EditTool tool);

// The grid cell a coordinate lies in, rounding toward minus infinity so that
// cells left of and above 0 are whole too.
inline int gridCell(int value, int size) {
  return value >= 0 ? value / size : -((-value + size - 1) / size);
}

struct ElementRef {
  EditTool kind = ElementKind::Tile;
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
