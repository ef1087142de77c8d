#pragma once
// The elements an author has gathered to edit together, the clipboard they
// are copied to, and the operations on a level's records that group edits
// are made of. Everything here works on LevelData alone, so a copy, a
// paste or a removal of many elements is one change of the records, and
// the editor turns it into one step of the history.
#include <vector>

#include "game/LevelData.h"
#include "tools/edit/EditElement.h"

// A set of references into one level, kept in kind and index order. A
// reference stays true only while the level's lists keep their order:
// after a removal, removed() moves the later indices down.
class Selection {
 public:
  bool empty() const { return refs_.empty(); }
  int size() const { return static_cast<int>(refs_.size()); }
  const std::vector<ElementRef>& refs() const { return refs_; }
  bool contains(ElementRef element) const;
  void add(ElementRef element);  // no reference twice
  void clear() { refs_.clear(); }
  // The element was erased from its list: it leaves the set, and those
  // after it in the same list are one place further forward.
  void removed(ElementRef element);
  // Forgets what the level no longer has (after undo, redo or a form).
  void keepWithin(const LevelData& level);
  // The one element selected, or an invalid reference.
  ElementRef single() const { return refs_.size() == 1 ? refs_.front() : ElementRef{}; }

 private:
  std::vector<ElementRef> refs_;
};

// Copied records, never the player start: a level holds one start, so no
// paste may add another.
struct Clipboard {
  LevelData records;  // only the six lists and their counts are used
  int count = 0;      // records held
  bool empty() const { return count == 0; }
};

// Where an element is said to be for selecting and pasting: the point its
// record gives (tiles, ladders, chutes, items and teleporters their top-left
// corner; an enemy and the start the bottom centre).
void anchorOf(const LevelData& level, ElementRef element, int& x, int& y);
// Every element of the level, the start last.
Selection everything(const LevelData& level);
// Every element whose anchor lies in the rectangle (edges included).
Selection anchoredIn(const LevelData& level, const Rect& area);

// The lowest number no teleporter of the list has, from 1.
int unusedTeleporterNumber(const std::vector<TeleporterSpec>& teleporters);

// Moves one element by (dx, dy); an enemy's patrol goes with it.
void shiftElement(LevelData& level, ElementRef element, int dx, int dy);
void shiftSelected(LevelData& level, const Selection& selection, int dx, int dy);
Clipboard copySelected(const LevelData& level, const Selection& selection);
// Erases the selected records (the start stays); how many went.
int removeSelected(LevelData& level, const Selection& selection);
// The top-left of the clipboard's anchors; false when it is empty.
bool clipboardOrigin(const Clipboard& clipboard, int& x, int& y);
// Appends the clipboard's records moved by (dx, dy) and returns them as a
// selection. Teleporters pasted take numbers no teleporter of the level
// has, copies of one number sharing one new number, so a copied pair
// stays a pair of its own.
Selection pasteInto(LevelData& level, const Clipboard& clipboard, int dx, int dy);

// "1 tile", "12 tiles", "3 elements": how the history names a group.
std::string countedName(int count, const char* singular);
// The name of a group edit of the selection: its kind when all the
// elements are of one ("nudge 3 tiles"), else "elements".
std::string groupName(const char* verb, const Selection& selection);
