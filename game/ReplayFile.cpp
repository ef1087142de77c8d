#include "game/ReplayFile.h"

#include <allegro.h>

#include <cstdint>
#include <algorithm>
#include <charconv>
#include <limits>
#include <cstdio>
#include <iterator>
#include <istream>
#include <sstream>
#include <utility>

#include "game/Game.h"
#include "shell/LevelSequence.h"
#include "shell/LevelSet.h"
#include "shell/MediaFile.h"
#include "shell/MediaOverlay.h"
#include "shell/MediaPaths.h"
#include "shell/RegularFile.h"

namespace {

// Letters in the order they are written, with the key bit each holds.
struct KeyLetter {
  char letter;
  unsigned bit;
};
const KeyLetter keyLetters[] = {
    {'L', replayLeft}, {'R', replayRight}, {'U', replayUp}, {'D', replayDown}, {'J', replayJump},
};

// The first word of every recording.
const char* const formatWord = "pwe-replay";

// Teleporter numbers from this one on are written '#' and their digits.
constexpr int firstHashNumber = 10;

// A number a key chooses; Escape's key ends the game instead.
bool keyedNumber(int n) {
  return n >= 1 && n <= Game::lastDigitNumber && Game::firstDigitCode + n != KEY_ESC;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The teleporter number written at text[at] (a digit, or '#' and digits),
// moving at past it; false, with why, when it is none the format writes.
bool readNumber(const std::string& text, std::size_t& at, int& number, std::string& why) {
  const bool hashed = text[at] == '#';
  const std::size_t first = hashed ? at + 1 : at;
  std::size_t end = first;
  while (end < text.size() && isDigit(text[end]) && (hashed || end == first)) ++end;
  const std::string digits = text.substr(first, end - first);
  const std::string written = text.substr(at, end - at);
  at = end;
  const std::string in = " in '" + text + "'";
  if (!hashed && digits == "0") {
    why = "the digit 0 chooses no teleporter" + in;
    return false;
  }
  if (hashed && (digits.empty() || digits[0] == '0' || digits.size() > 3 ||
                 std::stoi(digits) < firstHashNumber)) {
    why = "'" + written + "'" + in + " is no teleporter number: '#' stands before " +
          std::to_string(firstHashNumber) + " to " + std::to_string(Game::lastDigitNumber) +
          ", and 1 to 9 are written alone";
    return false;
  }
  number = std::stoi(digits);
  if (number > Game::lastDigitNumber) {
    why = "teleporter " + digits + in + " has no key: the numbers end at " +
          std::to_string(Game::lastDigitNumber);
    return false;
  }
  if (!keyedNumber(number)) {
    why = "teleporter " + digits + in + " is chosen with Escape's key, which ends the game";
    return false;
  }
  return true;
}

}  // namespace

std::string replayKeyText(unsigned keys, int digit) {
  std::string text;
  for (const KeyLetter& k : keyLetters) {
    if ((keys & k.bit) != 0) text += k.letter;
  }
  if (digit != 0) {
    if (!keyedNumber(digit)) return "";
    text += digit < firstHashNumber ? std::string(1, static_cast<char>('0' + digit))
                                    : "#" + std::to_string(digit);
  }
  return text.empty() ? "-" : text;
}

bool readReplayKeys(const std::string& text, ReplayKeys& out, std::string& why) {
  ReplayKeys keys;
  for (std::size_t at = 0; at < text.size() && text != "-";) {
    const char c = text[at];
    const KeyLetter* letter = std::find_if(std::begin(keyLetters), std::end(keyLetters),
                                           [c](const KeyLetter& k) { return k.letter == c; });
    if (letter != std::end(keyLetters)) {
      keys.bits |= letter->bit;
      ++at;
    } else if (c != '#' && !isDigit(c)) {
      why = std::string("unknown key letter '") + c + "' in '" + text + "'";
      return false;
    } else if (keys.digit != 0) {
      why = "two teleporter numbers in '" + text + "'";
      return false;
    } else if (!readNumber(text, at, keys.digit, why)) {
      return false;
    }
  }
  out = keys;
  return true;
}

int Replay::tickCount() const {
  int total = 0;
  for (const ReplayRun& run : runs) total += run.ticks;
  return total;
}

std::string Replay::keysAt(int tick) const {
  for (const ReplayRun& run : runs) {
    if (tick < run.ticks) return run.keys;
    tick -= run.ticks;
  }
  return "-";
}

void Replay::append(const std::string& keys) {
  const std::string normal = keys.empty() ? "-" : keys;
  if (!runs.empty() && runs.back().keys == normal) {
    ++runs.back().ticks;
  } else {
    runs.push_back({1, normal});
  }
}

namespace {

// FNV-1a 64, fed a byte at a time.
class Fnv1a {
 public:
  void add(char c) {
    hash_ ^= static_cast<unsigned char>(c);
    hash_ *= 1099511628211ull;
  }
  std::string text() const {
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash_));
    return digits;
  }

