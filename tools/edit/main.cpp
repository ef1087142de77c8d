// pwe-edit: the level editor. Shows a level as the game draws it, edits it
// with the mouse and keys, checks it as it changes and plays it in the
// game at a key.
#include <allegro.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "game/Game.h"
#include "shell/Installation.h"
#include "shell/MediaTreeEntry.h"
#include "tools/edit/EditorSession.h"
#include "tools/edit/EditorWindow.h"
#include "tools/edit/LevelEditor.h"
#include "tools/edit/LevelFile.h"
#include "tools/edit/LiveChecks.h"
#include "tools/edit/LookCatalog.h"

namespace fs = std::filesystem;

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: pwe-edit [LEVEL-FILE] [MEDIA-DIRECTORY]\n"
               "Edits LEVEL-FILE (any path; a new level when it does not exist yet)\n"
               "with the images and rules of the media tree (default: ./media, else\n"
               "the installed one).\n");
  return 2;
}

// A file that is not there yet is a new level to be saved under its name;
// one that is there must be a level the loader takes.
int openLevel(LevelEditor& editor, const std::string& path) {
  if (path.empty() || editor.open(path) >= 0) return 0;
  std::fprintf(stderr, "pwe-edit: %s is not a level file the game can load\n", path.c_str());
  return -1;
}

int edit(const std::string& level) {
  // The title names the file once the editor takes input.
  const std::string title = "pwe-edit - loading";
  int width = 0;
  int height = 0;
  int updatesPerSecond = 0;
  if (openEditorDisplay(title, width, height, updatesPerSecond) != 0) return 1;
  // A data failure of the tree ends the program here with the engine's own message.
  Game game(width, height, updatesPerSecond);
  LookCatalog looks(game);
  LiveChecks checks(width, height, updatesPerSecond);
  LevelEditor editor(game, looks);
  EditorWindow window(game);
  if (openLevel(editor, level) != 0) return 1;
  EditorSession session(game, looks, editor, checks, window);
  session.offerRecovery();
  session.run();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 3) return usage();
  const std::string level = argc >= 2 ? fs::absolute(argv[1]).string() : std::string();
  const fs::path tree = chooseMediaTree(argc == 3 ? argv[2] : "");
  std::error_code error;
  if (!fs::is_directory(tree, error)) {
    std::fprintf(stderr, "pwe-edit: %s is not a directory\n", tree.c_str());
    return 1;
  }
  if (!enterMediaTree(tree.string())) {
    std::fprintf(stderr, "pwe-edit: cannot open the media tree %s\n", tree.c_str());
    return 1;
  }
  const int result = edit(level);
  leaveMediaTree();
  return result;
}
END_OF_MAIN()
