// pwe-render: draws a level as its first frame looks (background, every
// element, the player at its start, the HUD) into a PNG file, with the
// engine's own loading and drawing and without a display.
#include <allegro.h>
#include <loadpng.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "authoring/FileReplace.h"
#include "game/Game.h"
#include "graphics/ImageFile.h"
#include "graphics/Resources.h"
#include "shell/Fatal.h"
#include "shell/MediaOverlay.h"
#include "shell/MediaPlace.h"
#include "shell/MediaTreeEntry.h"
#include "shell/ProgramInfo.h"
#include "shell/Startup.h"

namespace fs = std::filesystem;

namespace {

// Allegro's own error codes go here, so that errno keeps what the system
// said when a write of the picture failed.
int allegroError = 0;

const char* const renderUsage =
    "usage: pwe-render [--base TREE] LEVEL OUTPUT.png [SET-OR-TREE]\n"
    "       pwe-render --help | --version\n"
    "Draws the first frame of LEVEL into OUTPUT.png. LEVEL is the name of a\n"
    "level of SET-OR-TREE (e.g. level1.inf), or a level file by its path: a\n"
    "name with a '/' in it, or, when no SET-OR-TREE is given, a file of that\n"
    "name in the working directory; the file's folder is then its set. A tree\n"
    "is the folder holding media/ or media/ itself (default: ./media when it\n"
    "holds pwe.cfg, else the installed one); a set is a folder of levels and\n"
    "looks laid over the tree, or over TREE with --base; a set kept in sets/\n"
    "beside the tree goes by its name.\n";

int usage(const std::string& problem = "") {
  if (!problem.empty()) std::fprintf(stderr, "pwe-render: %s\n", problem.c_str());
  std::fputs(renderUsage, stderr);
  return 2;
}

// What the command line asks for, as given.
struct RenderCall {
  std::string base;     // --base, or empty
  std::string level;    // a level's name or a level file's path
  std::string output;   // the picture to write
  std::string place;    // SET-OR-TREE, or empty
  std::string problem;  // why the call is wrong; empty when it is not
  InfoAnswer info;      // --help or --version, answered before anything else
};

RenderCall readRenderCall(int argc, char** argv) {
  RenderCall call;
  std::vector<std::string> given;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      given.push_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--base") {
      if (i + 1 == argc || argv[i + 1][0] == '\0' || !call.base.empty()) {
        call.problem = "--base needs one tree";
        return call;
      }
      call.base = argv[++i];
    } else if (argument == "--help" || argument == "-h" || argument == "--version") {
      const char* const alone[] = {argv[0], argv[i]};
      call.info = answerInfoOptions(2, alone, "pwe-render", renderUsage);
      return call;
    } else {
      call.problem = "unknown option " + argument;
      return call;
    }
  }
  if (given.size() < 2 || given.size() > 3) {
    call.problem = "give a level, a picture and at most one set or tree";
  } else if (given[0].empty() || given[1].empty() || (given.size() == 3 && given[2].empty())) {
    call.problem = "an argument is empty";
  } else {
    call.level = given[0];
    call.output = given[1];
    if (given.size() == 3) call.place = given[2];
  }
  return call;
}

bool standsAsFile(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  return fs::exists(status) && !fs::is_directory(status);
}

// LEVEL names a file rather than a level of the place: it has a folder in
// it, or nothing else is named and the working directory holds it.
bool namesLevelFile(const RenderCall& call) {
  return call.level.find('/') != std::string::npos ||
         (call.place.empty() && standsAsFile(call.level));
}

// The place to read and the level's bare name there; a call that names
// nothing to read says why in place.problem.
MediaPlace renderPlace(const RenderCall& call, std::string& level) {
  if (!namesLevelFile(call)) {
    MediaPlace place = findMediaPlace(call.place, call.base);
    if (place.problem.empty() && !place.level.empty()) {
      place.problem = call.place + " is a level file: name the set or tree that " +
                      call.level + " is a level of";
    }
    level = call.level;
    return place;
  }
  MediaPlace place = findLevelFile(call.level, call.base);
  if (!call.place.empty()) {
    place.problem = call.level + " is a level file, its folder its set: give the tree under it "
                    "with --base, not as " + call.place;
  }
  level = place.level;
  return place;
}

// The first frame of the level as the screen shows it; null, with the
// reason printed, when no frame can be made. A data failure of the tree
// is thrown to main, under its guard.
BitmapPtr drawFirstFrame(const std::string& level, const StartupSettings& settings) {
  Game game(settings.width, settings.height, settings.updatesPerSecond);
  game.startLevel(level);
  game.beginLife();
  BitmapPtr frame(create_bitmap(settings.width, settings.height));
  // PNG keeps the alpha byte of a 32-bit bitmap, which drawing leaves at
  // 0; a 24-bit copy is what the screen shows.
  BitmapPtr shown(create_bitmap_ex(24, settings.width, settings.height));
  if (!frame || !shown) {
    std::fprintf(stderr, "pwe-render: cannot create a %dx%d frame\n", settings.width,
                 settings.height);
    return nullptr;
  }
  game.output.display = frame.get();
  game.drawFrame();
  game.output.display = nullptr;
  blit(frame.get(), shown.get(), 0, 0, 0, 0, settings.width, settings.height);
  return shown;
}

