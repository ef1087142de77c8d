#pragma once
// One level file's records, as the reader hands them over, held against the
// images, enemy kinds and screen of the tree.
#include <cstdint>
#include <map>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "game/LevelData.h"
#include "game/LevelFields.h"
#include "tools/check/Diagnostics.h"
#include "tools/check/LevelFileReader.h"
#include "tools/check/MediaChecker.h"
#include "tools/check/TreeFacts.h"

// The visitor of LevelFileReader::read: where each record begins goes to
// the level's records for the layout rules, and each record read whole is
// checked at once, so problems come out in file order.
class LevelFileCheck {
 public:
  LevelFileCheck(const std::string& file, const TreeFacts& facts, Diagnostics& out,
                 LevelRecords& records);

  void header(const FieldReads<LevelData>& header);
  template <typename Record>
  void list(LevelFields<Record>, int count, Position countAt);
  template <typename Record>
  void record(const FieldReads<Record>& read, int index, bool whole) {
    records_.starts[kindIndex(LevelFields<Record>::element)].push_back(read.where[0]);
    if (whole) check(read, index);
  }

 private:
  // tools/check/LevelChecks.cpp: the header and the structures
  void checkPanel(int x, int y, int align, Position where, const char* name, int width,
                  int height);
  void check(const FieldReads<TileSpec>& tile, int i);
  void check(const FieldReads<LadderSpec>& ladder, int i);
  void check(const FieldReads<ChuteSpec>& chute, int i);

  // tools/check/RecordChecks.cpp: actors
  void check(const FieldReads<EnemySpec>& enemy, int i);
  void checkPatrol(const EnemySpec& enemy, Position where, int i);
  void check(const FieldReads<ItemSpec>& item, int i);
  void check(const FieldReads<TeleporterSpec>& teleporter, int i);
  void checkNumber(int number, Position where, int i);
  void checkControlClash(int number, Position where);
  void checkShownNumber(const NamedImages& set, const std::string& look, int number,
                        Position where, int i);

  // tools/check/RecordChecks.cpp: shared wording and geometry
  void report(Position where, const std::string& message) { out_.report(file_, where, message); }
  void warn(Position where, const std::string& message) { out_.warn(file_, where, message); }
  bool whollyOnScreen(int64_t left, int64_t top, int64_t width, int64_t height) const;
  bool pointOnScreen(int x, int y) const;
  // Reports what is not wholly on the screen; opening is the message up to
  // its size: "tile 3 ('brick', " gives "tile 3 ('brick', 16x16 at 8, 4) is
  // not wholly on the 640x480 screen".
  void checkOnScreen(Position where, const std::string& opening, int64_t x, int64_t y,
                     int64_t width, int64_t height);
  // The index of the named image, or -1 after reporting the name.
  int lookUp(const NamedImages& set, const std::string& name, Position where);

  const std::string& file_;
  const TreeFacts& facts_;
  Diagnostics& out_;
  LevelRecords& records_;
  std::string screen_;  // "640x480"
  int teleporterCount_ = 0;
  std::map<int, std::pair<int, Position>> numbers_;  // teleporter number -> first one and place
};

// The list counts matter to two checks: where the tiles' count stands, and
// how many teleporters the keys can reach.
template <typename Record>
void LevelFileCheck::list(LevelFields<Record>, int count, Position countAt) {
  if constexpr (std::is_same_v<Record, TileSpec>) records_.tileCount = countAt;
  if constexpr (std::is_same_v<Record, TeleporterSpec>) teleporterCount_ = count;
}

// Message pieces: "8, 4", "16x16".
std::string point(int x, int y);
std::string size(int width, int height);
