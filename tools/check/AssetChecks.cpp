// The parts of a media tree that the Game loads while it is built: settings,
// image directories, HUD pictures, fonts, sounds, enemy kinds, animations
// and player.inf.
#include <allegro.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

#include "graphics/Animation.h"
#include "graphics/FileSearch.h"
#include "graphics/Resources.h"
#include "player/Player.h"
#include "player/PlayerFields.h"
#include "shell/Fatal.h"
#include "shell/LevelSequence.h"
#include "shell/SoundFile.h"
#include "shell/Utf8.h"
#include "tools/check/ConfigChecks.h"
#include "tools/check/MediaChecker.h"
#include "tools/check/TokenReader.h"

namespace fs = std::filesystem;

bool fileExists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

MediaChecker::MediaChecker(const std::string& root, Diagnostics& out) : root_(root), out_(out) {
  while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
}

void MediaChecker::run() {
  checkConfig();
  checkImageSet("floor tiles/normal/", ImageUse::Masked, facts_.floorTiles);
  checkImageSet("floor tiles/clear/", ImageUse::Masked, facts_.clearedTiles);
  checkEnemyKinds();
  checkImageSet("items/", ImageUse::Alpha, facts_.items);
  checkImageSet("transportation/teleporters/normal/", ImageUse::Alpha, facts_.teleporters);
  checkImageSet("transportation/teleporters/cooldown/", ImageUse::Alpha,
                facts_.teleporterCooldowns);
  checkHud();
  checkFonts();
  checkSounds();
  checkImageSet("chutes/", ImageUse::Masked, facts_.chutes);
  checkImageSet("ladders/", ImageUse::Masked, facts_.ladders);
  checkPlayer();
  // The layout rules play each level in the engine, so they need a tree
  // whose other files it reads as they are written.
  const bool othersClean = out_.errorCount() == 0;
  for (const char* level : levelFiles) checkLevel(level);
  if (othersClean) checkLayouts();
  checkReachability(othersClean);
}

void MediaChecker::checkConfig() { checkConfiguration(pathOf("pwe.cfg"), out_, facts_); }

void MediaChecker::checkSounds() {
  for (const char* name : {"walk.wav", "jump.wav", "player_death_fall.wav",
                           "player_death_enemy.wav", "item.wav", "enemy_death.wav"}) {
    const std::string file = pathOf(std::string("audio/") + name);
    if (!fileExists(file)) {
      out_.report(file, "missing sound");
      continue;
    }
    const std::string refused = plainFileProblem(file);
    if (!refused.empty()) {
      out_.report(file, refused);
      continue;
    }
    std::error_code error;
    const auto bytes = static_cast<long long>(fs::file_size(file, error));
    if (!error && bytes > maxSoundBytes) {
      out_.report(file, oversizeProblem(bytes, maxSoundBytes, "a sound"));
      continue;
    }
    const SoundFile header = SoundFile::inspect(file);
    if (!header.loadable()) {
      out_.report(file, header.problem);
      continue;
    }
    SamplePtr sample(loadSoundFile(file));
    if (!sample) out_.report(file, "cannot be loaded as a WAV sound");
  }
}

void MediaChecker::checkEnemyKinds() {
  const std::string dir = pathOf("gfx/anim/enemy/");
  std::vector<std::string> files = findFiles(dir + "*.nme");
  if (files.empty()) {
    out_.report(dir.substr(0, dir.size() - 1),
                "no .nme enemy definitions: the engine needs at least one");
    return;
  }
  const char* const roles[4] = {
      "the animation of state 0 walking left", "the animation of state 0 walking right",
      "the animation of state 1 walking left", "the animation of state 1 walking right"};
  for (const std::string& fileName : files) {
    facts_.enemyKinds.push_back(fileName.size() >= 4 ? fileName.substr(0, fileName.size() - 4)
                                                     : "");
    TextFile text;
    if (!text.read(dir + fileName)) {
      out_.report(dir + fileName, text.problem());
      continue;
    }
    TokenReader reader(text, out_, NumberRule::WholeToken);
    reader.setEndNote(" (an enemy definition names four animations)");
    std::string names[4];
    Position at[4];
    bool complete = true;
    for (int i = 0; i < 4; ++i) {
      complete = reader.readWord(names[i], roles[i]) && complete;
      at[i] = reader.lastPosition();
    }
    // The engine refuses a short definition before it loads any animation.
    if (!complete) continue;
    for (int i = 0; i < 4; ++i) checkAnimation(dir, names[i], text.path(), at[i]);
  }
}

