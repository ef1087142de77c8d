#include "tools/check/ConfigChecks.h"

#include <allegro.h>

#include <climits>
#include <cstdlib>

#include "game/Game.h"
#include "player/KeyNames.h"
#include "shell/ConfigFields.h"
#include "shell/MediaPaths.h"
#include "shell/Startup.h"
#include "shell/UserConfig.h"
#include "shell/Utf8.h"
#include "tools/check/TokenReader.h"
#include "tools/check/TreeFacts.h"

namespace {

// The digit keys 1 to 9 choose teleporters on every level that has so many.
constexpr int lastDigitTeleporter = 9;

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

std::string nameOf(const ConfigField& field) {
  return std::string("[") + field.section + "] " + field.key;
}

// Allegro reads the value with strtol in base 0: "0x10" is 16, "010" is 8.
// Either way of writing that is not plain decimal is reported with what it
// reads as.
void checkSpelling(const ConfigField& field, const ConfigReading& reading,
                   const std::string& path, Position at, Diagnostics& out) {
  char* end = nullptr;
  const long decimal = std::strtol(reading.text.c_str(), &end, 10);
  if (*end == '\0' && decimal == reading.read) return;
  out.report(path, at,
             "'" + reading.text + "' for " + nameOf(field) + " reads as " +
                 std::to_string(reading.read) + " (a leading 0 means octal, 0x hexadecimal)");
}

// "is not a key scan code (0 to 126)", "is not 0 or 1 (0 keeps no backup...)".
std::string placeOutside(const ConfigField& field) {
  const std::string low = std::to_string(field.low);
  if (field.outside == ConfigOutside::isOn) {
    return "is not " + low + " or " + std::to_string(field.high) + " (" + field.what + ")";
  }
  const std::string range =
      field.high == INT_MAX ? low + " or more" : low + " to " + std::to_string(field.high);
  return std::string("is not ") + field.what + " (" + range + ")";
}

std::string consequence(const ConfigField& field, const ConfigUse& use) {
  if (use.stops) return "the engine stops with \"Couldn't set graphics mode!\"";
  const std::string reader =
      std::string(field.section) == "editor" ? "the editor" : "the engine";
  if (field.outside == ConfigOutside::isOn) {
    return reader + " takes it as " + std::to_string(use.used);
  }
  return reader + " uses " + std::to_string(use.used) + ", the default";
}

void checkNumber(const ConfigField& field, const TextFile& text, Diagnostics& out) {
  const ConfigReading reading = readConfigValue(field);
  if (reading.text.empty()) return;
  const Position at = locateConfigValue(text, field.section, field.key);
  const ConfigUse use = useConfigReading(field, reading);
  switch (reading.form) {
    case ConfigForm::keyName:
      return;
    case ConfigForm::unknownName: {
      std::string message = "'" + reading.text + "' for " + nameOf(field) +
                            " is not a key name: the engine uses " +
                            std::to_string(field.fallback) + ", the default";
      const std::string nearest = nearestKeyName(reading.text);
      if (!nearest.empty()) message += "; did you mean " + nearest + "?";
      out.report(text.path(), at, message);
      return;
    }
    case ConfigForm::wraps:
    case ConfigForm::notNumber:
      out.report(text.path(), at,
                 "'" + reading.text + "' for " + nameOf(field) + " " +
                     configFormFlaw(reading.form) + ": " +
                     (field.strict ? consequence(field, use)
                                   : "the engine reads " + std::to_string(reading.read)));
      if (field.strict) return;
      break;
    case ConfigForm::number:
      checkSpelling(field, reading, text.path(), at, out);
      break;
  }
  if (useConfigValue(field, reading.read).usable) return;
  out.report(text.path(), at,
             nameOf(field) + " " + std::to_string(reading.read) + " " + placeOutside(field) +
                 ": " + consequence(field, use));
}

// A control on a key the game keeps for itself is a control that never
// acts alone: Escape ends the game, a digit teleports, and code 0 is no key.
void checkControlKey(const ConfigField& field, const TextFile& text, Diagnostics& out,
                     TreeFacts& facts) {
  const int code = useConfigReading(field, readConfigValue(field)).used;
  for (auto& control : facts.controls) {
    if (control.first == nameOf(field)) control.second = code;
  }
  std::string clash;
  if (code == 0) {
    clash = "is code 0, which no key has: the control cannot be used";
  } else if (code == KEY_ESC) {
    clash = "is Escape, which ends the game";
  } else if (code > Game::firstDigitCode && code <= Game::firstDigitCode + lastDigitTeleporter) {
    clash = "is the digit " + std::to_string(code - Game::firstDigitCode) +
            ", which also sends the player to that teleporter";
  }
  if (clash.empty()) return;
  out.warn(text.path(), locateConfigValue(text, field.section, field.key),
           "the key for " + nameOf(field) + " " + clash);
}

void checkWord(const ConfigText& field, const TextFile& text, Diagnostics& out) {
  const char* value = get_config_string(field.section, field.key, nullptr);
  if (value == nullptr) return;
  const std::string word = value;
  if (word == field.chosen || word == field.otherWord) return;
  out.warn(text.path(), locateConfigValue(text, field.section, field.key),
           "'" + word + "' for [" + field.section + "] " + field.key + " is neither " +
               field.chosen + " nor " + field.otherWord + ": " + field.otherwise);
}

// Sides within their range may still make a screen too large to size; the
// desktop it must fit is the player's, unknown here.
void checkScreen(const TextFile& text, Diagnostics& out, TreeFacts& facts) {
  const StartupSettings screen = readStartupSettings();
  const bool sidesUsable = useConfigValue(config::width, screen.width).usable &&
                           useConfigValue(config::height, screen.height).usable;
  if (sidesUsable) {
    const std::string problem = planScreen(screen, 0, 0).problem;
    if (!problem.empty()) {
      out.report(text.path(), locateConfigValue(text, "display", "width"),
                 problem + ": the engine stops with \"Couldn't set graphics mode!\"");
    }
  }
  facts.screenWidth = screen.width > 0 ? screen.width : config::width.fallback;
  facts.screenHeight = screen.height > 0 ? screen.height : config::height.fallback;
}

// How the engine takes a settings file: its settings, none (every key
// then as before it), or it stops.
enum class SettingsRead { used, none, stops };

// laid: the file is a set's, laid key by key over the tree's, which the
// engine skips when it cannot use it instead of stopping.
SettingsRead readSettings(const std::string& path, bool laid, TextFile& text, Diagnostics& out) {
  // No configuration file is no problem: every key has its default. One
  // that is not read is never handed to Allegro, which would block on a
  // FIFO.
  if (!text.read(path)) {
    if (!text.missing()) out.report(path, text.problem());
    return SettingsRead::none;
  }
  // Allegro would never finish reading such a file; the engine refuses it.
  const long unreadable = firstUnmeasurableCharacter(text.text());
  if (unreadable >= 0) {
    out.report(path, text.positionOf(static_cast<size_t>(unreadable)),
               "byte " + std::to_string(unreadable) + " starts a character that cannot be read: " +
                   (laid ? "the engine uses none of its settings" : "the engine stops"));
    return laid ? SettingsRead::none : SettingsRead::stops;
  }
  // Past the bound the engine takes no setting from the file.
  if (static_cast<long long>(text.text().size()) > maxConfigBytes) {
    out.report(path, "is longer than " + std::to_string(maxConfigBytes) + " bytes: " +
                         (laid ? "the engine uses none of its settings"
                               : "the engine takes every setting's default"));
    return SettingsRead::none;
  }
  return SettingsRead::used;
}

// Whether the settings text gives section's key, as Allegro reads it.
bool gives(const TextFile& text, const char* section, const char* key) {
  push_config_state();
  set_config_data(text.text().data(), static_cast<int>(text.text().size()));
  const bool given = get_config_string(section, key, nullptr) != nullptr;
  pop_config_state();
  return given;
}

}  // namespace

