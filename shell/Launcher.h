#pragma once
// The pwe command in front of the game. The engine reads media/ from its
// working directory; the command chooses that directory (the installed
// data, or a tree an author names) and then becomes the game.
#include <string>
#include <vector>

enum class LaunchAction {
  play,     // start the game in the chosen directory
  help,     // print the usage, exit 0
  version,  // print the release, exit 0
  printConfig,  // the game prints the settings in effect in the chosen directory, exit 0
  misuse,   // say what was wrong, exit launchMisuseStatus
};

struct LaunchRequest {
  LaunchAction action = LaunchAction::play;
  std::string directory;  // where to play; empty: the installed data directory
  std::string replay;     // --replay: the recording to watch instead of playing, as given
  std::string problem;    // for misuse: what was wrong, in words for the user
};

// Wrong calls and directories without a media tree.
inline constexpr int launchMisuseStatus = 2;

extern const char* const launchUsage;

// What the command puts first among the game's arguments: the game plays
// with packageSettings (shell/UserConfig.h) under the player's own file.
inline constexpr const char* packageSettingsOption = "--package-settings";

// The arguments after the program name.
LaunchRequest readLaunchArguments(const std::vector<std::string>& arguments);

// Empty when directory holds a media/ tree to play in; otherwise the
// message that says why it cannot be played.
std::string playDirectoryProblem(const std::string& directory);
