// The menu entry's actions play sets the game ships, under the titles the
// sets give themselves: an action naming a set that was renamed or never
// came would start a game that ends at once.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "shell/LevelSet.h"
#include "shell/MediaPlace.h"
#include "tests/support/FileText.h"

namespace {

struct DesktopAction {
  std::string id;
  std::string name;  // what the menu shows
  std::string exec;  // the command it runs
};

std::string sourceDir() {
  const char* root = std::getenv("PWE_SOURCE_DIR");
  return root != nullptr ? root : "..";
}

bool startsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

// The [Desktop Action ID] groups of a desktop entry, in order.
std::vector<DesktopAction> actionsOf(const std::string& entry) {
  const std::string opening = "[Desktop Action ";
  std::vector<DesktopAction> actions;
  bool inAction = false;
  std::istringstream lines(entry);
  for (std::string line; std::getline(lines, line);) {
    if (startsWith(line, "[")) {
      inAction = startsWith(line, opening) && line.back() == ']';
      if (inAction) actions.push_back({line.substr(opening.size(), line.size() - opening.size() - 1), "", ""});
    } else if (inAction && startsWith(line, "Name=")) {
      actions.back().name = line.substr(5);
    } else if (inAction && startsWith(line, "Exec=")) {
      actions.back().exec = line.substr(5);
    }
  }
  return actions;
}

}  // namespace

TEST(DesktopActions, EachPlaysAShippedSetUnderItsTitle) {
  const std::string root = sourceDir();
  const std::vector<DesktopAction> actions = actionsOf(readFile(root + "/dist/pwe.desktop.in"));
  ASSERT_FALSE(actions.empty()) << "the menu entry offers no set to play";
  for (const DesktopAction& action : actions) {
    SCOPED_TRACE(action.id);
    const std::string command = "pwe ";
    ASSERT_TRUE(startsWith(action.exec, command)) << action.exec;
    const std::string name = action.exec.substr(command.size());
    // Found as the installed game finds it: by name, beside the tree.
    const MediaPlace place = findMediaPlace(name, root + "/media", root, root);
    ASSERT_EQ(place.problem, "");
    ASSERT_NE(place.setPath, "") << name << " is no set kept beside the tree";
    ASSERT_EQ(enterMediaPlace(place), "");
    LevelSet set;
    ASSERT_EQ(readLevelSet(place.setPath, set), "");
    EXPECT_FALSE(set.levels.empty());
    EXPECT_EQ(action.name, "Play " + set.title);
  }
}
