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

#include "authoring/FileReplace.h"
#include "game/Game.h"
#include "graphics/ImageFile.h"
#include "graphics/Resources.h"
#include "shell/Fatal.h"
#include "shell/Installation.h"
#include "shell/MediaTreeEntry.h"
#include "shell/ProgramInfo.h"
#include "shell/Startup.h"

namespace fs = std::filesystem;

namespace {

// Allegro's own error codes go here, so that errno keeps what the system
// said when a write of the picture failed.
int allegroError = 0;

const char* const renderUsage =
    "usage: pwe-render LEVEL OUTPUT.png [MEDIA-DIRECTORY]\n"
    "       pwe-render --help | --version\n"
    "Draws the first frame of LEVEL (e.g. level1.inf) of the media tree\n"
    "(default: ./media when it holds pwe.cfg, else the installed one) into\n"
    "OUTPUT.png.\n";

int usage() {
  std::fputs(renderUsage, stderr);
  return 2;
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
  game.display = frame.get();
  game.drawFrame();
  game.display = nullptr;
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
  if (printInfoAnswer(answerInfoOptions(argc, argv, "pwe-render", renderUsage))) return 0;
  if (argc < 3 || argc > 4) return usage();
  const std::string level = argv[1];
  const std::string output = fs::absolute(argv[2]).string();
  const fs::path tree = chooseMediaTree(argc == 4 ? argv[3] : "");
  std::error_code error;
  if (!fs::is_directory(tree, error)) {
    std::fprintf(stderr, "pwe-render: %s is not a directory\n", tree.c_str());
    return 1;
  }
  if (!enterMediaTree(tree.string())) {
    std::fprintf(stderr, "pwe-render: cannot open the media tree %s\n", tree.c_str());
    return 1;
  }

  if (install_allegro(SYSTEM_NONE, &allegroError, atexit) != 0) {
    std::fprintf(stderr, "pwe-render: cannot start Allegro\n");
    return 1;
  }
  set_color_depth(32);
  register_png_file_type();
  set_alpha_blender();
  selectConfiguration("media/pwe.cfg");
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
  leaveMediaTree();
  return result;
}
