#include "game/LevelData.h"

#include <fstream>
#include <istream>
#include <vector>

#include "game/LevelFields.h"
#include "shell/Log.h"
#include "shell/MediaPaths.h"

namespace {

// A read that fails leaves its field as it was. Extracting straight into
// the field would not: a number that cannot be parsed stores 0 (or the
// type's limit on overflow) before the stream goes bad. Once the stream has
// failed, every later read fails too, so a short file keeps earlier values.
template <typename T>
void readField(std::istream& in, T& field) {
  T value{};
  if (in >> value) field = value;
}

// Reads one kind's count and sizes its list with default records. A count
// that failed to read keeps the value the field already held (the previous
// level's), and the list is still sized to it.
//
// Counts are bounded by LevelData::maxElementCount (10,000): far more than a
// single screen can hold, and small enough that the allocation can never be
// the thing that fails. A negative or larger count means the file is not a
// level, so it is rejected like one that cannot be opened.
template <typename Spec>
bool readCount(std::istream& in, int& count, std::vector<Spec>& list, const char* kind) {
  readField(in, count);
  if (count < 0 || count > LevelData::maxElementCount) {
    log_message("Level rejected: %d %s is outside 0 to %d.", count, kind,
                LevelData::maxElementCount);
    return false;
  }
  list.assign(static_cast<size_t>(count), Spec{});
  return true;
}

// The numbers positions, sizes, scores and counts are computed from are
// held within a million either way (game/LevelFields.h lists which): beyond
// that none of them means anything on a screen, and sums of such values with
// image sizes or with each other would overflow int. A file holding one is
// rejected like one with an impossible count. The others are only compared
// and may hold anything. Reports the first offending field of a record.
template <typename Record>
bool withinBounds(const Record& record, int index) {
  const char* kind = LevelNumbers<Record>::kind;
  const int bound = LevelData::maxNumber;
  for (const LevelNumber<Record>& number : LevelNumbers<Record>::list) {
    if (!number.bounded) continue;
    if (number.whole != nullptr && !withinLevelBound(record.*number.whole)) {
      if (index < 0) {
        log_message("Level rejected: %s value %d is outside -%d to %d.", kind,
                    record.*number.whole, bound, bound);
      } else {
        log_message("Level rejected: %s value %d of element %d is outside -%d to %d.", kind,
                    record.*number.whole, index, bound, bound);
      }
      return false;
    }
    if (number.real != nullptr && !withinLevelBound(record.*number.real)) {
      log_message("Level rejected: %s value %.3f of element %d is outside -%d to %d.", kind,
                  static_cast<double>(record.*number.real), index, bound, bound);
      return false;
    }
  }
  return true;
}

template <typename Record>
bool listWithinBounds(const std::vector<Record>& list) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (!withinBounds(list[i], static_cast<int>(i))) return false;
  }
  return true;
}

bool numbersWithinBounds(const LevelData& level) {
  return withinBounds(level, -1) && listWithinBounds(level.tiles) &&
         listWithinBounds(level.ladders) && listWithinBounds(level.chutes) &&
         listWithinBounds(level.enemies) && listWithinBounds(level.items) &&
         listWithinBounds(level.teleporters);
}

// The log lines of one element kind.
struct KindTexts {
  const char* name;          // plural, for the count check
  const char* readingCount;  // before the count
  const char* thereAre;      // "%d" with the count
  const char* readingOne;    // "%d" with the index
};

// Reads one kind's count and then that many records, each with its reader.
template <typename Spec, typename Reader>
bool readList(std::istream& in, int& count, std::vector<Spec>& list, const KindTexts& texts,
              Reader readRecord) {
  log_message("%s", texts.readingCount);
  if (!readCount(in, count, list, texts.name)) return false;
  log_message(texts.thereAre, count);
  for (int i = 0; i < count; ++i) {
    log_message(texts.readingOne, i);
    readRecord(in, list[i]);
  }
  return true;
}

void readTile(std::istream& in, TileSpec& tile) {
  readField(in, tile.x);
  readField(in, tile.y);
  readField(in, tile.tile_name);
  readField(in, tile.cleared_name);
  readField(in, tile.claimable);
  readField(in, tile.points);
}

void readLadder(std::istream& in, LadderSpec& ladder) {
  readField(in, ladder.x);
  readField(in, ladder.y);
  readField(in, ladder.height);
  readField(in, ladder.name);
  log_message("x = %d, y = %d, height = %d, name = %s.", ladder.x, ladder.y, ladder.height,
              ladder.name.c_str());
}

