#include "tools/check/CheckPlaces.h"

#include <algorithm>
#include <filesystem>

#include "shell/LevelSet.h"

namespace fs = std::filesystem;

namespace {

bool isDirectory(const std::string& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

bool standsThere(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

bool sameFolder(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::equivalent(a.empty() ? "." : a, b.empty() ? "." : b, error);
}

bool holds(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// The words after the name they begin with: "is no set, tree or level file".
void reportPlace(const std::string& named, const std::string& problem, Diagnostics& out) {
  const std::string prefix = named + " ";
  out.report(named, problem.compare(0, prefix.size(), prefix) == 0 ? problem.substr(prefix.size())
                                                                    : problem);
}

// The engine reads its tree as a folder; anything else is named at once.
bool addCheck(PlaceCheck check, std::vector<PlaceCheck>& checks, Diagnostics& out) {
  if (!isDirectory(check.place.tree)) {
    out.report(check.place.tree,
               "not a directory: give the directory that holds pwe.cfg and the level files");
    return false;
  }
  checks.push_back(std::move(check));
  return true;
}

// --route names a level file by its path: a path with a folder in it, or,
// when nothing else is named, a file standing there that is none of the
// tree's levels.
bool routeNamesFile(const CheckRequest& request) {
  const std::string& level = request.routeLevel;
  if (level.empty()) return false;
  if (level.find('/') != std::string::npos) return true;
  if (!request.named.empty() || !standsThere(level) || isDirectory(level)) return false;
  return !holds(treeLevels().levels, level);
}

// A folder laid as a set over itself, or over no tree at all while no
// set.cfg marks it a set, is a tree, checked as one (its pwe.cfg may be
// missing: every setting then has its default).
bool namesTreeAlone(const MediaPlace& place, const std::string& named) {
  if (place.setPath.empty() || place.set != named) return false;
  if (sameFolder(place.setPath, place.tree)) return true;
  return !isDirectory(place.tree) && !standsThere((fs::path(named) / setListName).string());
}

// Level files, each folder of them a set of its own over the tree; a file
// in the tree itself is a level of the tree. False for a folder among them.
bool planFiles(const std::vector<std::string>& named, const std::string& base,
               std::vector<PlaceCheck>& checks, Diagnostics& out) {
  std::vector<std::string> folders;  // of the checks, as named
  for (const std::string& file : named) {
    if (isDirectory(file)) return false;
    MediaPlace place = findMediaPlace(file, base);
    if (place.problem.empty() && place.level.empty()) return false;  // a set by its name
    if (!place.problem.empty()) {
      reportPlace(file, place.problem, out);
      continue;
    }
    const std::string folder = fs::path(file).parent_path().string();
    place.set = folder;
    if (sameFolder(place.setPath, place.tree)) {
      place.tree = folder;
      place.set.clear();
      place.setPath.clear();
    }
    const auto known = std::find(folders.begin(), folders.end(), folder);
    if (known != folders.end()) {
      checks[known - folders.begin()].levels.push_back(place.level);
      continue;
    }
    const std::string level = place.level;
    if (addCheck(PlaceCheck{std::move(place), {level}, ""}, checks, out)) {
      folders.push_back(folder);
    }
  }
  return true;
}

void assignRoute(const CheckRequest& request, std::vector<PlaceCheck>& checks, Diagnostics& out) {
  const std::string& level = request.routeLevel;
  // Nothing is checked: why was said already.
  if (level.empty() || checks.empty()) return;
  if (!routeNamesFile(request)) {
    for (PlaceCheck& check : checks) {
      if (holds(check.levels, level)) {
        check.routeLevel = level;
        return;
      }
    }
    // The run says why it writes none, or finds it in its set's own list.
    checks.front().routeLevel = level;
    return;
  }
  const fs::path file(level);
  for (PlaceCheck& check : checks) {
    const MediaPlace& place = check.place;
    if (sameFolder(file.parent_path().string(), place.setPath.empty() ? place.tree : place.setPath)) {
      check.routeLevel = file.filename().string();
      return;
    }
  }
  out.report(level, "no route is written: it is none of the level files checked");
}

}  // namespace

bool planChecks(const CheckRequest& request, std::vector<PlaceCheck>& checks, Diagnostics& out) {
  std::vector<std::string> named = request.named;
  if (named.empty() && routeNamesFile(request)) named.push_back(request.routeLevel);
  const bool onePlace =
      named.size() <= 1 && (named.empty() || isDirectory(named[0]) || !standsThere(named[0]));
  if (onePlace) {
    const std::string place = named.empty() ? "" : named[0];
    MediaPlace found = findMediaPlace(place, request.base);
    // A tree named by the folder holding it reads as the tree named itself.
    if (!place.empty() && found.tree != place) {
      found.tree = fs::path(found.tree).lexically_normal().string();
    }
    if (!found.problem.empty()) {
      reportPlace(place.empty() ? request.base : place, found.problem, out);
      return true;
    }
    if (namesTreeAlone(found, place)) {
      found.tree = place;
      found.set.clear();
      found.setPath.clear();
    }
    addCheck(PlaceCheck{found, {}, ""}, checks, out);
  } else if (!planFiles(named, request.base, checks, out)) {
    return false;
  }
  assignRoute(request, checks, out);
  return true;
}