bool MediaChecker::checkAnimation(const std::string& baseDirectory, const std::string& name,
                                  const std::string& namedIn, Position namedAt) {
  const std::string file = baseDirectory + name + ".anm";
  auto known = animations_.find(file);
  if (known != animations_.end()) return known->second;
  TextFile text;
  if (!text.read(file)) {
    // A missing description is the naming file's mistake, reported where it
    // is named; one that cannot be read is the file's own.
    if (text.missing()) {
      out_.report(namedIn, namedAt, "no animation '" + name + "': " + file + " is missing");
    } else {
      out_.report(file, text.problem());
      animations_[file] = false;
    }
    return false;
  }

  TokenReader reader(text, out_, NumberRule::WholeToken);
  std::string frameDirectory;
  int count = 0;
  bool ok = reader.readWord(frameDirectory, "the frame directory");
  Position directoryAt = reader.lastPosition();
  ok = ok && reader.readInt(count, "the frame count");
  Position countAt = reader.lastPosition();
  if (ok && (count < 1 || count > Animation::maxFrameCount)) {
    out_.report(file, countAt,
                "frame count " + std::to_string(count) + " is not between 1 and " +
                    std::to_string(Animation::maxFrameCount));
    ok = false;
  }
  if (ok && !wellFormedUtf8(frameDirectory)) {
    out_.report(file, directoryAt, "the frame directory is not UTF-8 text: the engine stops");
    ok = false;
  }
  if (!ok) {
    animations_[file] = false;
    return false;
  }

  // Missing frames are reported in runs, so a count that is far too high
  // gives one line rather than hundreds.
  int missingFrom = -1;
  auto endMissingRun = [&](int next) {
    if (missingFrom < 0) return;
    auto framePath = [&](int i) {
      return baseDirectory + frameDirectory + "/" + std::to_string(i) + ".png";
    };
    if (missingFrom == next - 1) {
      out_.report(file, directoryAt,
                  "frame " + std::to_string(missingFrom) +
                      " is missing: " + framePath(missingFrom));
    } else {
      out_.report(file, directoryAt,
                  "frames " + std::to_string(missingFrom) + " to " + std::to_string(next - 1) +
                      " are missing: " + framePath(missingFrom) + " to " + framePath(next - 1));
    }
    missingFrom = -1;
  };
  for (int i = 0; i < count; ++i) {
    const std::string frame = baseDirectory + frameDirectory + "/" + std::to_string(i) + ".png";
    if (!fileExists(frame)) {
      if (missingFrom < 0) missingFrom = i;
      ok = false;
      continue;
    }
    endMissingRun(i);
    int width = 0;
    int height = 0;
    if (!checkImage(frame, ImageUse::Alpha, width, height)) ok = false;
  }
  endMissingRun(count);

  reader.setEndNote(" (the frame count at " + std::to_string(countAt.line) + ":" +
                    std::to_string(countAt.column) + " is " + std::to_string(count) + ")");
  for (int i = 0; i < count; ++i) {
    int duration = 0;
    if (!reader.readInt(duration, "the duration of frame " + std::to_string(i))) ok = false;
    if (reader.ended()) break;
  }
  reader.reportTrailing("the last duration");
  animations_[file] = ok;
  return ok;
}

void MediaChecker::checkPlayer() {
  const std::string file = pathOf("player.inf");
  TextFile text;
  if (!text.read(file)) {
    out_.report(file, text.missing() ? "missing: the engine stops with \"Error loading player.inf\""
                                     : text.problem());
    return;
  }
  TokenReader reader(text, out_, NumberRule::WholeToken);
  reader.setEndNote(" (player.inf holds " + std::to_string(playerFieldCount) + " values)");
  reader.setIntLimit(Player::maxFigureSize, "the engine stops with \"Error loading player.inf\"");
  std::string names[Player::animationCount];
  Position at[Player::animationCount];
  bool named[Player::animationCount] = {};
  Player values;
  for (const PlayerField& field : playerFields) {
    if (field.animation >= 0) {
      named[field.animation] = reader.readWord(names[field.animation], field.what);
      at[field.animation] = reader.lastPosition();
    } else if (field.whole != nullptr) {
      reader.readInt(values.*field.whole, field.what);
    } else {
      reader.readFloat(values.*field.real, field.what);
    }
  }
  reader.reportTrailing("the " + std::to_string(playerFieldCount) + " values");

  // In file order, as the engine loads them.
  const std::string base = pathOf("gfx/anim/player/");
  for (const PlayerField& field : playerFields) {
    const int i = field.animation;
    if (i >= 0 && named[i]) checkAnimation(base, names[i], file, at[i]);
  }
}
