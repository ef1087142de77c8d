// pwe-edit: the level editor. Shows a level as the game draws it, edits it
// with the mouse and keys, checks it as it changes and plays it in the
// game at a key.
#include <allegro.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "game/Game.h"
#include "shell/BuildInfo.h"
#include "shell/ProgramInfo.h"
#include "shell/Installation.h"
#include "shell/MediaTreeEntry.h"
#include "tools/edit/EditorKeys.h"
#include "tools/edit/EditorSession.h"
#include "tools/edit/EditorSignals.h"
#include "tools/edit/EditorWindow.h"
#include "tools/edit/LevelEditor.h"
#include "tools/edit/LevelFile.h"
#include "tools/edit/LiveChecks.h"
#include "tools/edit/LookCatalog.h"

namespace fs = std::filesystem;

namespace {

const char* const usageText =
    "usage: pwe-edit [LEVEL-FILE] [MEDIA-DIRECTORY]\n"
    "       pwe-edit --help | --version | --keys[=man]\n"
    "Edits LEVEL-FILE (any path; a new level when it does not exist yet)\n"
    "with the images and rules of the media tree (default: ./media, else\n"
    "the installed one), in a window of an X display. --keys prints the\n"
    "editor's keys and mouse actions as Markdown tables, --keys=man as the\n"
    "manual page's sections.\n";

int usage() {
  std::fputs(usageText, stderr);
  return 2;
}

// --help, --version and --keys answer without a window, the first of them given
// winning; any other option is a wrong call. -1: go on and edit.
int answerOptions(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::fputs(usageText, stdout);
      return 0;
    }
    if (arg == "--keys" || arg == "--keys=man") {
      std::fputs(arg == "--keys" ? keysMarkdown().c_str() : keysManual().c_str(), stdout);
      return 0;
    }
    if (arg == "--version") {
      std::fputs(versionText("pwe-edit").c_str(), stdout);
      return 0;
    }
    if (arg.size() > 1 && arg[0] == '-') {
      std::fprintf(stderr, "pwe-edit: unknown option %s\n", arg.c_str());
      return usage();
    }
  }
  return argc > 3 ? usage() : -1;
}

// What cannot be opened at all (a FIFO, a device, a directory) is refused
// before a window opens; nothing blocks on it.
int refuseNonFile(const std::string& path) {
  std::string bytes;
  FileStamp stamp;
  std::string error;
  if (path.empty() || readFile(path, bytes, stamp, error) == 0) return 0;
  std::fprintf(stderr, "pwe-edit: %s\n", error.c_str());
  return -1;
}

// A file that is not there yet is a new level to be saved under its name;
// one that is there must be a level the loader takes.
int openLevel(LevelEditor& editor, const std::string& path) {
  if (path.empty() || editor.open(path) >= 0) return 0;
  std::fprintf(stderr, "pwe-edit: %s\n", editor.openError().c_str());
  return -1;
}

int edit(const std::string& level) {
  // The title names the file once the editor takes input.
  const std::string title = "pwe-edit - loading";
  int width = 0;
  int height = 0;
  int updatesPerSecond = 0;
  if (openEditorDisplay(title, width, height, updatesPerSecond) != 0) return 1;
  // Allegro's start-up installed handlers of its own: these replace them.
  watchLeaveSignals();
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
  keepForLeaveSignals(std::string(), std::string());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Before Allegro starts a thread: see EditorSignals.h.
  holdLeaveSignals();
  const int answered = answerOptions(argc, argv);
  if (answered >= 0) return answered;
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || display[0] == '\0') {
    std::fprintf(stderr, "pwe-edit: no display: DISPLAY is not set, and the editor needs a window\n");
    return 1;
  }
  const std::string level = argc >= 2 ? fs::absolute(argv[1]).string() : std::string();
  const fs::path tree = chooseMediaTree(argc == 3 ? argv[2] : "");
  if (refuseNonFile(level) != 0) return 1;
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
