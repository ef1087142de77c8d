#pragma once
// One level file read token by token as the engine's loader reads it, by
// the loader's own field lists and bounds, every reading problem reported.
// What the records mean (names, places on the screen) is judged by whoever
// visits them: pwe-check's level checks, or nobody when only the reading
// matters (the editor opening a file).
#include <cstddef>
#include <iterator>
#include <string>
#include <type_traits>

#include "game/LevelData.h"
#include "game/LevelFields.h"
#include "tools/check/Diagnostics.h"
#include "tools/check/TokenReader.h"

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

class LevelFileReader {
 public:
  LevelFileReader(const TextFile& text, Diagnostics& out);

  // Reads the whole file and hands each part to the visitor as it is read,
  // in file order:
  //   visitor.header(const FieldReads<LevelData>&)
  //   visitor.list(LevelFields<Record>, int count, Position countAt)
  //   visitor.record(const FieldReads<Record>&, int index, bool whole)
  // "whole" is false for the record the file ended in. A count the engine
  // cannot use ends the reading: nothing after it can be told apart.
  template <typename Visitor>
  void read(Visitor& visitor);

 private:
  // Bytes no level holds, reported before any token is read.
  void checkBytes();
  template <typename Record>
  bool readField(const LevelField<Record>& entry, Record& record, int index);
  template <typename Record>
  FieldReads<Record> readRecord(int index);
  bool readCount(const ElementKindFacts& kind, int& count);

  const TextFile& text_;
  Diagnostics& out_;
  TokenReader reader_;
};

template <typename Visitor>
void LevelFileReader::read(Visitor& visitor) {
  checkBytes();
  visitor.header(readRecord<LevelData>(-1));
  bool usable = true;
  // The lists in the loader's own order.
  LevelData shape;
  forEachRecordList(shape, [&](auto& list, int&, auto fields) {
    using Record = typename std::decay_t<decltype(list)>::value_type;
    int count = 0;
    usable = usable && readCount(fields.facts, count);
    if (!usable) return;
    visitor.list(fields, count, reader_.lastPosition());
    for (int i = 0; i < count && !reader_.ended(); ++i) {
      const FieldReads<Record> record = readRecord<Record>(i);
      visitor.record(record, i, !reader_.ended());
    }
  });
  if (usable) reader_.reportTrailing("the last record");
}

// Message pieces: "3:14", "tile 3", "x of tile 3" (i counts from 0).
std::string at(Position position);
std::string label(const char* kind, int i);
std::string of(const char* field, const char* kind, int i);
// The same for a record of the kind: "tile 3".
std::string label(ElementKind kind, int i);
std::string of(const char* field, ElementKind kind, int i);
