// The parts of a media tree that the Game loads while it is built: settings,
// image directories, HUD pictures, fonts, sounds, enemy kinds, animations
// and player.inf.
#include <allegro.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

#include "graphics/FileSearch.h"
#include "graphics/Resources.h"
#include "player/Gamepad.h"
#include "player/Player.h"
#include "shell/Fatal.h"
#include "shell/FocusLoss.h"
#include "shell/SoundFile.h"
#include "shell/Startup.h"
#include "shell/Utf8.h"
#include "tools/check/MediaChecker.h"
#include "tools/check/TokenReader.h"

namespace fs = std::filesystem;

namespace {

// Counts above this are refused by the animation loader.
const int maxFrameCount = 10000;
// The tick timer's clock: a higher rate gives a timer period of 0.
const int maxUpdatesPerSecond = 1193181;

// Where a configuration value stands in pwe.cfg: the line of the key in its
// section, at the value's first character. Allegro compares names without
// regard to letter case.
Position locateConfigValue(const TextFile& file, const std::string& section,
                           const std::string& key) {
  const std::string& text = file.text();
  std::string current;
  size_t lineStart = 0;
  while (lineStart <= text.size()) {
    size_t lineEnd = text.find('\n', lineStart);
    if (lineEnd == std::string::npos) lineEnd = text.size();
    std::string line = text.substr(lineStart, lineEnd - lineStart);
    size_t first = line.find_first_not_of(" \t\r");
    if (first != std::string::npos && line[first] == '[') {
      size_t close = line.find(']', first);
      current = line.substr(first + 1, close == std::string::npos ? std::string::npos
                                                                  : close - first - 1);
    } else if (first != std::string::npos && line[first] != '#') {
      size_t equals = line.find('=', first);
      if (equals != std::string::npos && strcasecmp(current.c_str(), section.c_str()) == 0) {
        std::string name = line.substr(first, equals - first);
        name.erase(name.find_last_not_of(" \t") + 1);
        if (strcasecmp(name.c_str(), key.c_str()) == 0) {
          size_t value = line.find_first_not_of(" \t", equals + 1);
          if (value == std::string::npos) value = equals + 1;
          return file.positionOf(lineStart + value);
        }
      }
    }
    lineStart = lineEnd + 1;
  }
  return Position{};
}

}  // namespace

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
  for (const char* level : {"level1.inf", "level2.inf", "level3.inf", "level4.inf"}) {
    checkLevel(level);
  }
  if (othersClean) checkLayouts();
  checkReachability(othersClean);
}

