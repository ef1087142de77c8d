// A level file read token by token as the engine's loader reads it, with
// every record held against the images, enemy kinds and screen of the tree.
#include <allegro.h>

#include <cstdint>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

#include "game/Game.h"
#include "game/LevelData.h"
#include "game/LevelFields.h"
#include "tools/check/MediaChecker.h"
#include "tools/check/TokenReader.h"

namespace {

std::string at(Position position) {
  return std::to_string(position.line) + ":" + std::to_string(position.column);
}

std::string point(int x, int y) { return std::to_string(x) + ", " + std::to_string(y); }

std::string size(int width, int height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

bool zeroOrOne(int value) { return value == 0 || value == 1; }

// The player's teleport keys: teleporter n answers to scan code
// Game::firstDigitCode + n, and the key table ends below KEY_MAX.
const int firstUnreachableNumber = KEY_MAX - Game::firstDigitCode;

const char* const rejected = "the engine rejects the level";

// Reads the numbers of a level file, each held to the bound the engine holds
// it to (game/LevelFields.h) and named as the messages name it: "x of tile 3",
// or a header number by its name alone.
class LevelNumberReader {
 public:
  LevelNumberReader(TokenReader& reader, Diagnostics& out, const std::string& file)
      : reader_(reader), out_(out), file_(file) {}

  // index: the record's, from 0; -1 for the header.
  template <typename Record>
  bool read(const LevelNumber<Record>& number, Record& record, int index) {
    std::string what = number.name;
    if (index >= 0) {
      what += std::string(" of ") + LevelNumbers<Record>::kind + " " + std::to_string(index + 1);
    }
    if (number.whole != nullptr) {
      reader_.setIntLimit(number.bounded ? LevelData::maxNumber : 0, rejected);
      return reader_.readInt(record.*number.whole, what);
    }
    float value = record.*number.real;
    if (!reader_.readFloat(value, what)) return false;
    if (number.bounded && !withinLevelBound(value)) {
      std::ostringstream shown;
      shown.precision(9);
      shown << value;
      out_.report(file_, reader_.lastPosition(),
                  what + " " + shown.str() + " is outside -" +
                      std::to_string(LevelData::maxNumber) + " to " +
                      std::to_string(LevelData::maxNumber) + ": " + rejected);
      return false;
    }
    record.*number.real = value;
    return true;
  }

  // The field's entry is looked up while building, so a field missing
  // from its table does not build.
  template <auto Field, typename Record>
  bool read(Record& record, int index) {
    static constexpr const LevelNumber<Record>& number = levelNumber(Field);
    return read(number, record, index);
  }

 private:
  TokenReader& reader_;
  Diagnostics& out_;
  const std::string& file_;
};

}  // namespace

void MediaChecker::checkLevel(const std::string& fileName) {
  const std::string file = pathOf(fileName);
  TextFile text;
  if (!text.read(file)) {
    out_.report(file, "missing: the engine stops with \"Error loading \"" + fileName + "\"\"");
    return;
  }
  TokenReader reader(text, out_, NumberRule::Stream);
  LevelNumberReader in(reader, out_, file);
  // Where each record begins, for the layout rules that run once all is read.
  LevelRecords& records = levels_.emplace_back();
  records.fileName = fileName;
  const int errorsBefore = out_.errorCount();
  auto begins = [&](std::vector<Position>& list) {
    list.push_back(reader.lastPosition());
    return reader.lastPosition();
  };
  auto report = [&](Position where, const std::string& message) {
    out_.report(file, where, message);
  };
  auto warn = [&](Position where, const std::string& message) { out_.warn(file, where, message); };
  const int screenWidth = facts_.screenWidth;
  const int screenHeight = facts_.screenHeight;
  const std::string screen = size(screenWidth, screenHeight);
  auto whollyOnScreen = [&](int64_t left, int64_t top, int64_t width, int64_t height) {
    return left >= 0 && top >= 0 && left + width <= screenWidth && top + height <= screenHeight;
  };
  auto pointOnScreen = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < screenWidth && y < screenHeight;
  };
  // The index of the named image, or -1 after reporting the name.
  // A directory without images was reported once already; its names are
  // not reported again for every element.
  auto lookUp = [&](const NamedImages& set, const std::string& name, Position where) {
    int index = set.find(name);
    if (index < 0 && !set.names.empty()) {
      std::string message = "no " + set.label + " named '" + name + "'";
      std::string variant = set.caseVariant(name);
      if (!variant.empty()) message += "; did you mean '" + variant + "'?";
      report(where, message);
    }
    return index;
  };

