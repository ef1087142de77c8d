// pwe-edit: the level editor. Shows a level as the game draws it, edits it
// with the mouse and keys, checks it as it changes and plays it in the
// game at a key.
#include <allegro.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "game/Game.h"
#include "shell/BuildInfo.h"
#include "shell/ProgramInfo.h"
#include "shell/MediaPlace.h"
#include "shell/MediaTreeEntry.h"
#include "tools/edit/EditorDialogs.h"
#include "tools/edit/EditorKeys.h"
#include "tools/edit/EditorSession.h"
#include "tools/edit/EditorSignals.h"
#include "tools/edit/EditorWindow.h"
#include "tools/edit/LevelEditor.h"
#include "tools/edit/LevelFile.h"
#include "tools/edit/LiveChecks.h"
#include "tools/edit/LookCatalog.h"
#include "tools/edit/SetList.h"

namespace fs = std::filesystem;

namespace {

const char* const usageText =
    "usage: pwe-edit [--base TREE] [--join-set TITLE] [LEVEL-FILE] [SET-OR-TREE]\n"
    "       pwe-edit --help | --version | --keys[=man]\n"
    "Edits LEVEL-FILE (any path; a new level when it does not exist yet) in a\n"
    "window of an X display, with the looks, enemy kinds and rules of its\n"
    "folder's level set laid over the media tree: what the folder holds at a\n"
    "place of the tree (gfx/static/..., player.inf, pwe.cfg) wins over the\n"
    "tree's. A level saved new into a folder with a set.cfg joins its list.\n"
    "SET-OR-TREE: the tree (the folder holding media/, or media/ itself),\n"
    "or a set to lay instead of the level's folder; --base TREE names the\n"
    "tree with a set (default: ./media, else the installed one).\n"
    "--join-set TITLE: LEVEL-FILE is one of its folder's set: the list\n"
    "gains it, or is started titled TITLE, listing the folder's levels by\n"
    "name, when the folder has none (also when a new level is saved).\n"
    "--keys prints the editor's keys and mouse actions as Markdown tables,\n"
    "--keys=man as the manual page's sections.\n";

int usage() {
  std::fputs(usageText, stderr);
  return 2;
}

// What the command line asks to edit, and where.
struct EditRequest {
  std::string level;     // LEVEL-FILE, absolute; empty: a new level of no file yet
  std::string place;     // SET-OR-TREE as given
  std::string base;      // --base TREE as given
  std::string setTitle;  // --join-set TITLE
};

// --help, --version and --keys answer without a window, the first of them given
// winning; --base and --join-set take the next argument; any other option
// is a wrong call. -1: go on and edit, with request filled.
int answerOptions(int argc, char** argv, EditRequest& request) {
  std::vector<std::string> positional;
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
    if (arg == "--base" || arg == "--join-set") {
      if (i + 1 == argc) {
        std::fprintf(stderr, "pwe-edit: %s needs a value\n", arg.c_str());
        return usage();
      }
      (arg == "--base" ? request.base : request.setTitle) = argv[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      std::fprintf(stderr, "pwe-edit: unknown option %s\n", arg.c_str());
      return usage();
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() > 2) return usage();
  if (!positional.empty()) request.level = fs::absolute(positional[0]).lexically_normal().string();
  if (positional.size() == 2) request.place = positional[1];
  return -1;
}

bool isDirectory(const std::string& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

// The tree and the set the level is edited with: the set named, else the
// level's own folder laid over the tree. A level lying in a tree (its
// media/level2.inf) or in a folder not made yet is edited with the tree
// alone, as before sets were.
MediaPlace editPlace(const EditRequest& request) {
  std::string base = request.base;
  if (!request.place.empty()) {
    const MediaPlace named = findMediaPlace(request.place, base);
    if (!named.setPath.empty() || !named.problem.empty() || request.level.empty()) return named;
    base = named.tree;  // a tree: the level's folder is laid over it
  }
  const std::string folder = fs::path(request.level).parent_path().string();
  if (request.level.empty() || !isDirectory(folder) || !treeNamed(folder).empty()) {
    return findMediaPlace("", base);
  }
  return findMediaPlace(folder, base);
}

// --join-set: the level is one of its folder's set from the start, the
// list started when there is none.
void joinOwnSet(const EditRequest& request, const MediaPlace& place) {
  const std::string folder = fs::path(request.level).parent_path().string();
  if (request.setTitle.empty() || place.setPath.empty() || place.setPath != folder) return;
  std::error_code error;
  const bool there = fs::exists(fs::symlink_status(request.level, error));
  const std::string joined = there ? joinSetList(request.level, request.setTitle)
                                   : startSetList(folder, request.setTitle);
  if (!joined.empty()) std::fprintf(stderr, "pwe-edit: %s\n", joined.c_str());
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

int edit(const EditRequest& request, const MediaPlace& place) {
  const std::string& level = request.level;
  // The title names the file once the editor takes input.
  const std::string title = "pwe-edit - loading";
  int width = 0;
  int height = 0;
  int updatesPerSecond = 0;
  int zoom = 1;
  if (openEditorDisplay(title, width, height, updatesPerSecond, zoom) != 0) return 1;
  // Allegro's start-up installed handlers of its own: these replace them.
  watchLeaveSignals();
  // A data failure of the tree ends the program here with the engine's own message.
  Game game(width, height, updatesPerSecond);
  LookCatalog looks(game);
  LiveChecks checks(width, height, updatesPerSecond);
  LevelEditor editor(game, looks);
  editor.startListsTitled(request.setTitle);
  EditorWindow window(game, zoom);
  setDialogZoom(window.zoom());
  if (openLevel(editor, level) != 0) return 1;
  // Only a level the editor could open joins the list.
  joinOwnSet(request, place);
  EditorSession session(game, looks, editor, checks, window);
  session.setLevelSet(place.setPath);
  session.offerRecovery();
  session.run();
  keepForLeaveSignals(std::string(), std::string());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Before Allegro starts a thread: see EditorSignals.h.
  holdLeaveSignals();
  EditRequest request;
  const int answered = answerOptions(argc, argv, request);
  if (answered >= 0) return answered;
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || display[0] == '\0') {
    std::fprintf(stderr, "pwe-edit: no display: DISPLAY is not set, and the editor needs a window\n");
    return 1;
  }
  if (refuseNonFile(request.level) != 0) return 1;
  const MediaPlace place = editPlace(request);
  const std::string problem = place.problem.empty() ? enterMediaPlace(place) : place.problem;
  if (!problem.empty()) {
    std::fprintf(stderr, "pwe-edit: %s\n", problem.c_str());
    return 1;
  }
  const int result = edit(request, place);
  leaveMediaTree();
  return result;
}
END_OF_MAIN()
