// pwe-render: draws a level as its first frame looks (background, every
// element, the player at its start, the HUD) into a PNG file, with the
// engine's own loading and drawing and without a display.
#include <allegro.h>
#include <loadpng.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "game/Game.h"
#include "graphics/Resources.h"
#include "shell/Installation.h"
#include "shell/MediaTreeEntry.h"
#include "shell/Startup.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr,
                 "usage: pwe-render LEVEL OUTPUT.png [MEDIA-DIRECTORY]\n"
                 "Draws the first frame of LEVEL (e.g. level1.inf) of the media tree\n"
                 "(default: ./media when it holds pwe.cfg, else the installed one) into\n"
                 "OUTPUT.png.\n");
    return 2;
  }
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

  if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
    std::fprintf(stderr, "pwe-render: cannot start Allegro\n");
    return 1;
  }
  set_color_depth(32);
  register_png_file_type();
  set_alpha_blender();
  selectConfiguration("media/pwe.cfg");
  StartupSettings settings = readStartupSettings();
  if (settings.width <= 0 || settings.height <= 0) {
    std::fprintf(stderr, "pwe-render: the screen size %dx%d in pwe.cfg is not usable\n",
                 settings.width, settings.height);
    return 1;
  }

  int result = 0;
  {
    // A data failure ends the program here with the engine's own message.
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
      result = 1;
    } else {
      game.display = frame.get();
      game.drawFrame();
      blit(frame.get(), shown.get(), 0, 0, 0, 0, settings.width, settings.height);
      if (save_png(output.c_str(), shown.get(), nullptr) != 0) {
        std::fprintf(stderr, "pwe-render: cannot write %s\n", output.c_str());
        result = 1;
      }
    }
  }
  leaveMediaTree();
  return result;
}