 private:
  std::uint64_t hash_ = 1469598103934665603ull;
};

// The number after expect-score; false for what is no whole number an int
// holds, which the stream would leave half read.
bool readScore(std::istream& in, int& score) {
  std::string text;
  if (!(in >> text)) return false;
  const char* end = text.data() + text.size();
  const std::from_chars_result read = std::from_chars(text.data(), end, score);
  return read.ec == std::errc() && read.ptr == end;
}

// The fields before "keys"; false, with why, at the first that is not one.
bool readHeader(std::istream& in, const std::string& path, Replay& replay, std::string& error) {
  std::string word;
  while (in >> word && word != "keys") {
    bool read = true;
    if (word == "level") {
      // A level file's name may hold spaces too: the rest of its line.
      in >> std::ws;
      read = static_cast<bool>(std::getline(in, replay.level)) && !replay.level.empty();
    } else if (word == "set") {
      // A folder's name may hold spaces: the set is the rest of its line.
      in >> std::ws;
      read = static_cast<bool>(std::getline(in, replay.set)) && !replay.set.empty();
    } else if (word == "level-hash") {
      read = static_cast<bool>(in >> replay.levelHash);
    } else if (word == "player-hash") {
      read = static_cast<bool>(in >> replay.playerHash);
    } else if (word == "expect-score") {
      if (!readScore(in, replay.expectScore)) {
        error = path + ": expect-score is no whole number from " +
                std::to_string(std::numeric_limits<int>::min()) + " to " +
                std::to_string(std::numeric_limits<int>::max());
        return false;
      }
    } else if (word == "enemies") {
      std::string state;
      if (!(in >> state) || state != "absent") {
        error = path + ": unknown field '" + word + (state.empty() ? "" : " " + state) + "'";
        return false;
      }
      replay.enemiesAbsent = true;
    } else {
      error = path + ": unknown field '" + word + "'";
      return false;
    }
    if (!read) break;
  }
  if (word != "keys") {
    error = path + ": no key section";
    return false;
  }
  return true;
}

// One run a line, so a line cut short is refused rather than read as the
// start of the next.
bool readRuns(std::istream& in, const std::string& path, Replay& replay, std::string& error) {
  std::string line;
  std::getline(in, line);  // the rest of the "keys" line, which holds no run
  const std::size_t more = line.find_first_not_of(" \t\r");
  if (more != std::string::npos) {
    const std::size_t last = line.find_last_not_of(" \t\r");
    error = path + ": '" + line.substr(more, last + 1 - more) +
            "' after 'keys': each run of keys has a line of its own";
    return false;
  }
  long long ticks = 0;
  while (std::getline(in, line)) {
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    std::istringstream fields(line);
    ReplayRun run;
    std::string extra;
    ReplayKeys keys;
    std::string why;
    if (!(fields >> run.ticks >> run.keys) || fields >> extra) {
      error = path + ": unreadable key line";
    } else if (run.ticks <= 0) {
      error = path + ": a run of no ticks";
    } else if ((ticks += run.ticks) > std::numeric_limits<int>::max()) {
      error = path + ": more ticks than a life can count";
    } else if (!readReplayKeys(run.keys, keys, why)) {
      error = path + ": " + why;
    } else {
      replay.runs.push_back(run);
      continue;
    }
    return false;
  }
  return true;
}

bool readReplayFrom(std::istream& in, const std::string& path, Replay& out, std::string& error) {
  std::string word;
  int version = 0;
  if (!(in >> word >> version) || word != formatWord || version != 1) {
    error = path + " is not a version 1 recording";
    return false;
  }
  Replay replay;
  if (!readHeader(in, path, replay, error) || !readRuns(in, path, replay, error)) return false;
  out = std::move(replay);
  return true;
}

}  // namespace

std::string fileHash(const std::string& path) {
  MediaFile file(path);
  if (!file.isOpen()) return "";
  std::istream& in = file.stream();
  Fnv1a hash;
  char c;
  while (in.get(c)) hash.add(c);
  return hash.text();
}

