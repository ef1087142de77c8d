#pragma once
// The fields of a level file, kind by kind in file order: the one list that
// the loader reads by, the bounds check holds to, the writer writes by and
// pwe-check and the editor name fields by.
//
// Each number says whether the engine computes anything from it. Those it
// computes positions, sizes, scores or counts from are held within
// ±LevelData::maxNumber, so that sums of them with each other and with image
// sizes stay within int; the others (a teleporter's number, alignments,
// directions, states and flags) are only ever compared, so the loader lets
// any value through and each plays as the element's description says.
#include <string>
#include <type_traits>

#include "game/ElementKinds.h"
#include "game/LevelData.h"

enum LevelFieldFlags : unsigned {
  unbounded = 0,
  bounded = 1,   // held within ±LevelData::maxNumber
  unlogged = 2,  // left out of the loader's line about its record
  startsLine = 4,  // a written header begins a line with it
};

template <typename Record>
struct LevelField {
  const char* name;                // as the level file's description names it
  int Record::*whole = nullptr;    // exactly one of these three is set
  float Record::*real = nullptr;
  std::string Record::*text = nullptr;
  unsigned flags = unbounded;
  // The loader's log line before the field; only header fields have one.
  const char* heading = nullptr;

  constexpr bool isBounded() const { return (flags & bounded) != 0; }
  constexpr bool isLogged() const { return (flags & unlogged) == 0; }
  constexpr bool beginsLine() const { return (flags & startsLine) != 0; }
};

template <typename Record>
constexpr LevelField<Record> field(const char* name, int Record::*member,
                                   unsigned flags = unbounded) {
  return {name, member, nullptr, nullptr, flags, nullptr};
}
template <typename Record>
constexpr LevelField<Record> field(const char* name, float Record::*member,
                                   unsigned flags = unbounded) {
  return {name, nullptr, member, nullptr, flags, nullptr};
}
template <typename Record>
constexpr LevelField<Record> field(const char* name, std::string Record::*member,
                                   unsigned flags = unbounded) {
  return {name, nullptr, nullptr, member, flags, nullptr};
}
template <typename Record>
constexpr LevelField<Record> headed(const char* heading, LevelField<Record> entry) {
  entry.heading = heading;
  return entry;
}

// Specialised for LevelData (the header, labelled "header" in messages) and
// each record: its kind's row of game/ElementKinds.h and its fields in file
// order.
template <typename Record>
struct LevelFields;

template <>
struct LevelFields<LevelData> {
  static constexpr LevelField<LevelData> list[] = {
      headed("Reading countdown information",
             field("countdown_start", &LevelData::countdown_start, bounded)),
      field("countdown_x", &LevelData::countdown_x, bounded | startsLine),
      field("countdown_y", &LevelData::countdown_y, bounded),
      field("countdown_align", &LevelData::countdown_align),
      headed("Reading score information", field("score_x", &LevelData::score_x, bounded | startsLine)),
      field("score_y", &LevelData::score_y, bounded),
      field("score_align", &LevelData::score_align),
      headed("Reading life pip information",
             field("pip_offset", &LevelData::pip_offset, bounded | startsLine)),
      field("pip_spacing", &LevelData::pip_spacing, bounded),
      headed("Reading player starting position",
             field("start_x", &LevelData::start_x, bounded | startsLine)),
      field("start_y", &LevelData::start_y, bounded),
      // An index into the player's animations: population refuses any other.
      field("start_animation", &LevelData::start_animation),
  };
};

template <>
struct LevelFields<TileSpec> {
  static constexpr ElementKind element = ElementKind::Tile;
  static constexpr const ElementKindFacts& facts = kindFacts(element);
  static constexpr LevelField<TileSpec> list[] = {
      field("x", &TileSpec::x, bounded),
      field("y", &TileSpec::y, bounded),
      field("tile_name", &TileSpec::tile_name),
      field("cleared_name", &TileSpec::cleared_name),
      field("claimable", &TileSpec::claimable),
      field("points", &TileSpec::points, bounded),
  };
};

template <>
struct LevelFields<LadderSpec> {
  static constexpr ElementKind element = ElementKind::Ladder;
  static constexpr const ElementKindFacts& facts = kindFacts(element);
  static constexpr LevelField<LadderSpec> list[] = {
      field("x", &LadderSpec::x, bounded),
      field("y", &LadderSpec::y, bounded),
      field("height", &LadderSpec::height, bounded),
      field("name", &LadderSpec::name),
  };
};

template <>
struct LevelFields<ChuteSpec> {
  static constexpr ElementKind element = ElementKind::Chute;
  static constexpr const ElementKindFacts& facts = kindFacts(element);
  static constexpr LevelField<ChuteSpec> list[] = {
      field("x", &ChuteSpec::x, bounded),
      field("y", &ChuteSpec::y, bounded),
      field("height", &ChuteSpec::height, bounded),
      field("dx", &ChuteSpec::dx, bounded),
      field("direction", &ChuteSpec::direction),
      field("name", &ChuteSpec::name),
  };
};

