// pwe: the command that starts the game. It reads its arguments, moves to
// the directory whose media/ tree is to be played and becomes the game, so
// the game's exit status is the command's.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/BuildInfo.h"
#include "shell/Installation.h"
#include "shell/Launcher.h"
#include "shell/ProgramInfo.h"

namespace {

// The game prints its settings, in the directory it would play in, when
// asked to print them, or plays the recording it is given.
int play(const std::string& chosen, bool printConfig, const std::string& replay) {
  // The recording is named from where the command was given, and the
  // game starts elsewhere.
  std::string recording = replay;
  std::error_code error;
  const std::filesystem::path whole = std::filesystem::absolute(replay, error);
  if (!replay.empty() && !error) recording = whole.string();
  const std::string commands = programDirectory();
  const std::string directory = chosen.empty() ? installedDataDir(commands) : chosen;
  const std::string problem = playDirectoryProblem(directory);
  if (!problem.empty()) {
    std::fprintf(stderr, "%s\n", problem.c_str());
    // Without a directory named, the installation itself is broken.
    if (chosen.empty()) {
      std::fprintf(stderr, "pwe: the game's data is not installed where it belongs\n");
      return 1;
    }
    return launchMisuseStatus;
  }
  if (chdir(directory.c_str()) != 0) {
    std::fprintf(stderr, "pwe: cannot enter %s: %s\n", directory.c_str(), std::strerror(errno));
    return launchMisuseStatus;
  }
  const std::string game = installedGame(commands);
  char printOption[] = "--print-config";
  char replayOption[] = "--replay";
  std::vector<char*> gameArguments = {const_cast<char*>(game.c_str()),
                                      const_cast<char*>(packageSettingsOption)};
  if (printConfig) gameArguments.push_back(printOption);
  if (!recording.empty()) {
    gameArguments.push_back(replayOption);
    gameArguments.push_back(const_cast<char*>(recording.c_str()));
  }
  gameArguments.push_back(nullptr);
  execv(game.c_str(), gameArguments.data());
  std::fprintf(stderr, "pwe: cannot start %s: %s\n", game.c_str(), std::strerror(errno));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const LaunchRequest request = readLaunchArguments(std::vector<std::string>(argv + 1, argv + argc));
  switch (request.action) {
    case LaunchAction::help:
      std::fputs(launchUsage, stdout);
      return 0;
    case LaunchAction::version:
      std::fputs(versionText("pwe").c_str(), stdout);
      return 0;
    case LaunchAction::misuse:
      std::fprintf(stderr, "%s\n%s", request.problem.c_str(), launchUsage);
      return launchMisuseStatus;
    case LaunchAction::play:
    case LaunchAction::printConfig:
      break;
  }
  return play(request.directory, request.action == LaunchAction::printConfig, request.replay);
}
