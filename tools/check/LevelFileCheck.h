#pragma once
// One level file read token by token as the engine's loader reads it, by
// the loader's own field lists, with every record held against the images,
// enemy kinds and screen of the tree.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "game/LevelData.h"
#include "game/LevelFields.h"
#include "tools/check/Diagnostics.h"
#include "tools/check/MediaChecker.h"
#include "tools/check/TokenReader.h"
#include "tools/check/TreeFacts.h"

// A record as read: its values, and for each field whether it was read and
// where its token stands.
template <typename Record>
struct FieldReads {
  static constexpr size_t size = std::size(LevelFields<Record>::list);
  Record record;
  bool read[size] = {};
  Position where[size];

  template <auto Member>
  bool has() const {
    constexpr int index = levelFieldIndex(Member);
    return read[index];
  }
  template <auto Member>
  Position at() const {
    constexpr int index = levelFieldIndex(Member);
    return where[index];
  }
};

class LevelFileCheck {
 public:
  LevelFileCheck(const std::string& file, const TextFile& text, const TreeFacts& facts,
                 Diagnostics& out, LevelRecords& records);
  void run();

 private:
  // tools/check/LevelChecks.cpp: reading
  template <typename Record>
  bool readField(const LevelField<Record>& entry, Record& record, int index);
  template <typename Record>
  FieldReads<Record> readRecord(int index);
  bool readCount(const char* kind, const char* kinds, int& count);
  template <typename Record>
  bool checkList(std::vector<Position>& starts, int& count, Position* countAt = nullptr);

  // tools/check/LevelChecks.cpp: the header and the structures
  void checkHeader();
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
  TokenReader reader_;
  std::string screen_;  // "640x480"
  int teleporterCount_ = 0;
  std::map<int, std::pair<int, Position>> numbers_;  // teleporter number -> first one and place
};

// Message pieces: "3:14", "8, 4", "16x16", "tile 3", "x of tile 3".
std::string at(Position position);
std::string point(int x, int y);
std::string size(int width, int height);
std::string label(const char* kind, int i);
std::string of(const char* field, const char* kind, int i);