void MediaChecker::checkConfig() {
  const std::string file = pathOf("pwe.cfg");
  TextFile text;
  // No configuration file is no problem: every key has its default. One
  // that is not read is never handed to Allegro, which would block on a
  // FIFO.
  if (!text.read(file)) {
    if (!text.missing()) out_.report(file, text.problem());
    return;
  }
  // Allegro would never finish reading such a file; the engine refuses it.
  const long unreadable = firstUnmeasurableCharacter(text.text());
  if (unreadable >= 0) {
    out_.report(file, text.positionOf(static_cast<size_t>(unreadable)),
                "byte " + std::to_string(unreadable) +
                    " starts a character that cannot be read: the engine stops");
    return;
  }
  set_config_file(file.c_str());

  struct Setting {
    const char* section;
    const char* key;
    int low;    // usable range, inclusive
    int high;
    const char* meaning;  // why the range
  };
  const Setting settings[] = {
      {"display", "width", 1, maxScreenSide, "a screen side must be 1 to 32767 pixels"},
      {"display", "height", 1, maxScreenSide, "a screen side must be 1 to 32767 pixels"},
      {"display", "scale", 0, maxScreenSide,
       "a scale must be 0 (the largest that fits) to 32767"},
      {"mechanics", "updates_per_second", 1, maxUpdatesPerSecond,
       "the tick rate must be 1 to 1193181"},
      {"mechanics", "teleport_cooldown", INT_MIN, INT_MAX, ""},
      {"mechanics", "chute_horiz_tol", INT_MIN, INT_MAX, ""},
      {"mechanics", "ladder_horiz_tol", INT_MIN, INT_MAX, ""},
      {"mechanics", "ladder_vert_tol", INT_MIN, INT_MAX, ""},
      {"keyboard", "left", 0, KEY_MAX - 1, "a key scan code must be 0 to 126"},
      {"keyboard", "right", 0, KEY_MAX - 1, "a key scan code must be 0 to 126"},
      {"keyboard", "up", 0, KEY_MAX - 1, "a key scan code must be 0 to 126"},
      {"keyboard", "down", 0, KEY_MAX - 1, "a key scan code must be 0 to 126"},
      {"keyboard", "jump", 0, KEY_MAX - 1, "a key scan code must be 0 to 126"},
      {"keyboard", "pause", 0, KEY_MAX - 1, "a key scan code must be 0 to 126"},
      {"joystick", "jump", 0, Gamepad::buttonCount - 1, "a joystick button must be 0 to 31"},
      {"joystick", "dead_zone", 0, Gamepad::fullTravel, "the dead zone must be 0 to 128"},
      {"sound", "volume", 0, 255, "the volume must be 0 to 255"},
      {"editor", "backups", 0, 1, "backups must be 0 (none) or 1 (the first save keeps FILE~)"},
      {"game", "pause_on_focus_loss", focusLossIgnored, focusLossPausesUntilBack,
       "0 never pauses, 1 pauses until the pause key, 2 until the focus is back"},
  };
  for (const Setting& setting : settings) {
    const char* value = get_config_string(setting.section, setting.key, nullptr);
    if (value == nullptr) continue;
    Position at = locateConfigValue(text, setting.section, setting.key);
    // Allegro reads the value with strtol in base 0: "0x10" is 16, "010" is 8
    // and "64O" is 64.
    int read = get_config_int(setting.section, setting.key, 0);
    std::string text = value;
    text.erase(text.find_last_not_of(" \t\r") + 1);
    char* end = nullptr;
    std::strtol(text.c_str(), &end, 0);
    const bool whole = !text.empty() && *end == '\0';
    long decimal = std::strtol(text.c_str(), &end, 10);
    const bool plainDecimal = whole && *end == '\0' && decimal == read;
    std::string name = std::string("[") + setting.section + "] " + setting.key;
    if (!whole) {
      out_.report(file, at,
                  "'" + text + "' for " + name + " is not a whole number: the engine reads " +
                      std::to_string(read));
    } else if (!plainDecimal) {
      out_.report(file, at,
                  "'" + text + "' for " + name + " reads as " + std::to_string(read) +
                      " (a leading 0 means octal, 0x hexadecimal)");
    }
    if (read < setting.low || read > setting.high) {
      out_.report(file, at,
                  name + " " + std::to_string(read) + " is not usable: " + setting.meaning);
    }
  }

  // Sides within their range may still make a screen too large to size;
  // the desktop it must fit is the player's, unknown here.
  const StartupSettings screen = readStartupSettings();
  if (screen.width > 0 && screen.width <= maxScreenSide && screen.height > 0 &&
      screen.height <= maxScreenSide) {
    const std::string problem = planScreen(screen, 0, 0).problem;
    if (!problem.empty()) {
      out_.report(file, locateConfigValue(text, "display", "width"),
                  problem + ": the engine stops with \"Couldn't set graphics mode!\"");
    }
  }
  const char* idle = get_config_string("display", "idle", nullptr);
  if (idle != nullptr && std::string(idle) != "poll" && std::string(idle) != "wait") {
    out_.warn(file, locateConfigValue(text, "display", "idle"),
              std::string("'") + idle + "' for [display] idle is neither poll nor wait: the "
              "engine polls");
  }
  int width = get_config_int("display", "width", 640);
  int height = get_config_int("display", "height", 480);
  facts_.screenWidth = width > 0 ? width : 640;
  facts_.screenHeight = height > 0 ? height : 480;
}

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
  if (ok && (count < 1 || count > maxFrameCount)) {
    out_.report(file, countAt,
                "frame count " + std::to_string(count) + " is not between 1 and 10000");
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
  reader.setEndNote(" (player.inf holds 15 values)");
  const char* const nameRoles[5] = {
      "the walk-left animation", "the walk-right animation", "the climb animation",
      "the airborne-left animation", "the airborne-right animation"};
  std::string names[5];
  Position at[5];
  bool named[5];
  for (int i = 0; i < 5; ++i) {
    named[i] = reader.readWord(names[i], nameRoles[i]);
    at[i] = reader.lastPosition();
  }
  int size = 0;
  reader.setIntLimit(Player::maxFigureSize, "the engine stops with \"Error loading player.inf\"");
  reader.readInt(size, "the width");
  reader.readInt(size, "the height");
  reader.setIntLimit(0, "");
  const char* const speeds[8] = {"the walk speed", "the fall speed",  "the climb speed",
                                 "the jump speed", "the jump stride", "the slide factor",
                                 "the jump height", "the greatest survivable drop"};
  for (const char* speed : speeds) {
    float value = 0.0f;
    reader.readFloat(value, speed);
  }
  reader.reportTrailing("the 15 values");

  const std::string base = pathOf("gfx/anim/player/");
  for (int i = 0; i < 5; ++i) {
    if (named[i]) checkAnimation(base, names[i], file, at[i]);
  }
}