  // Header: HUD placement, life pips, the player's start.
  LevelData level;
  struct HeaderField {
    int value;
    Position where;
    bool read;
  };
  const auto& headerNumbers = LevelNumbers<LevelData>::list;
  HeaderField header[std::size(headerNumbers)];
  for (size_t f = 0; f < std::size(headerNumbers); ++f) {
    header[f].read = in.read(headerNumbers[f], level, -1);
    header[f].where = reader.lastPosition();
    header[f].value = level.*headerNumbers[f].whole;
  }
  auto panel = [&](int first, const char* name, int width, int height) {
    if (!header[first].read || !header[first + 1].read || !header[first + 2].read) return;
    int x = header[first].value;
    int y = header[first + 1].value;
    int align = header[first + 2].value;
    // Other alignments hide the panel; an unknown size was reported already.
    if (align < 0 || align > 2 || width <= 0) return;
    if (!whollyOnScreen(x, y, width, height)) {
      report(header[first].where, std::string("the ") + name + " panel (" + size(width, height) +
                                      " at " + point(x, y) + ") is not wholly on the " + screen +
                                      " screen");
    }
  };
  records.countdownPanel = header[1].where;
  records.scorePanel = header[4].where;
  records.start = header[9].where;
  panel(1, "countdown", facts_.countdownPanelWidth, facts_.countdownPanelHeight);
  panel(4, "score", facts_.scorePanelWidth, facts_.scorePanelHeight);
  if (header[9].read && header[10].read && !pointOnScreen(level.start_x, level.start_y)) {
    report(header[9].where, "the player start (" + point(level.start_x, level.start_y) +
                                ") is off the " + screen + " screen");
  }
  if (header[11].read && (level.start_animation < 0 || level.start_animation > 4)) {
    report(header[11].where, "start_animation " + std::to_string(level.start_animation) +
                                 " is not a player animation (0 to 4)");
  }

  // Each count, then its records. A count the engine cannot use ends the
  // check of the file: nothing after it can be told apart.
  auto readCount = [&](const char* kind, const char* kinds, int& count) {
    // Counts have bounds of their own, with their own message.
    reader.setIntLimit(0, "");
    if (!reader.readInt(count, std::string("the ") + kind + " count")) return false;
    Position where = reader.lastPosition();
    if (count < 0 || count > LevelData::maxElementCount) {
      report(where, std::string(kind) + " count " + std::to_string(count) +
                        (count < 0 ? " is negative" : " is above 10000") +
                        ": the engine rejects the level");
      return false;
    }
    reader.setEndNote(" (the count at " + at(where) + " announces " + std::to_string(count) +
                      " " + kinds + ")");
    return true;
  };
  auto label = [](const char* kind, int i) {
    return std::string(kind) + " " + std::to_string(i + 1);
  };
  auto of = [&](const char* field, const char* kind, int i) {
    return std::string(field) + " of " + label(kind, i);
  };

