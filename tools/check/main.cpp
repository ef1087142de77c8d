// pwe-check: reads a media tree as the engine would and lists every problem
// as file:line:column: message. Exit status 0 when the tree is clean or has
// warnings only, 1 when an error was found (or the tree cannot be checked),
// 2 for a wrong call. --werror counts warnings as errors; --route LEVEL OUT
// also writes the route the reachability search found through LEVEL.
// PWE_SEARCH_SECONDS in the environment sets the searches' time limits,
// PWE_SEARCH_MEGABYTES their limits in bytes.
#include <allegro.h>
#include <loadpng.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "shell/Installation.h"
#include "shell/ProgramInfo.h"
#include "tools/check/Diagnostics.h"
#include "tools/check/MediaChecker.h"

namespace {

const char* const checkUsage =
    "usage: pwe-check [--werror] [--route LEVEL OUT] [MEDIA-DIRECTORY]\n"
    "       pwe-check --help | --version\n"
    "Checks the media tree (default: ./media when it holds pwe.cfg, else the\n"
    "installed one) and lists every problem.\n"
    "Warnings alone leave the exit status 0 unless --werror is given.\n"
    "--route writes the route found through LEVEL (e.g. level1.inf)\n"
    "to OUT as a replay: the one that clears it with its enemies, or,\n"
    "when none is found, one played without them.\n";

struct Options {
  bool werror = false;      // warnings fail the check too
  bool usage = false;       // the arguments make no sense: show how to call
  std::string root;         // the media tree given, if any
  std::string routeLevel;   // --route: the level whose route is written
  std::string routeOutput;  // and where, as an absolute path
};

Options parseArguments(int argc, char** argv) {
  Options options;
  int positional = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--werror") {
      options.werror = true;
    } else if (arg == "--route" && i + 2 < argc) {
      options.routeLevel = argv[++i];
      // The tree is read from a working directory of its own.
      options.routeOutput = std::filesystem::absolute(argv[++i]).string();
    } else if (arg.size() > 1 && arg[0] == '-') {
      options.usage = true;
    } else if (positional++ == 0) {
      options.root = arg;
    } else {
      options.usage = true;
    }
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  if (printInfoAnswer(answerInfoOptions(argc, argv, "pwe-check", checkUsage))) return 0;
  const Options options = parseArguments(argc, argv);
  const bool werror = options.werror;
  const bool usage = options.usage;
  std::string root = options.root;
  const std::string& routeLevel = options.routeLevel;
  const std::string& routeOutput = options.routeOutput;
  if (usage) {
    std::fputs(checkUsage, stderr);
    return 2;
  }
  root = chooseMediaTree(root);
  std::error_code error;
  if (!std::filesystem::is_directory(root, error)) {
    std::printf(
        "%s:0:0: not a directory: give the directory that holds pwe.cfg and the level files\n",
        root.c_str());
    return 1;
  }

  // No display is needed: images, fonts and sounds load without one.
  if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
    std::fprintf(stderr, "pwe-check: cannot start Allegro\n");
    return 1;
  }
  set_color_depth(32);
  register_png_file_type();

  Diagnostics diagnostics;
  {
    MediaChecker checker(root, diagnostics);
    if (!routeLevel.empty()) checker.requestRoute(routeLevel, routeOutput);
    // Slow builds (the sanitizer run) give the search more time.
    const char* seconds = std::getenv("PWE_SEARCH_SECONDS");
    if (seconds != nullptr) checker.setSearchSeconds(std::atof(seconds));
    const char* megabytes = std::getenv("PWE_SEARCH_MEGABYTES");
    if (megabytes != nullptr) checker.setSearchMegabytes(std::atof(megabytes));
    checker.run();
  }
  diagnostics.print(stdout);
  const int failing = diagnostics.errorCount() + (werror ? diagnostics.warningCount() : 0);
  return failing > 0 ? 1 : 0;
}
