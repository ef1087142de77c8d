#pragma once
// The numbers of a level file, kind by kind in file order, each with
// whether the engine computes anything from it. Those it computes positions,
// sizes, scores or counts from are held within ±LevelData::maxNumber, so
// that sums of them with each other and with image sizes stay within int;
// the others (a teleporter's number, alignments, directions, states and
// flags) are only ever compared, so the loader lets any value through and
// each plays as the element's description says. The loader's bounds check
// and pwe-check both read this table.
#include "game/LevelData.h"

template <typename Record>
struct LevelNumber {
  const char* name;       // as the level file's description and the checker name it
  int Record::*whole;     // the field when it is an integer, else nullptr
  float Record::*real;    // the field when it is a real number, else nullptr
  bool bounded;           // held within ±LevelData::maxNumber
};

// Specialised for LevelData (the header) and each record kind: a label for
// messages and the kind's numbers in file order.
template <typename Record>
struct LevelNumbers;

template <>
struct LevelNumbers<LevelData> {
  static constexpr const char* kind = "header";
  static constexpr LevelNumber<LevelData> list[] = {
      {"countdown_start", &LevelData::countdown_start, nullptr, true},
      {"countdown_x", &LevelData::countdown_x, nullptr, true},
      {"countdown_y", &LevelData::countdown_y, nullptr, true},
      {"countdown_align", &LevelData::countdown_align, nullptr, false},
      {"score_x", &LevelData::score_x, nullptr, true},
      {"score_y", &LevelData::score_y, nullptr, true},
      {"score_align", &LevelData::score_align, nullptr, false},
      {"pip_offset", &LevelData::pip_offset, nullptr, true},
      {"pip_spacing", &LevelData::pip_spacing, nullptr, true},
      {"start_x", &LevelData::start_x, nullptr, true},
      {"start_y", &LevelData::start_y, nullptr, true},
      // An index into the player's animations: population refuses any other.
      {"start_animation", &LevelData::start_animation, nullptr, false},
  };
};

template <>
struct LevelNumbers<TileSpec> {
  static constexpr const char* kind = "tile";
  static constexpr LevelNumber<TileSpec> list[] = {
      {"x", &TileSpec::x, nullptr, true},
      {"y", &TileSpec::y, nullptr, true},
      {"claimable", &TileSpec::claimable, nullptr, false},
      {"points", &TileSpec::points, nullptr, true},
  };
};

template <>
struct LevelNumbers<LadderSpec> {
  static constexpr const char* kind = "ladder";
  static constexpr LevelNumber<LadderSpec> list[] = {
      {"x", &LadderSpec::x, nullptr, true},
      {"y", &LadderSpec::y, nullptr, true},
      {"height", &LadderSpec::height, nullptr, true},
  };
};

template <>
struct LevelNumbers<ChuteSpec> {
  static constexpr const char* kind = "chute";
  static constexpr LevelNumber<ChuteSpec> list[] = {
      {"x", &ChuteSpec::x, nullptr, true},
      {"y", &ChuteSpec::y, nullptr, true},
      {"height", &ChuteSpec::height, nullptr, true},
      {"dx", &ChuteSpec::dx, nullptr, true},
      {"direction", &ChuteSpec::direction, nullptr, false},
  };
};

template <>
struct LevelNumbers<EnemySpec> {
  static constexpr const char* kind = "enemy";
  static constexpr LevelNumber<EnemySpec> list[] = {
      {"x", &EnemySpec::x, nullptr, true},
      {"y", &EnemySpec::y, nullptr, true},
      {"direction", &EnemySpec::direction, nullptr, false},
      {"min_x", &EnemySpec::min_x, nullptr, true},
      {"max_x", &EnemySpec::max_x, nullptr, true},
      // Added to a position every step: bounded like one.
      {"speed", nullptr, &EnemySpec::speed, true},
      {"changes", &EnemySpec::changes, nullptr, false},
      {"state", &EnemySpec::state, nullptr, false},
      // Only compared with the ticks since the last pickup.
      {"safe_time", &EnemySpec::safe_time, nullptr, false},
      {"points", &EnemySpec::points, nullptr, true},
  };
};

template <>
struct LevelNumbers<ItemSpec> {
  static constexpr const char* kind = "item";
  static constexpr LevelNumber<ItemSpec> list[] = {
      {"x", &ItemSpec::x, nullptr, true},
      {"y", &ItemSpec::y, nullptr, true},
      {"points", &ItemSpec::points, nullptr, true},
  };
};

template <>
struct LevelNumbers<TeleporterSpec> {
  static constexpr const char* kind = "teleporter";
  static constexpr LevelNumber<TeleporterSpec> list[] = {
      {"x", &TeleporterSpec::x, nullptr, true},
      {"y", &TeleporterSpec::y, nullptr, true},
      // A number no key asks for leaves the teleporter unreachable, no more.
      {"number", &TeleporterSpec::number, nullptr, false},
  };
};

// Not constexpr: reaching it while a field's entry is looked up as a
// constant, because the field is missing from its table, fails the build.
inline void levelNumberNotListed() {}

// The entry of a field in its kind's table; look it up as a constant.
template <typename Record>
constexpr const LevelNumber<Record>& levelNumber(int Record::*field) {
  for (const LevelNumber<Record>& number : LevelNumbers<Record>::list) {
    if (number.whole == field) return number;
  }
  levelNumberNotListed();
  return LevelNumbers<Record>::list[0];
}

template <typename Record>
constexpr const LevelNumber<Record>& levelNumber(float Record::*field) {
  for (const LevelNumber<Record>& number : LevelNumbers<Record>::list) {
    if (number.real == field) return number;
  }
  levelNumberNotListed();
  return LevelNumbers<Record>::list[0];
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