std::string textHash(const std::string& bytes) {
  Fnv1a hash;
  for (char c : bytes) hash.add(c);
  return hash.text();
}

bool readReplay(const std::string& path, Replay& out, std::string& error) {
  MediaFile file(path);
  if (!file.isOpen()) {
    error = file.isSpecial() ? path + " is not a regular file" : "cannot open " + path;
    return false;
  }
  std::string text;
  if (!file.readWhole(text, maxReplayBytes)) {
    error = path + " is longer than " + std::to_string(maxReplayBytes) +
            " bytes, which no recording is";
    return false;
  }
  return readReplayText(text, path, out, error);
}

bool readReplayText(const std::string& text, const std::string& name, Replay& out,
                    std::string& error) {
  std::istringstream in(text);
  return readReplayFrom(in, name, out, error);
}

std::string replayText(const Replay& replay) {
  std::ostringstream out;
  out << formatWord << " 1\n"
      << "level " << replay.level << "\n";
  // Written only for a set's level, so the tree's recordings stay as they were.
  if (!replay.set.empty()) out << "set " << replay.set << "\n";
  out
      << "level-hash " << replay.levelHash << "\n"
      << "player-hash " << replay.playerHash << "\n"
      << "expect-score " << replay.expectScore << "\n";
  // Written only when set, so recordings with enemies stay as they were.
  if (replay.enemiesAbsent) out << "enemies absent\n";
  out << "keys\n";
  for (const ReplayRun& run : replay.runs) out << run.ticks << " " << run.keys << "\n";
  return out.str();
}

bool replaceableByRecording(const std::string& text) {
  return text.empty() || text.rfind(std::string(formatWord) + " ", 0) == 0;
}

void releaseAllKeys(Game& game) {
  game.inputSource.inputFromDevices = false;
  game.input.releaseAll();
}

void applyKeys(Game& game, const std::string& keys) {
  releaseAllKeys(game);
  ReplayKeys held;
  std::string why;
  if (!readReplayKeys(keys, held, why)) return;  // the reader refused such a file
  const int codeOf[] = {game.keyLeft, game.keyRight, game.keyUp, game.keyDown, game.keyJump};
  for (std::size_t i = 0; i < std::size(keyLetters); ++i) {
    if ((held.bits & keyLetters[i].bit) != 0) game.input.hold(codeOf[i]);
  }
  if (held.digit != 0) game.input.hold(Game::firstDigitCode + held.digit);
}

void nameRecordedLevel(Replay& replay, const std::string& level) {
  const std::string path = std::string(mediaDir) + level;
  replay.level = level;
  replay.set = mediaPath(path) == path ? "" : mediaSetDirectory();
  replay.levelHash = fileHash(mediaPath(path));
  replay.playerHash = fileHash(mediaPath(std::string(mediaDir) + "player.inf"));
}

std::string replayMismatch(const Replay& replay) {
  const bool known =
      mediaSetDirectory().empty()
          ? std::find(std::begin(levelFiles), std::end(levelFiles), replay.level) != std::end(levelFiles)
          : plainLevelName(replay.level) && isRegularFile(mediaPath(mediaDir + replay.level));
  if (!known && mediaSetDirectory().empty()) {
    return "the recording's level '" + replay.level + "' is none of the levels " + levelFiles[0] +
           " to " + levelFiles[std::size(levelFiles) - 1];
  }
  if (!known) return "the recording's level '" + replay.level + "' is no level file of the set or the tree";
  const char* const changed = " changed since this recording was made";
  const std::string level = mediaPath(mediaDir + replay.level);
  if (fileHash(level) != replay.levelHash) return level + changed;
  const std::string player = mediaPath(std::string(mediaDir) + "player.inf");
  if (fileHash(player) != replay.playerHash) return player + changed;
  return "";
}

void beginReplayLife(Game& game, const Replay& replay) {
  game.beginLife();
  if (replay.enemiesAbsent) game.enemyManager.clear();
}

bool ReplayFeed::next(Game& game) {
  while (run_ < replay_.runs.size() && intoRun_ >= replay_.runs[run_].ticks) {
    ++run_;
    intoRun_ = 0;
  }
  if (run_ >= replay_.runs.size()) {
    releaseAllKeys(game);
    return false;
  }
  applyKeys(game, replay_.runs[run_].keys);
  ++intoRun_;
  ++handed_;
  return true;
}
