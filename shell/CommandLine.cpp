#include "shell/CommandLine.h"

const char* const launchUsage =
    "usage: pwe [--base TREE] [SET-OR-TREE]\n"
    "       pwe [--base TREE] --level FILE\n"
    "       pwe [--base TREE] --replay FILE [SET-OR-TREE]\n"
    "       pwe --print-config [SET-OR-TREE]\n"
    "       pwe --help | --version\n"
    "Plays Pitwick Engine: the levels of the game's own media tree (media/ of\n"
    "the working directory when there is one, else the installed game's), or\n"
    "of SET-OR-TREE. A tree is given as the folder holding media/ or as\n"
    "media/ itself. A level set is a folder of level files, and of anything\n"
    "else of a media tree it changes, laid over the tree (or over TREE with\n"
    "--base); an installed set is also played by its name, as in 'pwe moss'.\n"
    "--level plays the one level FILE over and over, its folder laid over\n"
    "the tree as a set. --replay plays the recording FILE (such as the\n"
    "route pwe-check --route writes) in the game's window until it ends or\n"
    "Escape is pressed. --print-config prints every setting in effect and\n"
    "where it came from, and plays nothing.\n";

namespace {

LaunchRequest misuse(const std::string& problem) {
  LaunchRequest request;
  request.action = LaunchAction::misuse;
  request.problem = problem;
  return request;
}

// The value of an option that takes one: empty for none.
bool takeValue(const std::vector<std::string>& arguments, std::size_t& i, std::string& into) {
  if (i + 1 == arguments.size() || arguments[i + 1].empty() || !into.empty()) return false;
  into = arguments[++i];
  return true;
}

}  // namespace

LaunchRequest readLaunchArguments(const std::vector<std::string>& arguments) {
  LaunchRequest request;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool option = !optionsEnded && argument.size() > 1 && argument[0] == '-';
    if (!option) {
      if (argument.empty()) return misuse("pwe: the name of the set or tree is empty");
      if (!request.place.empty()) return misuse("pwe: give one set or tree at most");
      request.place = argument;
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "-h" || argument == "--help") {
      request.action = LaunchAction::help;
      return request;
    } else if (argument == "--version") {
      request.action = LaunchAction::version;
      return request;
    } else if (argument == "--print-config") {
      request.action = LaunchAction::printConfig;
    } else if (argument == "--replay") {
      if (!takeValue(arguments, i, request.replay)) {
        return misuse("pwe: --replay needs one recording to play");
      }
    } else if (argument == "--level") {
      if (!takeValue(arguments, i, request.level)) return misuse("pwe: --level needs one level file");
    } else if (argument == "--base") {
      if (!takeValue(arguments, i, request.base)) return misuse("pwe: --base needs one tree");
    } else {
      return misuse("pwe: unknown option " + argument);
    }
  }
  if (request.action == LaunchAction::printConfig && !request.replay.empty()) {
    return misuse("pwe: --print-config plays nothing, not even a recording");
  }
  if (!request.level.empty() && (!request.place.empty() || !request.replay.empty())) {
    return misuse("pwe: --level plays its own file: give no set, tree or recording with it");
  }
  return request;
}
