#include "shell/Launcher.h"

#include <filesystem>

#include "shell/Installation.h"

namespace fs = std::filesystem;

const char* const launchUsage =
    "usage: pwe [DIRECTORY]\n"
    "       pwe --replay FILE [DIRECTORY]\n"
    "       pwe --print-config [DIRECTORY]\n"
    "       pwe --help | --version\n"
    "Plays Pitwick Engine. Without DIRECTORY the installed game is played;\n"
    "with one, the game reads the media tree DIRECTORY/media instead, as\n"
    "level authors do with their own trees. --replay plays the recording\n"
    "FILE (such as the route pwe-check --route writes) in the game's window\n"
    "until it ends or Escape is pressed. --print-config prints every\n"
    "setting in effect and where it came from, and plays nothing.\n";

namespace {

LaunchRequest misuse(const std::string& problem) {
  LaunchRequest request;
  request.action = LaunchAction::misuse;
  request.problem = problem;
  return request;
}

}  // namespace

LaunchRequest readLaunchArguments(const std::vector<std::string>& arguments) {
  LaunchRequest request;
  bool optionsEnded = false;
  int directories = 0;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool option = !optionsEnded && argument.size() > 1 && argument[0] == '-';
    if (!option) {
      if (argument.empty()) return misuse("pwe: the directory name is empty");
      if (++directories > 1) return misuse("pwe: give one directory at most");
      request.directory = argument;
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "-h" || argument == "--help") {
      request.action = LaunchAction::help;
      return request;
    } else if (argument == "--print-config") {
      request.action = LaunchAction::printConfig;
    } else if (argument == "--replay") {
      if (i + 1 == arguments.size() || arguments[i + 1].empty()) {
        return misuse("pwe: --replay needs the recording to play");
      }
      if (!request.replay.empty()) return misuse("pwe: give one recording at most");
      request.replay = arguments[++i];
    } else if (argument == "--version") {
      request.action = LaunchAction::version;
      return request;
    } else {
      return misuse("pwe: unknown option " + argument);
    }
  }
  if (request.action == LaunchAction::printConfig && !request.replay.empty()) {
    return misuse("pwe: --print-config plays nothing, not even a recording");
  }
  return request;
}

std::string playDirectoryProblem(const std::string& directory) {
  std::error_code error;
  if (!fs::is_directory(directory, error)) return "pwe: " + directory + " is not a directory";
  if (!isMediaTree((fs::path(directory) / "media").string())) {
    return "pwe: " + directory +
           " holds no media tree (media/pwe.cfg); give the directory that holds the game's "
           "media tree";
  }
  return "";
}