template <>
struct LevelFields<EnemySpec> {
  static constexpr ElementKind element = ElementKind::Enemy;
  static constexpr const ElementKindFacts& facts = kindFacts(element);
  static constexpr LevelField<EnemySpec> list[] = {
      field("x", &EnemySpec::x, bounded),
      field("y", &EnemySpec::y, bounded),
      field("direction", &EnemySpec::direction),
      field("min_x", &EnemySpec::min_x, bounded),
      field("max_x", &EnemySpec::max_x, bounded),
      // Added to a position every step: bounded like one.
      field("speed", &EnemySpec::speed, bounded),
      field("changes", &EnemySpec::changes),
      field("state", &EnemySpec::state),
      field("name", &EnemySpec::name),
      // Only compared with the ticks since the last pickup.
      field("safe_time", &EnemySpec::safe_time),
      field("points", &EnemySpec::points, bounded | unlogged),
  };
};

template <>
struct LevelFields<ItemSpec> {
  static constexpr ElementKind element = ElementKind::Item;
  static constexpr const ElementKindFacts& facts = kindFacts(element);
  static constexpr LevelField<ItemSpec> list[] = {
      field("x", &ItemSpec::x, bounded),
      field("y", &ItemSpec::y, bounded),
      field("type", &ItemSpec::type),
      field("points", &ItemSpec::points, bounded),
  };
};

template <>
struct LevelFields<TeleporterSpec> {
  static constexpr ElementKind element = ElementKind::Teleporter;
  static constexpr const ElementKindFacts& facts = kindFacts(element);
  static constexpr LevelField<TeleporterSpec> list[] = {
      field("x", &TeleporterSpec::x, bounded),
      field("y", &TeleporterSpec::y, bounded),
      field("name", &TeleporterSpec::name),
      field("cooldown_name", &TeleporterSpec::cooldown_name, unlogged),
      // A number no key asks for leaves the teleporter unreachable, no more.
      field("number", &TeleporterSpec::number),
  };
};

// What messages call one record: its kind's word ("tile"), or "header".
template <typename Record>
constexpr const char* recordWord() {
  if constexpr (std::is_same_v<Record, LevelData>) {
    return "header";
  } else {
    return LevelFields<Record>::facts.word;
  }
}

// Calls visit(list, count, fields) for each kind's list in file order, with
// the count LevelData keeps beside it and the record's fields: the one
// place a kind is tied to its record and to where LevelData keeps it. The
// loader alone sets a count through it, from the file; everything else
// changes a list through addRecord and removeRecord, which keep the count.
template <typename Level, typename Visit>
void forEachRecordList(Level& level, Visit&& visit) {
  visit(level.tiles, level.tileCount, LevelFields<TileSpec>{});
  visit(level.ladders, level.ladderCount, LevelFields<LadderSpec>{});
  visit(level.chutes, level.chuteCount, LevelFields<ChuteSpec>{});
  visit(level.enemies, level.enemyCount, LevelFields<EnemySpec>{});
  visit(level.items, level.itemCount, LevelFields<ItemSpec>{});
  visit(level.teleporters, level.teleporterCount, LevelFields<TeleporterSpec>{});
}

// Calls visit(list, fields) for the one kind's list of level and returns
// what it returns, so no tool repeats a switch over the kinds.
template <typename Level, typename Visit>
decltype(auto) visitRecordList(Level& level, ElementKind kind, Visit&& visit) {
  using Result = decltype(visit(level.tiles, LevelFields<TileSpec>{}));
  if constexpr (std::is_void_v<Result>) {
    forEachRecordList(level, [&](auto& list, auto&, auto fields) {
      if (fields.element == kind) visit(list, fields);
    });
  } else {
    Result result{};
    forEachRecordList(level, [&](auto& list, auto&, auto fields) {
      if (fields.element == kind) result = visit(list, fields);
    });
    return result;
  }
}

// Appends the record to its kind's list; the count beside the list follows.
// Returns the record's index.
template <typename Record>
int addRecord(LevelData& level, const Record& record) {
  int index = 0;
  forEachRecordList(level, [&](auto& list, int& count, auto) {
    if constexpr (std::is_same_v<typename std::decay_t<decltype(list)>::value_type, Record>) {
      list.push_back(record);
      count = static_cast<int>(list.size());
      index = count - 1;
    }
  });
  return index;
}

// Empties every list; the counts follow.
inline void clearRecords(LevelData& level) {
  forEachRecordList(level, [](auto& list, int& count, auto) {
    list.clear();
    count = 0;
  });
}

// Erases the record at index (which must be in its list); the count follows.
inline void removeRecord(LevelData& level, ElementKind kind, int index) {
  forEachRecordList(level, [&](auto& list, int& count, auto fields) {
    if (fields.element != kind) return;
    list.erase(list.begin() + index);
    count = static_cast<int>(list.size());
  });
}

// Not constexpr: reaching it while a field's entry is looked up as a
// constant, because the field is missing from its table, fails the build.
inline void levelFieldNotListed() {}

// The index of a field in its kind's list; look it up as a constant.
template <typename Record, typename Member>
constexpr int levelFieldIndex(Member Record::*member) {
  int index = 0;
  for (const LevelField<Record>& entry : LevelFields<Record>::list) {
    if constexpr (std::is_same_v<Member, int>) {
      if (entry.whole == member) return index;
    } else if constexpr (std::is_same_v<Member, float>) {
      if (entry.real == member) return index;
    } else {
      if (entry.text == member) return index;
    }
    ++index;
  }
  levelFieldNotListed();
  return 0;
}

// Whether a value lies within ±LevelData::maxNumber; NaN and the
// infinities do not.
inline bool withinLevelBound(int value) {
  return value >= -LevelData::maxNumber && value <= LevelData::maxNumber;
}
inline bool withinLevelBound(float value) {
  const float bound = static_cast<float>(LevelData::maxNumber);
  return value >= -bound && value <= bound;
}
