#include "tools/edit/Selection.h"

#include <algorithm>
#include <map>
#include <type_traits>

#include "game/LevelFields.h"

namespace {

bool before(ElementRef a, ElementRef b) {
  if (a.kind != b.kind) return toolIndex(a.kind) < toolIndex(b.kind);
  return a.index < b.index;
}

int listSize(const LevelData& level, EditTool tool) {
  ElementKind kind;
  if (!recordKindOf(tool, kind)) return 1;  // the one start
  return visitRecordList(level, kind,
                         [](const auto& list, auto) { return static_cast<int>(list.size()); });
}

}  // namespace

bool Selection::contains(ElementRef element) const {
  return std::binary_search(refs_.begin(), refs_.end(), element, before);
}

void Selection::add(ElementRef element) {
  if (!element.valid() || contains(element)) return;
  refs_.insert(std::upper_bound(refs_.begin(), refs_.end(), element, before), element);
}

void Selection::removed(ElementRef element) {
  std::vector<ElementRef> kept;
  for (ElementRef ref : refs_) {
    if (ref == element) continue;
    if (ref.kind == element.kind && ref.index > element.index) --ref.index;
    kept.push_back(ref);
  }
  refs_ = kept;
}

void Selection::keepWithin(const LevelData& level) {
  refs_.erase(std::remove_if(refs_.begin(), refs_.end(),
                             [&](ElementRef ref) { return ref.index >= listSize(level, ref.kind); }),
              refs_.end());
}

void anchorOf(const LevelData& level, ElementRef element, int& x, int& y) {
  ElementKind kind;
  if (!recordKindOf(element.kind, kind)) {
    x = level.start_x;
    y = level.start_y;
    return;
  }
  visitRecordList(level, kind, [&](const auto& list, auto) {
    x = list[element.index].x;
    y = list[element.index].y;
  });
}

Selection everything(const LevelData& level) {
  Selection all;
  for (int tool = 0; tool < editToolCount; ++tool) {
    for (int i = 0; i < listSize(level, toolAt(tool)); ++i) all.add(ElementRef{toolAt(tool), i});
  }
  return all;
}

Selection anchoredIn(const LevelData& level, const Rect& area) {
  Selection found;
  const Selection all = everything(level);
  for (ElementRef element : all.refs()) {
    int x = 0, y = 0;
    anchorOf(level, element, x, y);
    if (x >= area.x && x <= area.x + area.w && y >= area.y && y <= area.y + area.h) {
      found.add(element);
    }
  }
  return found;
}

int unusedTeleporterNumber(const std::vector<TeleporterSpec>& teleporters) {
  for (int number = 1;; ++number) {
    bool used = false;
    for (const TeleporterSpec& teleporter : teleporters) used = used || teleporter.number == number;
    if (!used) return number;
  }
}

void shiftElement(LevelData& level, ElementRef element, int dx, int dy) {
  ElementKind kind;
  if (!recordKindOf(element.kind, kind)) {
    level.start_x += dx;
    level.start_y += dy;
    return;
  }
  visitRecordList(level, kind, [&](auto& list, auto) {
    auto& record = list[element.index];
    record.x += dx;
    record.y += dy;
    if constexpr (std::is_same_v<std::decay_t<decltype(record)>, EnemySpec>) {
      record.min_x += dx;  // the patrol goes with it
      record.max_x += dx;
    }
  });
}

void shiftSelected(LevelData& level, const Selection& selection, int dx, int dy) {
  for (ElementRef element : selection.refs()) shiftElement(level, element, dx, dy);
}

Clipboard copySelected(const LevelData& level, const Selection& selection) {
  Clipboard clipboard;
  for (ElementRef element : selection.refs()) {
    ElementKind kind;
    if (!recordKindOf(element.kind, kind)) continue;
    visitRecordList(level, kind, [&](const auto& list, auto) {
      addRecord(clipboard.records, list[element.index]);
    });
    ++clipboard.count;
  }
  return clipboard;
}

int removeSelected(LevelData& level, const Selection& selection) {
  int removed = 0;
  // From the back, so every index still names its record when it goes.
  const std::vector<ElementRef>& refs = selection.refs();
  for (auto it = refs.rbegin(); it != refs.rend(); ++it) {
    ElementKind kind;
    if (!recordKindOf(it->kind, kind)) continue;
    removeRecord(level, kind, it->index);
    ++removed;
  }
  return removed;
}

bool clipboardOrigin(const Clipboard& clipboard, int& x, int& y) {
  bool found = false;
  const Selection all = everything(clipboard.records);
  for (ElementRef element : all.refs()) {
    if (element.kind == EditTool::Start) continue;
    int ax = 0, ay = 0;
    anchorOf(clipboard.records, element, ax, ay);
    x = found ? std::min(x, ax) : ax;
    y = found ? std::min(y, ay) : ay;
    found = true;
  }
  return found;
}

Selection pasteInto(LevelData& level, const Clipboard& clipboard, int dx, int dy) {
  std::map<int, int> renumbered;  // copied number to the new one
  std::vector<TeleporterSpec> taken = level.teleporters;
  for (const TeleporterSpec& teleporter : clipboard.records.teleporters) {
    if (renumbered.count(teleporter.number) != 0) continue;
    renumbered[teleporter.number] = unusedTeleporterNumber(taken);
    taken.push_back(TeleporterSpec{0, 0, "", "", renumbered[teleporter.number]});
  }
  Selection pasted;
  for (int tool = 0; tool < editToolCount; ++tool) {
    ElementKind kind;
    if (!recordKindOf(toolAt(tool), kind)) continue;
    visitRecordList(clipboard.records, kind, [&](const auto& copies, auto) {
      for (const auto& copy : copies) pasted.add(ElementRef{toolAt(tool), addRecord(level, copy)});
    });
  }
  shiftSelected(level, pasted, dx, dy);
  for (ElementRef element : pasted.refs()) {
    if (element.kind != ElementKind::Teleporter) continue;
    TeleporterSpec& teleporter = level.teleporters[element.index];
    teleporter.number = renumbered[teleporter.number];
  }
  return pasted;
}

// "1 tile", "17 tiles", "2 enemies".
std::string countedName(int count, const char* singular) {
  std::string name = singular;
  if (count != 1 && name.size() > 1 && name.back() == 'y' &&
      std::string("aeiou").find(name[name.size() - 2]) == std::string::npos) {
    name.replace(name.size() - 1, 1, "ie");
  }
  return std::to_string(count) + " " + name + (count == 1 ? "" : "s");
}

std::string groupName(const char* verb, const Selection& selection) {
  const std::vector<ElementRef>& refs = selection.refs();
  const bool oneKind = !refs.empty() && refs.front().kind == refs.back().kind;
  const int count = selection.size();
  if (!oneKind || refs.front().kind.isStart()) {
    return std::string(verb) + " " + countedName(count, oneKind ? "player start" : "element");
  }
  const ElementKindFacts& kind = kindFacts(refs.front().kind.kind());
  return std::string(verb) + " " + std::to_string(count) + " " +
         (count == 1 ? kind.word : kind.words);
}
