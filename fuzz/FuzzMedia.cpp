#include "fuzz/FuzzMedia.h"

#include <allegro.h>
#include <loadpng.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "game/Game.h"
#include "graphics/ImageFile.h"

namespace fs = std::filesystem;

namespace {

std::string treeRoot;

void removeTree() {
  if (treeRoot.empty()) return;
  std::error_code ignored;
  fs::current_path("/", ignored);
  fs::remove_all(treeRoot, ignored);
}

fs::path shippedMedia() {
  const char* source = std::getenv("PWE_SOURCE_DIR");
  fs::path root = source != nullptr && *source != '\0' ? fs::path(source) : fs::path(PWE_FUZZ_SOURCE_DIR);
  return root / "media";
}

// Holds the Game so that it is destroyed at exit, before Allegro's own exit
// hook (registered earlier) takes the library down.
std::unique_ptr<Game>& gameSlot() {
  static std::unique_ptr<Game> game;
  return game;
}

}  // namespace

void fuzzSetUp() {
  static bool done = false;
  if (done) return;
  done = true;

  if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
    std::fprintf(stderr, "fuzz: install_allegro failed\n");
    std::abort();
  }
  set_color_depth(32);
  register_png_file_type();
  set_alpha_blender();

  std::string pattern = (fs::temp_directory_path() / "pwe-fuzz-XXXXXX").string();
  if (mkdtemp(&pattern[0]) == nullptr) {
    std::perror("fuzz: mkdtemp");
    std::abort();
  }
  treeRoot = pattern;
  std::atexit(removeTree);
  fs::copy(shippedMedia(), fs::path(treeRoot) / "media", fs::copy_options::recursive);
  fs::current_path(treeRoot);
  set_config_file("media/pwe.cfg");
}

void writeInput(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

Game& fuzzGame() {
  fuzzSetUp();
  std::unique_ptr<Game>& game = gameSlot();
  if (!game) {
    game = std::make_unique<Game>(640, 480, 100);
    game->startLevel("level1.inf");
  }
  return *game;
}

void playBriefly(Game& game, int ticks) {
  game.quit = false;
  game.player.lives = 3;
  game.beginLife();
  // Right, then a jump to the right, then left, down and up: enough to walk
  // off edges, take ladders and chutes and meet what the level holds.
  const int pattern[][2] = {{game.keyRight, -1}, {game.keyRight, game.keyJump}, {game.keyLeft, -1},
                            {game.keyDown, -1},  {game.keyUp, -1}};
  game.inputSource.inputFromDevices = false;
  for (int i = 0; i < ticks; ++i) {
    const int* held = pattern[(i / 8) % 5];
    game.input.releaseAll();
    for (int k = 0; k < 2; ++k) game.input.hold(held[k]);
    if (game.tick()) break;
  }
  game.input.releaseAll();
}

bool withinFuzzBudget(const ImageFile& header) {
  return header.loadable() && header.memoryBytes() <= fuzzImageBytes;
}
