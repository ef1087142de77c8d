// A level set laid over the tree: every file read where the engine reads
// it (the set's own when the set has one at that place) and reported at
// that path as the user named it; the levels are the set's.
#include <cctype>
#include <string>
#include <vector>

#include "shell/LevelSet.h"
#include "shell/MediaOverlay.h"
#include "shell/MediaPaths.h"
#include "shell/MediaTreeEntry.h"
#include "tools/check/MediaChecker.h"

namespace {

// "12: why" as its line and the words after it; line 0 when it names none.
int lineOf(std::string& rest) {
  size_t digits = 0;
  while (digits < rest.size() && std::isdigit(static_cast<unsigned char>(rest[digits]))) ++digits;
  if (digits == 0 || digits > 9 || rest.compare(digits, 2, ": ") != 0) return 0;
  const int line = std::stoi(rest.substr(0, digits));
  rest.erase(0, digits + 2);
  return line;
}

}  // namespace

void MediaChecker::laySet(const std::string& shown, const std::string& absolute,
                          const std::vector<std::string>& levels) {
  std::string folder = shown;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  setShown_ = folder.empty() ? "" : folder == "/" ? folder : folder + "/";
  setAbsolute_ = absolute;
  levelNames_ = levels;
}

std::string MediaChecker::pathOf(const std::string& relative) const {
  if (!setAbsolute_.empty() && setHolds(mediaDir + relative)) return setShown_ + relative;
  return root_ + "/" + relative;
}

std::string MediaChecker::placeShown() const {
  if (setAbsolute_.empty()) return root_;
  if (setShown_.empty()) return ".";
  return setShown_.size() > 1 ? setShown_.substr(0, setShown_.size() - 1) : setShown_;
}

void MediaChecker::readSetLevels() {
  // The levels a list names may be the tree's: they are looked for through
  // the set laid over the tree, from within it.
  if (!enterMediaTree(root_)) {
    out_.report(placeShown(), "the set's levels are not read: cannot enter the tree " + root_);
    return;
  }
  LevelSet set;
  std::string why = readLevelSet(setAbsolute_, set);
  leaveMediaTree();
  if (why.empty()) {
    levelNames_ = set.levels;
    return;
  }
  // The words name the set's folder by its absolute path: named here as the
  // user named it, a fault of set.cfg at its line.
  if (why.compare(0, setAbsolute_.size(), setAbsolute_) == 0) why.erase(0, setAbsolute_.size());
  const std::string list = std::string("/") + setListName;
  if (why.compare(0, list.size(), list) != 0) {
    out_.report(placeShown(), why.compare(0, 2, ": ") == 0 ? why.substr(2) : why);
    return;
  }
  why.erase(0, list.size());
  if (!why.empty() && why[0] == ':') why.erase(0, 1);
  const int line = lineOf(why);
  if (line == 0 && !why.empty() && why[0] == ' ') why.erase(0, 1);
  out_.report(setShown_ + setListName, Position{line, line > 0 ? 1 : 0}, why);
}
