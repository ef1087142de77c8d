#include "game/ReplayFile.h"

#include <allegro.h>

#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <istream>
#include <sstream>

#include "game/Game.h"
#include "shell/LevelSequence.h"
#include "shell/MediaFile.h"

namespace {

// Letters in the order they are written, with the key bit each holds.
struct KeyLetter {
  char letter;
  unsigned bit;
};
const KeyLetter keyLetters[] = {
    {'L', replayLeft}, {'R', replayRight}, {'U', replayUp}, {'D', replayDown}, {'J', replayJump},
};

int digitCode(char digit) { return Game::firstDigitCode + (digit - '0'); }

}  // namespace

std::string replayKeyText(unsigned keys, int digit) {
  std::string text;
  for (const KeyLetter& k : keyLetters) {
    if ((keys & k.bit) != 0) text += k.letter;
  }
  if (digit != 0) {
    if (digit < 1 || digit > 9) return "";
    text += static_cast<char>('0' + digit);
  }
  return text.empty() ? "-" : text;
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

bool readReplayFrom(std::istream& in, const std::string& path, Replay& out, std::string& error) {
  std::string word;
  int version = 0;
  if (!(in >> word >> version) || word != "pwe-replay" || version != 1) {
    error = path + " is not a version 1 recording";
    return false;
  }
  Replay replay;
  while (in >> word && word != "keys") {
    if (word == "level") {
      in >> replay.level;
    } else if (word == "level-hash") {
      in >> replay.levelHash;
    } else if (word == "player-hash") {
      in >> replay.playerHash;
    } else if (word == "expect-score") {
      in >> replay.expectScore;
    } else if (word == "enemies" && in >> word && word == "absent") {
      replay.enemiesAbsent = true;
    } else {
      error = path + ": unknown field '" + word + "'";
      return false;
    }
  }
  if (word != "keys") {
    error = path + ": no key section";
    return false;
  }
  // One run a line, so a line cut short is refused rather than read as
  // the start of the next.
  std::string line;
  std::getline(in, line);  // the rest of the "keys" line
  while (std::getline(in, line)) {
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    std::istringstream fields(line);
    ReplayRun run;
    std::string extra;
    if (!(fields >> run.ticks >> run.keys) || fields >> extra) {
      error = path + ": unreadable key line";
      return false;
    }
    if (run.ticks <= 0) {
      error = path + ": a run of no ticks";
      return false;
    }
    replay.runs.push_back(run);
  }
  out = replay;
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
    error = "cannot open " + path;
    return false;
  }
  return readReplayFrom(file.stream(), path, out, error);
}

bool readReplayText(const std::string& text, const std::string& name, Replay& out,
                    std::string& error) {
  std::istringstream in(text);
  return readReplayFrom(in, name, out, error);
}

std::string replayText(const Replay& replay) {
  std::ostringstream out;
  out << "pwe-replay 1\n"
      << "level " << replay.level << "\n"
      << "level-hash " << replay.levelHash << "\n"
      << "player-hash " << replay.playerHash << "\n"
      << "expect-score " << replay.expectScore << "\n";
  // Written only when set, so recordings with enemies stay as they were.
  if (replay.enemiesAbsent) out << "enemies absent\n";
  out << "keys\n";
  for (const ReplayRun& run : replay.runs) out << run.ticks << " " << run.keys << "\n";
  return out.str();
}

void releaseAllKeys(Game& game) {
  game.inputFromDevices = false;
  game.input.releaseAll();
}

void applyKeys(Game& game, const std::string& keys) {
  releaseAllKeys(game);
  InputRecord& input = game.input;
  for (char c : keys) {
    switch (c) {
      case 'L': input.hold(game.keyLeft); break;
      case 'R': input.hold(game.keyRight); break;
      case 'U': input.hold(game.keyUp); break;
      case 'D': input.hold(game.keyDown); break;
      case 'J': input.hold(game.keyJump); break;
      default:
        if (c >= '1' && c <= '9') input.hold(digitCode(c));
        break;
    }
  }
}

std::string replayMismatch(const Replay& replay) {
  const bool known = std::find_if(std::begin(levelFiles), std::end(levelFiles), [&](const char* name) {
                       return replay.level == name;
                     }) != std::end(levelFiles);
  if (!known) {
    return "the recording's level '" + replay.level + "' is none of the levels " + levelFiles[0] +
           " to " + levelFiles[std::size(levelFiles) - 1];
  }
  const char* const changed = " changed since this recording was made";
  const std::string level = "media/" + replay.level;
  if (fileHash(level) != replay.levelHash) return level + changed;
  if (fileHash("media/player.inf") != replay.playerHash) return std::string("media/player.inf") + changed;
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