void checkConfiguration(const std::string& path, Diagnostics& out, TreeFacts& facts,
                        const std::string& setPath) {
  // A file not read leaves every control on its default key.
  facts.controls.clear();
  for (const ConfigField* field : config::numbers) {
    if (field->keyName) facts.controls.emplace_back(nameOf(*field), field->fallback);
  }
  TextFile text;
  const SettingsRead tree = readSettings(path, false, text, out);
  if (tree == SettingsRead::stops || (tree == SettingsRead::none && setPath.empty())) return;
  // The text already read, not the path again: a file swapped for a FIFO
  // meanwhile would hold the check for ever.
  const std::string used = tree == SettingsRead::used ? text.text() : std::string();
  set_config_data(used.data(), static_cast<int>(used.size()));
  override_config_file(nullptr);
  TextFile own;
  const bool laid = !setPath.empty() && readSettings(setPath, true, own, out) == SettingsRead::used;
  // Each key is judged in the file the engine takes it from.
  const auto layerOf = [&](const char* section, const char* key) -> const TextFile& {
    return laid && gives(own, section, key) ? own : text;
  };
  const bool screenOwn = laid && (gives(own, "display", "width") ||
                                  gives(own, "display", "height") || gives(own, "display", "scale"));
  if (laid) laySetConfiguration(std::string(mediaDir) + "pwe.cfg");
  for (const ConfigField* field : config::numbers) {
    const TextFile& layer = layerOf(field->section, field->key);
    checkNumber(*field, layer, out);
    if (std::string(field->section) == "keyboard") checkControlKey(*field, layer, out, facts);
  }
  checkScreen(screenOwn ? own : text, out, facts);
  checkWord(config::idle, layerOf(config::idle.section, config::idle.key), out);
}
