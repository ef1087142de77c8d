#include "tools/check/ConfigChecks.h"

#include <allegro.h>

#include <climits>
#include <cstdlib>

#include "player/KeyNames.h"
#include "shell/ConfigFields.h"
#include "shell/Startup.h"
#include "shell/Utf8.h"
#include "tools/check/TokenReader.h"
#include "tools/check/TreeFacts.h"

namespace {

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

// Allegro reads the value with strtol in base 0: "0x10" is 16, "010" is 8
// and "64O" is 64. Either way of writing that is not plain decimal is
// reported with what it reads as.
void checkSpelling(const ConfigField& field, const std::string& value, int read,
                   const std::string& path, Position at, Diagnostics& out) {
  std::string text = value;
  text.erase(text.find_last_not_of(" \t\r") + 1);
  char* end = nullptr;
  std::strtol(text.c_str(), &end, 0);
  const bool whole = !text.empty() && *end == '\0';
  const long decimal = std::strtol(text.c_str(), &end, 10);
  const bool plainDecimal = whole && *end == '\0' && decimal == read;
  if (!whole) {
    out.report(path, at,
               "'" + text + "' for " + nameOf(field) +
                   " is not a whole number: the engine reads " + std::to_string(read));
  } else if (!plainDecimal) {
    out.report(path, at,
               "'" + text + "' for " + nameOf(field) + " reads as " + std::to_string(read) +
                   " (a leading 0 means octal, 0x hexadecimal)");
  }
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
  const char* value = get_config_string(field.section, field.key, nullptr);
  if (value == nullptr) return;
  const Position at = locateConfigValue(text, field.section, field.key);
  const ConfigReading reading = readConfigValue(field);
  if (!reading.text.empty()) {
    if (!reading.unknownName) return;
    std::string message = "'" + reading.text + "' for " + nameOf(field) +
                          " is not a key name: the engine uses " +
                          std::to_string(field.fallback) + ", the default";
    const std::string nearest = nearestKeyName(reading.text);
    if (!nearest.empty()) message += "; did you mean " + nearest + "?";
    out.report(text.path(), at, message);
    return;
  }
  const int read = reading.read;
  checkSpelling(field, value, read, text.path(), at, out);
  const ConfigUse use = useConfigValue(field, read);
  if (use.usable) return;
  out.report(text.path(), at,
             nameOf(field) + " " + std::to_string(read) + " " + placeOutside(field) + ": " +
                 consequence(field, use));
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

}  // namespace

void checkConfiguration(const std::string& path, Diagnostics& out, TreeFacts& facts) {
  TextFile text;
  // No configuration file is no problem: every key has its default. One
  // that is not read is never handed to Allegro, which would block on a
  // FIFO.
  if (!text.read(path)) {
    if (!text.missing()) out.report(path, text.problem());
    return;
  }
  // Allegro would never finish reading such a file; the engine refuses it.
  const long unreadable = firstUnmeasurableCharacter(text.text());
  if (unreadable >= 0) {
    out.report(path, text.positionOf(static_cast<size_t>(unreadable)),
               "byte " + std::to_string(unreadable) +
                   " starts a character that cannot be read: the engine stops");
    return;
  }
  set_config_file(path.c_str());
  for (const ConfigField* field : config::numbers) checkNumber(*field, text, out);
  checkScreen(text, out, facts);
  checkWord(config::idle, text, out);
}