  int count = 0;
  if (!readCount("tile", "tiles", count)) return;
  records.tileCount = reader.lastPosition();
  for (int i = 0; i < count && !reader.ended(); ++i) {
    TileSpec tile;
    bool ok = in.read<&TileSpec::x>(tile, i);
    Position start = begins(records.tiles);
    ok = in.read<&TileSpec::y>(tile, i) && ok;
    bool named = reader.readWord(tile.tile_name, of("tile_name", "tile", i));
    Position nameAt = reader.lastPosition();
    bool clearedNamed = reader.readWord(tile.cleared_name, of("cleared_name", "tile", i));
    Position clearedAt = reader.lastPosition();
    bool claimableRead = in.read<&TileSpec::claimable>(tile, i);
    Position claimableAt = reader.lastPosition();
    in.read<&TileSpec::points>(tile, i);
    if (reader.ended()) break;
    int image = named ? lookUp(facts_.floorTiles, tile.tile_name, nameAt) : -1;
    if (clearedNamed) lookUp(facts_.clearedTiles, tile.cleared_name, clearedAt);
    if (claimableRead && !zeroOrOne(tile.claimable)) {
      report(claimableAt, of("claimable", "tile", i) + " must be 0 or 1, found " +
                              std::to_string(tile.claimable));
    }
    if (ok && image >= 0 && facts_.floorTiles.widths[image] > 0) {
      int w = facts_.floorTiles.widths[image];
      int h = facts_.floorTiles.heights[image];
      if (!whollyOnScreen(tile.x, tile.y, w, h)) {
        report(start, label("tile", i) + " ('" + tile.tile_name + "', " + size(w, h) + " at " +
                          point(tile.x, tile.y) + ") is not wholly on the " + screen + " screen");
      }
    }
  }

  if (!readCount("ladder", "ladders", count)) return;
  for (int i = 0; i < count && !reader.ended(); ++i) {
    LadderSpec ladder;
    bool ok = in.read<&LadderSpec::x>(ladder, i);
    Position start = begins(records.ladders);
    ok = in.read<&LadderSpec::y>(ladder, i) && ok;
    bool heightRead = in.read<&LadderSpec::height>(ladder, i);
    Position heightAt = reader.lastPosition();
    bool named = reader.readWord(ladder.name, of("name", "ladder", i));
    Position nameAt = reader.lastPosition();
    if (reader.ended()) break;
    int image = named ? lookUp(facts_.ladders, ladder.name, nameAt) : -1;
    if (heightRead && ladder.height <= 0) {
      report(heightAt, of("height", "ladder", i) + " must be above 0, found " +
                           std::to_string(ladder.height) +
                           ": the ladder is neither drawn nor climbable");
    } else if (ok && heightRead && image >= 0 && facts_.ladders.widths[image] > 0) {
      int w = facts_.ladders.widths[image];
      if (!whollyOnScreen(ladder.x, ladder.y, w, ladder.height)) {
        report(start, label("ladder", i) + " (" + size(w, ladder.height) + " at " +
                          point(ladder.x, ladder.y) + ") is not wholly on the " + screen +
                          " screen");
      }
    }
  }

  if (!readCount("chute", "chutes", count)) return;
  for (int i = 0; i < count && !reader.ended(); ++i) {
    ChuteSpec chute;
    bool ok = in.read<&ChuteSpec::x>(chute, i);
    Position start = begins(records.chutes);
    ok = in.read<&ChuteSpec::y>(chute, i) && ok;
    bool heightRead = in.read<&ChuteSpec::height>(chute, i);
    Position heightAt = reader.lastPosition();
    bool dxRead = in.read<&ChuteSpec::dx>(chute, i);
    Position dxAt = reader.lastPosition();
    ok = in.read<&ChuteSpec::direction>(chute, i) && ok;
    bool named = reader.readWord(chute.name, of("name", "chute", i));
    Position nameAt = reader.lastPosition();
    if (reader.ended()) break;
    int image = named ? lookUp(facts_.chutes, chute.name, nameAt) : -1;
    if (heightRead && chute.height <= 0) {
      report(heightAt, of("height", "chute", i) + " must be above 0, found " +
                           std::to_string(chute.height) + ": the chute is not drawn");
      continue;
    }
    if (!heightRead || !dxRead || image < 0 || facts_.chutes.widths[image] <= 0) continue;
    // The chute's image: one step wide plus dx for every further whole step.
    const int64_t stepWidth = facts_.chutes.widths[image];
    const int64_t stepHeight = facts_.chutes.heights[image];
    const int64_t width = stepWidth + (chute.height - stepHeight) / stepHeight * chute.dx;
    if (width <= 0) {
      report(dxAt, "dx " + std::to_string(chute.dx) + " of " + label("chute", i) + " makes it " +
                       std::to_string(width) + " pixels wide: the chute is not drawn");
      continue;
    }
    const int64_t left = chute.direction != 0 ? chute.x : chute.x + stepWidth - width;
    if (ok && !whollyOnScreen(left, chute.y, width, chute.height)) {
      report(start, label("chute", i) + " (" + std::to_string(width) + "x" +
                        std::to_string(chute.height) + " at " + std::to_string(left) + ", " +
                        std::to_string(chute.y) + ") is not wholly on the " + screen + " screen");
    }
  }

