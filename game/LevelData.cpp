#include "game/LevelData.h"

#include <istream>
#include <string>
#include <vector>

#include "game/LevelFields.h"
#include "shell/Log.h"
#include "shell/MediaFile.h"
#include "shell/MediaOverlay.h"
#include "shell/MediaPaths.h"
#include "shell/Fatal.h"

namespace {

// A read that fails leaves its field as it was. Extracting straight into
// the field would not: a number that cannot be parsed stores 0 (or the
// type's limit on overflow) before the stream goes bad. Once the stream has
// failed, every later read fails too, so a short file keeps earlier values.
template <typename T>
void readValue(std::istream& in, T& field) {
  T value{};
  if (in >> value) field = value;
}

template <typename Record>
void readField(std::istream& in, const LevelField<Record>& entry, Record& record) {
  if (entry.whole != nullptr) readValue(in, record.*entry.whole);
  if (entry.real != nullptr) readValue(in, record.*entry.real);
  if (entry.text != nullptr) readValue(in, record.*entry.text);
}

// The loader's line about a record: "x = 8, y = 4, name = wood." with the
// fields it logs, in file order.
template <typename Record>
std::string describe(const Record& record) {
  std::string line;
  for (const LevelField<Record>& entry : LevelFields<Record>::list) {
    if (!entry.isLogged()) continue;
    if (!line.empty()) line += ", ";
    line += std::string(entry.name) + " = ";
    if (entry.whole != nullptr) line += std::to_string(record.*entry.whole);
    if (entry.real != nullptr) {
      line += formatText("%.3f", static_cast<double>(record.*entry.real));
    }
    if (entry.text != nullptr) line += record.*entry.text;
  }
  return line + ".";
}

template <typename Record>
void readRecord(std::istream& in, Record& record) {
  for (const LevelField<Record>& entry : LevelFields<Record>::list) {
    readField(in, entry, record);
  }
  if (LevelFields<Record>::facts.logsRecords) log_message("%s", describe(record).c_str());
}

void readHeader(std::istream& in, LevelData& level) {
  for (const LevelField<LevelData>& entry : LevelFields<LevelData>::list) {
    if (entry.heading != nullptr) log_message("%s", entry.heading);
    readField(in, entry, level);
  }
}

// Reads one kind's count and sizes its list with default records. A count
// that failed to read keeps the value the field already held (the previous
// level's), and the list is still sized to it.
//
// Counts are bounded by the kind's bound (game/ElementKinds.h, 10,000 for
// each): far more than a single screen can hold, and small enough that the
// allocation can never be the thing that fails. A negative or larger count
// means the file is not a level, so it is rejected like one that cannot be
// opened.
template <typename Record, typename Fields>
bool readList(std::istream& in, std::vector<Record>& list, int& count, Fields) {
  const ElementKindFacts& kind = Fields::facts;
  log_message("Reading number of %s in level.", kind.words);
  readValue(in, count);
  if (count < 0 || count > kind.bound) {
    log_message("Level rejected: %d %s is outside 0 to %d.", count, kind.words, kind.bound);
    return false;
  }
  list.assign(static_cast<size_t>(count), Record{});
  log_message("There are %d %s.", count, kind.words);
  for (int i = 0; i < count; ++i) {
    log_message("Reading and setting data for %s %d.", kind.word, i);
    readRecord(in, list[i]);
  }
  return true;
}

// The numbers positions, sizes, scores and counts are computed from are
// held within a million either way (game/LevelFields.h lists which): beyond
// that none of them means anything on a screen, and sums of such values with
// image sizes or with each other would overflow int. A file holding one is
// rejected like one with an impossible count. The others are only compared
// and may hold anything. Reports the first offending field of a record;
// index is the record's, or -1 for the header.
template <typename Record>
bool withinBounds(const Record& record, int index) {
  const char* kind = recordWord<Record>();
  const int bound = LevelData::maxNumber;
  for (const LevelField<Record>& entry : LevelFields<Record>::list) {
    if (!entry.isBounded()) continue;
    if (entry.whole != nullptr && !withinLevelBound(record.*entry.whole)) {
      if (index < 0) {
        log_message("Level rejected: %s value %d is outside -%d to %d.", kind,
                    record.*entry.whole, bound, bound);
      } else {
        log_message("Level rejected: %s value %d of element %d is outside -%d to %d.", kind,
                    record.*entry.whole, index, bound, bound);
      }
      return false;
    }
    if (entry.real != nullptr && !withinLevelBound(record.*entry.real)) {
      log_message("Level rejected: %s value %.3f of element %d is outside -%d to %d.", kind,
                  static_cast<double>(record.*entry.real), index, bound, bound);
      return false;
    }
  }
  return true;
}

bool numbersWithinBounds(LevelData& level) {
  bool within = withinBounds(level, -1);
  forEachRecordList(level, [&](auto& list, int&, auto) {
    for (size_t i = 0; within && i < list.size(); ++i) {
      within = withinBounds(list[i], static_cast<int>(i));
    }
  });
  return within;
}

}  // namespace

int LevelData::read(std::istream& in) {
  // Everything is read into a copy, so a rejected file changes nothing and
  // failed reads fall back on the values of the level loaded before.
  LevelData next = *this;
  readHeader(in, next);
  bool readable = true;
  forEachRecordList(next, [&](auto& list, int& count, auto fields) {
    readable = readable && readList(in, list, count, fields);
  });
  // A read error (a failing disk, say) is not a short file: the level
  // cannot be read at all, so it is refused like a missing one.
  if (!readable || in.bad() || !numbersWithinBounds(next)) return -1;
  *this = std::move(next);
  return 0;
}

int LevelData::load(const std::string& fileName) {
  const std::string path = mediaPath(std::string(mediaDir) + fileName);
  log_message("Loading level data from %s", path.c_str());
  MediaFile file(path);
  if (!file.isOpen()) return -1;
  return read(file.stream());
}
