// pwe-check: reads a media tree as the engine would and lists every problem
// as file:line:column: message. Exit status 0 when the tree is clean, 1 when
// anything was found (or the tree cannot be checked), 2 for a wrong call.
#include <allegro.h>
#include <loadpng.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tools/check/Diagnostics.h"
#include "tools/check/MediaChecker.h"

int main(int argc, char** argv) {
  const bool help = argc == 2 && (std::string(argv[1]) == "-h" || std::string(argv[1]) == "--help");
  if (argc > 2 || help) {
    std::fprintf(stderr, "usage: pwe-check [MEDIA-DIRECTORY]\n"
                         "Checks the media tree (default: media) and lists every problem.\n");
    return 2;
  }
  const std::string root = argc == 2 ? argv[1] : "media";
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
    checker.run();
  }
  diagnostics.print(stdout);
  return diagnostics.empty() ? 0 : 1;
}
