#include "shell/LevelSet.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>

#include "shell/LevelSequence.h"
#include "shell/MediaFile.h"
#include "shell/MediaOverlay.h"
#include "shell/MediaPaths.h"
#include "shell/Utf8.h"

namespace fs = std::filesystem;

namespace {

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string at(const std::string& name, int line, const std::string& why) {
  return name + ":" + std::to_string(line) + ": " + why;
}

// One "key = value" line of the list into out; empty, or why not.
std::string readListLine(const std::string& line, const std::function<bool(const std::string&)>& exists,
                         LevelSet& out) {
  const auto equals = line.find('=');
  if (equals == std::string::npos) return "'" + line + "' is no 'key = value' line";
  const std::string key = trimmed(line.substr(0, equals));
  const std::string value = trimmed(line.substr(equals + 1));
  if (key == "title") {
    out.title = value;
    return "";
  }
  if (key != "level") return "unknown key '" + key + "': a list knows title and level";
  if (!plainLevelName(value)) return "'" + value + "' is no level file name: give the bare name of a file beside set.cfg";
  if (!isLevelFileName(value)) {
    return "'" + value + "' is no level file: a level's name ends in .inf, "
           "and player.inf is the player's";
  }
  if (!exists(value)) return "no level file " + value + " in the set or its base";
  if (out.levels.size() == maxSetLevels) return "more than " + std::to_string(maxSetLevels) + " levels";
  out.levels.push_back(value);
  return "";
}

// Every level file of the folder, by name.
std::string listFolder(const std::string& directory, LevelSet& out) {
  std::error_code error;
  for (fs::directory_iterator entry(directory, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    if (!isLevelFileName(name)) continue;
    if (out.levels.size() == maxSetLevels) {
      return directory + ": more than " + std::to_string(maxSetLevels) + " level files: no set";
    }
    out.levels.push_back(name);
  }
  if (error) return directory + ": " + error.message();
  std::sort(out.levels.begin(), out.levels.end(), namedBefore);
  if (out.levels.empty()) {
    return directory + ": no level files (*.inf) and no " + setListName + " to list them";
  }
  return "";
}

}  // namespace

// A level file by its name, in a list as in a folder: NAME.inf, but not
// the player's file.
bool isLevelFileName(const std::string& name) {
  return name.size() > 4 && name.compare(name.size() - 4, 4, ".inf") == 0 && name != "player.inf";
}

LevelSet treeLevels() {
  LevelSet set;
  set.levels.assign(std::begin(levelFiles), std::end(levelFiles));
  return set;
}

bool plainLevelName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         wellFormedUtf8(name);
}

bool namedBefore(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const bool digitA = std::isdigit(static_cast<unsigned char>(a[i])) != 0;
    const bool digitB = std::isdigit(static_cast<unsigned char>(b[j])) != 0;
    if (!digitA || !digitB) {
      if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
      ++i;
      ++j;
      continue;
    }
    // Whole numbers: the shorter run without its leading zeros is smaller.
    const std::size_t endA = a.find_first_not_of("0123456789", i);
    const std::size_t endB = b.find_first_not_of("0123456789", j);
    std::string numberA = a.substr(i, endA == std::string::npos ? std::string::npos : endA - i);
    std::string numberB = b.substr(j, endB == std::string::npos ? std::string::npos : endB - j);
    i += numberA.size();
    j += numberB.size();
    numberA.erase(0, std::min(numberA.find_first_not_of('0'), numberA.size()));
    numberB.erase(0, std::min(numberB.find_first_not_of('0'), numberB.size()));
    if (numberA.size() != numberB.size()) return numberA.size() < numberB.size();
    if (numberA != numberB) return numberA < numberB;
  }
  return a.size() - i < b.size() - j || (a.size() - i == b.size() - j && a < b);
}

std::string readSetList(const std::string& text, const std::string& name,
                        const std::function<bool(const std::string&)>& exists, LevelSet& out) {
  if (!wellFormedUtf8(text)) return name + ": not UTF-8 text";
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    line = trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    const std::string why = readListLine(line, exists, out);
    if (!why.empty()) return at(name, number, why);
  }
  if (out.levels.empty()) return at(name, std::max(number, 1), "the list names no level: add a 'level = FILE' line");
  return "";
}

std::string readLevelSet(const std::string& directory, LevelSet& out) {
  LevelSet set;
  set.directory = directory;
  const std::string listPath = directory + "/" + setListName;
  std::error_code error;
  if (!fs::exists(fs::symlink_status(listPath, error))) {
    set.title = fs::path(directory).lexically_normal().filename().string();
    if (set.title.empty()) set.title = fs::path(directory).lexically_normal().parent_path().filename().string();
    const std::string why = listFolder(directory, set);
    if (why.empty()) out = std::move(set);
    return why;
  }
  MediaFile file(listPath);
  if (!file.isOpen()) return listPath + " " + file.problem();
  std::string text;
  if (!file.readWhole(text, maxSetListBytes)) {
    return listPath + ": longer than " + std::to_string(maxSetListBytes) + " bytes: no list of levels";
  }
  const auto exists = [](const std::string& level) {
    std::error_code missing;
    return fs::exists(fs::symlink_status(mediaPath(mediaDir + level), missing));
  };
  const std::string why = readSetList(text, listPath, exists, set);
  if (why.empty()) out = std::move(set);
  return why;
}

std::string setListText(const LevelSet& set) {
  std::string text = "# The levels of this set, played in this order.\n";
  if (!set.title.empty()) text += "title = " + set.title + "\n";
  for (const std::string& level : set.levels) text += setListLine(level);
  return text;
}

std::string setListLine(const std::string& level) { return "level = " + level + "\n"; }
