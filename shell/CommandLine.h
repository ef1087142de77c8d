#pragma once
// The command line of pwe, the game, whether run from a build or
// installed: what to play and how.
#include <string>
#include <vector>

enum class LaunchAction {
  play,         // play the chosen levels
  help,         // print the usage, exit 0
  version,      // print the release, exit 0
  printConfig,  // print the settings in effect where the game would play, exit 0
  misuse,       // say what was wrong, exit launchMisuseStatus
};

struct LaunchRequest {
  LaunchAction action = LaunchAction::play;
  std::string place;    // SET-OR-TREE as given: a set, a tree, a set's name; empty: none
  std::string base;     // --base: the tree a set is laid over, as given
  std::string level;    // --level: one level file to play over and over, as given
  std::string replay;   // --replay: the recording to watch instead of playing, as given
  std::string problem;  // for misuse: what was wrong, in words for the user
};

// Wrong calls, and names that name no set, tree or level file.
inline constexpr int launchMisuseStatus = 2;

extern const char* const launchUsage;

// The arguments after the program name.
LaunchRequest readLaunchArguments(const std::vector<std::string>& arguments);