  if (!readCount("enemy", "enemies", count)) return;
  for (int i = 0; i < count && !reader.ended(); ++i) {
    EnemySpec enemy;
    bool placed = in.read<&EnemySpec::x>(enemy, i);
    Position start = begins(records.enemies);
    placed = in.read<&EnemySpec::y>(enemy, i) && placed;
    bool directionRead = in.read<&EnemySpec::direction>(enemy, i);
    Position directionAt = reader.lastPosition();
    bool patrolRead = in.read<&EnemySpec::min_x>(enemy, i);
    Position patrolAt = reader.lastPosition();
    patrolRead = in.read<&EnemySpec::max_x>(enemy, i) && patrolRead;
    in.read<&EnemySpec::speed>(enemy, i);
    in.read<&EnemySpec::changes>(enemy, i);
    bool stateRead = in.read<&EnemySpec::state>(enemy, i);
    Position stateAt = reader.lastPosition();
    bool named = reader.readWord(enemy.name, of("name", "enemy", i));
    Position nameAt = reader.lastPosition();
    in.read<&EnemySpec::safe_time>(enemy, i);
    in.read<&EnemySpec::points>(enemy, i);
    if (reader.ended()) break;
    if (named && !facts_.enemyKinds.empty() && findName(facts_.enemyKinds, enemy.name) < 0) {
      std::string message = "no enemy kind named '" + enemy.name + "' (no " + enemy.name + ".nme)";
      std::string variant = caseVariantOf(facts_.enemyKinds, enemy.name);
      if (!variant.empty()) message += "; did you mean '" + variant + "'?";
      report(nameAt, message);
    }
    if (directionRead && !zeroOrOne(enemy.direction)) {
      report(directionAt, of("direction", "enemy", i) + " must be 0 or 1, found " +
                              std::to_string(enemy.direction));
    }
    if (stateRead && !zeroOrOne(enemy.state)) {
      report(stateAt, of("state", "enemy", i) + " must be 0 or 1, found " +
                          std::to_string(enemy.state));
    }
    if (placed && !pointOnScreen(enemy.x, enemy.y)) {
      report(start, label("enemy", i) + " at (" + point(enemy.x, enemy.y) + ") is off the " +
                        screen + " screen");
    }
    if (patrolRead && enemy.min_x > enemy.max_x) {
      report(patrolAt, "min_x " + std::to_string(enemy.min_x) + " of " + label("enemy", i) +
                           " is above its max_x " + std::to_string(enemy.max_x));
    } else if (patrolRead && (enemy.min_x < 0 || enemy.max_x >= screenWidth)) {
      report(patrolAt, "the patrol of " + label("enemy", i) + " (" + std::to_string(enemy.min_x) +
                           " to " + std::to_string(enemy.max_x) + ") leaves the " + screen +
                           " screen");
    }
  }

