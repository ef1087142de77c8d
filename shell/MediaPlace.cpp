#include "shell/MediaPlace.h"

#include <algorithm>
#include <filesystem>

#include "shell/Installation.h"
#include "shell/LevelSet.h"
#include "shell/MediaOverlay.h"
#include "shell/MediaTreeEntry.h"

namespace fs = std::filesystem;

namespace {

bool standsThere(const fs::path& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

bool isDirectory(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

std::string absoluteOf(const std::string& path) {
  std::error_code error;
  const fs::path whole = fs::absolute(path, error).lexically_normal();
  if (error) return path;
  const std::string text = whole.string();
  return text.size() > 1 && text.back() == '/' ? text.substr(0, text.size() - 1) : text;
}

std::string baseTree(const std::string& base, const std::string& workingDir,
                     const std::string& commandDir, std::string& problem) {
  if (base.empty()) return chooseMediaTree("", workingDir, commandDir);
  const std::string tree = treeNamed(base);
  if (tree.empty()) problem = base + " holds no media tree (media/pwe.cfg) to lay a set over";
  return tree;
}

}  // namespace

std::string setBeside(const std::string& name, const std::string& tree) {
  if (!plainLevelName(name) || tree.empty()) return "";
  const fs::path beside = fs::path(absoluteOf(tree)).parent_path() / "sets" / name;
  return isDirectory(beside) ? beside.string() : "";
}

namespace {

std::string unknownPlace(const std::string& named, const std::string& tree) {
  std::string problem = named + " is no set, tree or level file";
  const std::vector<std::string> names = setsBeside(tree);
  if (!plainLevelName(named) || names.empty()) return problem;
  problem += "; the sets beside the game are:";
  for (const std::string& name : names) problem += " " + name;
  return problem;
}

void laySetAt(MediaPlace& place, const std::string& folder) {
  place.set = folder;
  place.setPath = absoluteOf(folder);
}

}  // namespace

std::string treeNamed(const std::string& directory) {
  if (directory.empty()) return "";
  const fs::path folder(directory);
  if (isMediaTree(directory) && !standsThere(folder / setListName)) return directory;
  const std::string inside = (folder / "media").string();
  return isMediaTree(inside) ? inside : "";
}

MediaPlace findMediaPlace(const std::string& named, const std::string& base,
                          const std::string& workingDir, const std::string& commandDir) {
  MediaPlace place;
  const std::string namedTree = isDirectory(named) ? treeNamed(named) : "";
  if (!namedTree.empty()) {
    place.tree = namedTree;
    if (!base.empty()) place.problem = named + " is a tree itself: give --base only with a set";
    return place;
  }
  place.tree = baseTree(base, workingDir, commandDir, place.problem);
  if (named.empty() || !place.problem.empty()) return place;
  if (isDirectory(named)) {
    laySetAt(place, named);
  } else if (standsThere(named)) {
    // A level file: its folder is its set.
    const fs::path file(named);
    laySetAt(place, file.has_parent_path() ? file.parent_path().string() : ".");
    place.level = file.filename().string();
  } else {
    const std::string kept = setBeside(named, place.tree);
    if (kept.empty()) place.problem = unknownPlace(named, place.tree);
    else laySetAt(place, kept);
  }
  return place;
}

MediaPlace findMediaPlace(const std::string& named, const std::string& base) {
  return findMediaPlace(named, base, ".", programDirectory());
}

MediaPlace findLevelFile(const std::string& named, const std::string& base) {
  MediaPlace place = findMediaPlace(named, base);
  if (place.problem.empty() && place.level.empty()) {
    place.problem = named + " is a folder, not a level file";
  }
  return place;
}

std::vector<std::string> setsBeside(const std::string& tree) {
  std::vector<std::string> names;
  if (tree.empty()) return names;
  const fs::path folder = fs::path(absoluteOf(tree)).parent_path() / "sets";
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    if (isDirectory(entry->path()) && names.size() < maxSetLevels) {
      names.push_back(entry->path().filename().string());
    }
  }
  std::sort(names.begin(), names.end(), namedBefore);
  return names;
}

std::string enterMediaPlace(const MediaPlace& place) {
  // The set's path is whole before the working directory changes.
  if (!enterMediaTree(place.tree)) return "cannot enter the media tree " + place.tree;
  if (place.setPath.empty()) liftMediaSet();
  else layMediaSet(place.setPath);
  return "";
}
