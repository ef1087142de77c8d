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

// Specialised for LevelData (the header) and each record kind: labels for
// messages and the kind's fields in file order.
template <typename Record>
struct LevelFields;

template <>
struct LevelFields<LevelData> {
  static constexpr const char* kind = "header";
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
  static constexpr const char* kind = "tile";
  static constexpr const char* kinds = "tiles";
  static constexpr bool logsRecords = false;
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
  static constexpr const char* kind = "ladder";
  static constexpr const char* kinds = "ladders";
  static constexpr bool logsRecords = true;
  static constexpr LevelField<LadderSpec> list[] = {
      field("x", &LadderSpec::x, bounded),
      field("y", &LadderSpec::y, bounded),
      field("height", &LadderSpec::height, bounded),
      field("name", &LadderSpec::name),
  };
};

template <>
struct LevelFields<ChuteSpec> {
  static constexpr const char* kind = "chute";
  static constexpr const char* kinds = "chutes";
  static constexpr bool logsRecords = true;
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
  static constexpr const char* kind = "enemy";
  static constexpr const char* kinds = "enemies";
  static constexpr bool logsRecords = true;
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
  static constexpr const char* kind = "item";
  static constexpr const char* kinds = "items";
  static constexpr bool logsRecords = true;
  static constexpr LevelField<ItemSpec> list[] = {
      field("x", &ItemSpec::x, bounded),
      field("y", &ItemSpec::y, bounded),
      field("type", &ItemSpec::type),
      field("points", &ItemSpec::points, bounded),
  };
};

template <>
struct LevelFields<TeleporterSpec> {
  static constexpr const char* kind = "teleporter";
  static constexpr const char* kinds = "teleporters";
  static constexpr bool logsRecords = true;
  static constexpr LevelField<TeleporterSpec> list[] = {
      field("x", &TeleporterSpec::x, bounded),
      field("y", &TeleporterSpec::y, bounded),
      field("name", &TeleporterSpec::name),
      field("cooldown_name", &TeleporterSpec::cooldown_name, unlogged),
      // A number no key asks for leaves the teleporter unreachable, no more.
      field("number", &TeleporterSpec::number),
  };
};

// Calls visit(list, counts, label) for each record kind's list in file
// order, with the count field and the kind's fields; what the loader, the
// writer and the checker walk after the header.
template <typename Level, typename Visit>
void forEachRecordList(Level& level, Visit&& visit) {
  visit(level.tiles, level.tileCount, LevelFields<TileSpec>{});
  visit(level.ladders, level.ladderCount, LevelFields<LadderSpec>{});
  visit(level.chutes, level.chuteCount, LevelFields<ChuteSpec>{});
  visit(level.enemies, level.enemyCount, LevelFields<EnemySpec>{});
  visit(level.items, level.itemCount, LevelFields<ItemSpec>{});
  visit(level.teleporters, level.teleporterCount, LevelFields<TeleporterSpec>{});
}

// The six record kinds of a level file, in file order.
enum class RecordKind { Tile, Ladder, Chute, Enemy, Item, Teleporter };

// Calls visit(list, fields) for the one record kind's list of level (a
// LevelData, or anything holding a list per kind under the same names) with
// the kind's fields, and returns what it returns: the one place a kind is
// told from the others, so no tool repeats a switch over them.
template <typename Level, typename Visit>
decltype(auto) visitRecordList(Level& level, RecordKind kind, Visit&& visit) {
  switch (kind) {
    case RecordKind::Tile: return visit(level.tiles, LevelFields<TileSpec>{});
    case RecordKind::Ladder: return visit(level.ladders, LevelFields<LadderSpec>{});
    case RecordKind::Chute: return visit(level.chutes, LevelFields<ChuteSpec>{});
    case RecordKind::Enemy: return visit(level.enemies, LevelFields<EnemySpec>{});
    case RecordKind::Item: return visit(level.items, LevelFields<ItemSpec>{});
    case RecordKind::Teleporter: break;
  }
  return visit(level.teleporters, LevelFields<TeleporterSpec>{});
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