  if (!readCount("item", "items", count)) return;
  for (int i = 0; i < count && !reader.ended(); ++i) {
    ItemSpec item;
    bool ok = in.read<&ItemSpec::x>(item, i);
    Position start = begins(records.items);
    ok = in.read<&ItemSpec::y>(item, i) && ok;
    bool named = reader.readWord(item.type, of("type", "item", i));
    Position nameAt = reader.lastPosition();
    in.read<&ItemSpec::points>(item, i);
    if (reader.ended()) break;
    int image = named ? lookUp(facts_.items, item.type, nameAt) : -1;
    if (ok && image >= 0 && facts_.items.widths[image] > 0) {
      int w = facts_.items.widths[image];
      int h = facts_.items.heights[image];
      if (!whollyOnScreen(item.x, item.y, w, h)) {
        report(start, label("item", i) + " ('" + item.type + "', " + size(w, h) + " at " +
                          point(item.x, item.y) + ") is not wholly on the " + screen + " screen");
      }
    }
  }

  int teleporterCount = 0;
  if (!readCount("teleporter", "teleporters", teleporterCount)) return;
  std::map<int, std::pair<int, Position>> numbers;  // number -> first teleporter and place
  for (int i = 0; i < teleporterCount && !reader.ended(); ++i) {
    TeleporterSpec teleporter;
    bool ok = in.read<&TeleporterSpec::x>(teleporter, i);
    Position start = begins(records.teleporters);
    ok = in.read<&TeleporterSpec::y>(teleporter, i) && ok;
    bool named = reader.readWord(teleporter.name, of("name", "teleporter", i));
    Position nameAt = reader.lastPosition();
    bool cooldownNamed =
        reader.readWord(teleporter.cooldown_name, of("cooldown_name", "teleporter", i));
    Position cooldownAt = reader.lastPosition();
    bool numberRead = in.read<&TeleporterSpec::number>(teleporter, i);
    Position numberAt = reader.lastPosition();
    if (reader.ended()) break;
    int image = named ? lookUp(facts_.teleporters, teleporter.name, nameAt) : -1;
    if (cooldownNamed) lookUp(facts_.teleporterCooldowns, teleporter.cooldown_name, cooldownAt);
    if (numberRead) {
      const int n = teleporter.number;
      const std::string number = "teleporter number " + std::to_string(n);
      // A teleporter no key reaches plays as one to leave by, never to
      // arrive at: an author may mean it.
      if (n < 1 || n > teleporterCount) {
        warn(numberAt, number + " cannot be reached: on a level with " +
                           std::to_string(teleporterCount) + " teleporter" +
                           (teleporterCount == 1 ? "" : "s") + " the keys reach 1 to " +
                           std::to_string(teleporterCount));
      } else if (n >= firstUnreachableNumber) {
        warn(numberAt, number + " cannot be reached: it would need key scan code " +
                           std::to_string(Game::firstDigitCode + n) + ", and the codes end at " +
                           std::to_string(KEY_MAX - 1));
      } else if (Game::firstDigitCode + n == KEY_ESC) {
        warn(numberAt, number + " answers to the Escape key, which ends the game instead");
      }
      auto first = numbers.find(n);
      if (first != numbers.end()) {
        report(numberAt, number + " of " + label("teleporter", i) + " repeats that of " +
                             label("teleporter", first->second.first) + " (at " +
                             at(first->second.second) + "): only the first is ever a destination");
      } else {
        numbers[n] = {i, numberAt};
      }
    }
    if (ok && image >= 0 && facts_.teleporters.widths[image] > 0) {
      int w = facts_.teleporters.widths[image];
      int h = facts_.teleporters.heights[image];
      if (!whollyOnScreen(teleporter.x, teleporter.y, w, h)) {
        report(start, label("teleporter", i) + " ('" + teleporter.name + "', " + size(w, h) +
                          " at " + point(teleporter.x, teleporter.y) + ") is not wholly on the " +
                          screen + " screen");
      }
    }
  }
  reader.reportTrailing("the last record");
  records.readable = out_.errorCount() == errorsBefore;
}
