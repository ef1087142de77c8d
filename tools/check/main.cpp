// pwe-check: reads a media tree, a level set laid over one, or level files
// as the engine would and lists every problem as file:line:column: message.
// Exit status 0 when all is clean or has warnings only, 1 when an error was
// found (or nothing can be checked), 2 for a wrong call. --werror counts
// warnings as errors; --route LEVEL OUT also writes the route the
// reachability search found through LEVEL.
// PWE_SEARCH_SECONDS in the environment sets the searches' time limits,
// PWE_SEARCH_MEGABYTES their limits in bytes; PWE_CHECK_JOBS how many
// levels are proven at once (tools/check/SideBySide.h).
#include <allegro.h>
#include <loadpng.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/Installation.h"
#include "shell/MediaPlace.h"
#include "shell/ProgramInfo.h"
#include "tools/check/CheckPlaces.h"
#include "tools/check/Diagnostics.h"
#include "tools/check/MediaChecker.h"

namespace {

const char* const checkUsage =
    "usage: pwe-check [--werror] [--base TREE] [--route LEVEL OUT] [PLACE | LEVEL-FILE...]\n"
    "       pwe-check --help | --version\n"
    "Checks a media tree (default: ./media when it holds pwe.cfg, else the\n"
    "installed one), a level set laid over the tree (its folder, or the name\n"
    "of one in sets/ beside it), or level files, each with its folder laid\n"
    "over the tree, and lists every problem. --base names the tree.\n"
    "Warnings alone leave the exit status 0 unless --werror is given.\n"
    "--route writes the route found through LEVEL (e.g. level1.inf, or a\n"
    "level file's path) to OUT as a replay: the one that clears it with its\n"
    "enemies, or, when none is found, one played without them.\n"
    "Levels are proven side by side, one process per core; PWE_CHECK_JOBS=1\n"
    "in the environment proves them one after another.\n";

struct Options {
  bool werror = false;      // warnings fail the check too
  bool usage = false;       // the arguments make no sense: show how to call
  CheckRequest request;     // what is checked
};

Options parseArguments(int argc, char** argv) {
  Options options;
  CheckRequest& request = options.request;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--werror") {
      options.werror = true;
    } else if (arg == "--base" && i + 1 < argc) {
      request.base = argv[++i];
    } else if (arg == "--route" && i + 2 < argc) {
      request.routeLevel = argv[++i];
      // The tree is read from a working directory of its own.
      request.routeOutput = std::filesystem::absolute(argv[++i]).string();
    } else if (arg.size() > 1 && arg[0] == '-') {
      options.usage = true;
    } else {
      request.named.push_back(arg);
    }
  }
  return options;
}

void runCheck(const PlaceCheck& check, const CheckRequest& request, Diagnostics& diagnostics) {
  MediaChecker checker(check.place.tree, diagnostics);
  if (!check.place.setPath.empty() || !check.levels.empty()) {
    checker.laySet(check.place.set, check.place.setPath, check.levels);
  }
  if (!check.routeLevel.empty()) checker.requestRoute(check.routeLevel, request.routeOutput);
  // Slow builds (the sanitizer run) give the search more time.
  const char* seconds = std::getenv("PWE_SEARCH_SECONDS");
  if (seconds != nullptr) checker.setSearchSeconds(std::atof(seconds));
  const char* megabytes = std::getenv("PWE_SEARCH_MEGABYTES");
  if (megabytes != nullptr) checker.setSearchMegabytes(std::atof(megabytes));
  checker.run();
}

}  // namespace

int main(int argc, char** argv) {
  if (printInfoAnswer(answerInfoOptions(argc, argv, "pwe-check", checkUsage))) return 0;
  const Options options = parseArguments(argc, argv);
  Diagnostics diagnostics;
  std::vector<PlaceCheck> checks;
  if (options.usage) {
    std::fputs(checkUsage, stderr);
    return 2;
  }
  if (!planChecks(options.request, checks, diagnostics)) {
    std::fprintf(stderr, "pwe-check: give one tree or set, or level files only\n%s", checkUsage);
    return 2;
  }
  if (!checks.empty()) {
    // No display is needed: images, fonts and sounds load without one.
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
      std::fprintf(stderr, "pwe-check: cannot start Allegro\n");
      return 1;
    }
    set_color_depth(32);
    register_png_file_type();
  }
  for (const PlaceCheck& check : checks) runCheck(check, options.request, diagnostics);
  diagnostics.print(stdout);
  const int failing = diagnostics.errorCount() + (options.werror ? diagnostics.warningCount() : 0);
  return failing > 0 ? 1 : 0;
}