// Every PNG file ends with the same empty IEND chunk: its length, its type
// and its checksum.
bool endsWholly(const std::string& file) {
  static const char iend[] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', '\xae', 'B', '`', '\x82'};
  std::ifstream in(file, std::ios::binary);
  char tail[sizeof iend];
  return in.seekg(-static_cast<std::streamoff>(sizeof tail), std::ios::end) &&
         in.read(tail, sizeof tail) && std::memcmp(tail, iend, sizeof tail) == 0;
}

// The file holds the picture, pixel for pixel: the PNG writer does not say
// when the last of its data fails to reach the disk, and a short file is
// what a full disk leaves.
bool holdsPicture(const std::string& file, BITMAP* picture) {
  // The temporary file's name has no .png to choose the loader by.
  if (!endsWholly(file) || !ImageFile::inspect(file).loadable()) return false;
  BitmapPtr back(load_png(file.c_str(), nullptr));
  if (!back || back->w != picture->w || back->h != picture->h) return false;
  const int depth = bitmap_color_depth(picture);
  const int backDepth = bitmap_color_depth(back.get());
  for (int y = 0; y < picture->h; ++y) {
    for (int x = 0; x < picture->w; ++x) {
      const int drawn = getpixel(picture, x, y);
      const int read = getpixel(back.get(), x, y);
      if (getr_depth(depth, drawn) != getr_depth(backDepth, read) ||
          getg_depth(depth, drawn) != getg_depth(backDepth, read) ||
          getb_depth(depth, drawn) != getb_depth(backDepth, read)) {
        return false;
      }
    }
  }
  return true;
}

// 0, or 1 with the reason printed; the old file is then as it was.
int writePicture(const std::string& output, BITMAP* picture) {
  int writeError = 0;  // what the system said last while the PNG was written
  // The system's reason when it gave one, else what was seen.
  const auto failure = [&](const char* seen) {
    return "cannot write " + output + ": " + (writeError != 0 ? std::strerror(writeError) : seen);
  };
  const FileWriter save = [&](const std::string& temporary, std::string& reason) {
    errno = 0;
    const int saved = save_png(temporary.c_str(), picture, nullptr);
    writeError = errno;
    if (saved == 0) return 0;
    reason = failure("the PNG writer failed");
    return -1;
  };
  const FileWriter check = [&](const std::string& temporary, std::string& reason) {
    if (holdsPicture(temporary, picture)) return 0;
    reason = failure("the picture written does not read back as drawn");
    return -1;
  };
  std::string error;
  if (replaceFileWith(output, save, error, check) == 0) return 0;
  std::fprintf(stderr, "pwe-render: %s\n", error.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const RenderCall call = readRenderCall(argc, argv);
  if (printInfoAnswer(call.info)) return 0;
  if (!call.problem.empty()) return usage(call.problem);
  std::string level;
  const MediaPlace place = renderPlace(call, level);
  if (!place.problem.empty()) {
    std::fprintf(stderr, "pwe-render: %s\n", place.problem.c_str());
    return 2;
  }
  const std::string output = fs::absolute(call.output).string();
  // A set over a tree that is not there is read alone, as the game reads
  // it, the engine naming what it lacks.
  std::error_code error;
  if (place.setPath.empty() && !fs::is_directory(place.tree, error)) {
    std::fprintf(stderr, "pwe-render: %s is not a directory\n", place.tree.c_str());
    return 1;
  }
  const std::string entering = enterMediaPlace(place);
  if (!entering.empty()) {
    std::fprintf(stderr, "pwe-render: %s\n", entering.c_str());
    return 1;
  }

  if (install_allegro(SYSTEM_NONE, &allegroError, atexit) != 0) {
    std::fprintf(stderr, "pwe-render: cannot start Allegro\n");
    return 1;
  }
  set_color_depth(32);
  register_png_file_type();
  set_alpha_blender();
  // The tree's settings with the set's own over them, as the game plays
  // the level; a player's own file is no part of the level's look.
  selectConfiguration("media/pwe.cfg", "");
  const StartupSettings settings = readStartupSettings();
  if (settings.width <= 0 || settings.height <= 0) {
    std::fprintf(stderr, "pwe-render: the screen size %dx%d in pwe.cfg is not usable\n",
                 settings.width, settings.height);
    return 1;
  }
  int result = 1;
  try {
    // The engine's own words, said once on standard error like every
    // other refusal here, rather than through its message box.
    DataFailureGuard guard;
    const BitmapPtr shown = drawFirstFrame(level, settings);
    if (shown) result = writePicture(output, shown.get());
  } catch (const DataFailure& stop) {
    std::fprintf(stderr, "pwe-render: %s\n", stop.boxText.c_str());
  }
  liftMediaSet();
  leaveMediaTree();
  return result;
}