void readChute(std::istream& in, ChuteSpec& chute) {
  readField(in, chute.x);
  readField(in, chute.y);
  readField(in, chute.height);
  readField(in, chute.dx);
  readField(in, chute.direction);
  readField(in, chute.name);
  log_message("x = %d, y = %d, height = %d, dx = %d, direction = %d, name = %s.", chute.x,
              chute.y, chute.height, chute.dx, chute.direction, chute.name.c_str());
}

void readEnemy(std::istream& in, EnemySpec& enemy) {
  readField(in, enemy.x);
  readField(in, enemy.y);
  readField(in, enemy.direction);
  readField(in, enemy.min_x);
  readField(in, enemy.max_x);
  readField(in, enemy.speed);
  readField(in, enemy.changes);
  readField(in, enemy.state);
  readField(in, enemy.name);
  readField(in, enemy.safe_time);
  readField(in, enemy.points);
  log_message(
      "x = %d, y = %d, direction = %d, min_x = %d, max_x = %d, speed = %.3f, changes = %d, "
      "state = %d, name = %s, safe_time = %d.",
      enemy.x, enemy.y, enemy.direction, enemy.min_x, enemy.max_x,
      static_cast<double>(enemy.speed), enemy.changes, enemy.state, enemy.name.c_str(),
      enemy.safe_time);
}

void readItem(std::istream& in, ItemSpec& item) {
  readField(in, item.x);
  readField(in, item.y);
  readField(in, item.type);
  readField(in, item.points);
  log_message("x = %d, y = %d, type = %s, points = %d.", item.x, item.y, item.type.c_str(),
              item.points);
}

void readTeleporter(std::istream& in, TeleporterSpec& teleporter) {
  readField(in, teleporter.x);
  readField(in, teleporter.y);
  readField(in, teleporter.name);
  readField(in, teleporter.cooldown_name);
  readField(in, teleporter.number);
  log_message("x = %d, y = %d, name = %s, number = %d.", teleporter.x, teleporter.y,
              teleporter.name.c_str(), teleporter.number);
}

const KindTexts tileTexts = {"tiles", "Reading number of tiles in level.", "There are %d tiles.",
                             "Reading and setting data for tile %d."};
const KindTexts ladderTexts = {"ladders", "Reading number of ladders in level.",
                               "There are %d ladders.", "Reading and setting data for ladder %d."};
const KindTexts chuteTexts = {"chutes", "Reading number of chutes in level.",
                              "There are %d chutes.", "Reading and setting data for chute %d."};
const KindTexts enemyTexts = {"enemies", "Reading number of enemies in level.",
                              "There are %d enemies.", "Reading and setting data for enemy %d."};
const KindTexts itemTexts = {"items", "Reading number of items in level.", "There are %d items.",
                             "Reading and setting data for item %d."};
const KindTexts teleporterTexts = {"teleporters", "Reading number of teleporters in level.",
                                   "There are %d teleporters.",
                                   "Reading and setting data for teleporter %d."};

}  // namespace

int LevelData::load(const std::string& fileName) {
  const std::string path = std::string(mediaDir) + fileName;
  log_message("Loading level data from %s", path.c_str());

  std::ifstream in(path);
  if (!in.is_open()) return -1;

  // Everything is read into a copy, so a rejected file changes nothing and
  // failed reads fall back on the values of the level loaded before.
  LevelData next = *this;

  log_message("Reading countdown information");
  readField(in, next.countdown_start);
  readField(in, next.countdown_x);
  readField(in, next.countdown_y);
  readField(in, next.countdown_align);

  log_message("Reading score information");
  readField(in, next.score_x);
  readField(in, next.score_y);
  readField(in, next.score_align);

  log_message("Reading life pip information");
  readField(in, next.pip_offset);
  readField(in, next.pip_spacing);

  log_message("Reading player starting position");
  readField(in, next.start_x);
  readField(in, next.start_y);
  readField(in, next.start_animation);

  if (!readList(in, next.tileCount, next.tiles, tileTexts, readTile) ||
      !readList(in, next.ladderCount, next.ladders, ladderTexts, readLadder) ||
      !readList(in, next.chuteCount, next.chutes, chuteTexts, readChute) ||
      !readList(in, next.enemyCount, next.enemies, enemyTexts, readEnemy) ||
      !readList(in, next.itemCount, next.items, itemTexts, readItem) ||
      !readList(in, next.teleporterCount, next.teleporters, teleporterTexts, readTeleporter)) {
    return -1;
  }

  // A read error (a directory in the file's place, say) is not a short
  // file: the level cannot be read at all, so it is refused like a missing one.
  if (in.bad()) return -1;
  if (!numbersWithinBounds(next)) return -1;
  in.close();
  *this = std::move(next);
  return 0;
}
