#include "tools/check/LevelFileReader.h"

#include <algorithm>
#include <sstream>
#include <string>

namespace {

const char* const rejected = "the engine rejects the level";
const char byteOrderMark[] = "\xEF\xBB\xBF";

}  // namespace

std::string at(Position position) {
  return std::to_string(position.line) + ":" + std::to_string(position.column);
}

std::string label(const char* kind, int i) { return std::string(kind) + " " + std::to_string(i + 1); }

std::string of(const char* field, const char* kind, int i) {
  return std::string(field) + " of " + label(kind, i);
}

std::string label(ElementKind kind, int i) { return label(kindFacts(kind).word, i); }

std::string of(const char* field, ElementKind kind, int i) {
  return of(field, kindFacts(kind).word, i);
}

LevelFileReader::LevelFileReader(const TextFile& text, Diagnostics& out)
    : text_(text), out_(out), reader_(text, out, NumberRule::Stream) {}

// A byte-order mark makes the loader's first number fail and with it every
// later one; the rest is read as if it were gone, so that one run shows
// whatever else is wrong. A NUL byte ends or spoils the token it is in.
void LevelFileReader::checkBytes() {
  const std::string& text = text_.text();
  const size_t markSize = sizeof byteOrderMark - 1;
  if (text.compare(0, markSize, byteOrderMark) == 0) {
    out_.report(text_.path(), text_.positionOf(0),
                "the file begins with a UTF-8 byte-order mark: the engine reads nothing after it");
    reader_.startAt(markSize);
  }
  const size_t first = text.find('\0');
  if (first == std::string::npos) return;
  const size_t count = static_cast<size_t>(std::count(text.begin(), text.end(), '\0'));
  out_.report(text_.path(), text_.positionOf(first),
              (count == 1 ? std::string("a NUL byte")
                          : "the first of " + std::to_string(count) + " NUL bytes") +
                  ": a level file is text and holds none");
}

// Numbers are held to the bound the loader holds them to.
template <typename Record>
bool LevelFileReader::readField(const LevelField<Record>& entry, Record& record, int index) {
  const std::string what =
      index < 0 ? std::string(entry.name) : of(entry.name, recordWord<Record>(), index);
  if (entry.text != nullptr) return reader_.readWord(record.*entry.text, what);
  if (entry.whole != nullptr) {
    reader_.setIntLimit(entry.isBounded() ? LevelData::maxNumber : 0, rejected);
    return reader_.readInt(record.*entry.whole, what);
  }
  float value = record.*entry.real;
  if (!reader_.readFloat(value, what)) return false;
  if (entry.isBounded() && !withinLevelBound(value)) {
    std::ostringstream shown;
    shown.precision(9);
    shown << value;
    out_.report(text_.path(), reader_.lastPosition(),
                what + " " + shown.str() + " is outside -" +
                    std::to_string(LevelData::maxNumber) + " to " +
                    std::to_string(LevelData::maxNumber) + ": " + rejected);
    return false;
  }
  record.*entry.real = value;
  return true;
}

template <typename Record>
FieldReads<Record> LevelFileReader::readRecord(int index) {
  FieldReads<Record> result;
  for (size_t f = 0; f < FieldReads<Record>::size; ++f) {
    result.read[f] = readField(LevelFields<Record>::list[f], result.record, index);
    result.where[f] = reader_.lastPosition();
  }
  return result;
}

template FieldReads<LevelData> LevelFileReader::readRecord<LevelData>(int);
template FieldReads<TileSpec> LevelFileReader::readRecord<TileSpec>(int);
template FieldReads<LadderSpec> LevelFileReader::readRecord<LadderSpec>(int);
template FieldReads<ChuteSpec> LevelFileReader::readRecord<ChuteSpec>(int);
template FieldReads<EnemySpec> LevelFileReader::readRecord<EnemySpec>(int);
template FieldReads<ItemSpec> LevelFileReader::readRecord<ItemSpec>(int);
template FieldReads<TeleporterSpec> LevelFileReader::readRecord<TeleporterSpec>(int);

bool LevelFileReader::readCount(const ElementKindFacts& kind, int& count) {
  // Counts have bounds of their own, with their own message.
  reader_.setIntLimit(0, "");
  if (!reader_.readInt(count, std::string("the ") + kind.word + " count")) return false;
  const Position where = reader_.lastPosition();
  if (count < 0 || count > kind.bound) {
    out_.report(text_.path(), where,
                std::string(kind.word) + " count " + std::to_string(count) +
                    (count < 0 ? " is negative" : " is above " + std::to_string(kind.bound)) +
                    ": " + rejected);
    return false;
  }
  reader_.setEndNote(" (the count at " + at(where) + " announces " + std::to_string(count) +
                     " " + kind.words + ")");
  return true;
}
