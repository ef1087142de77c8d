#pragma once
// The editor's model on a small tree: a real Game built headless from a
// GameTree, its looks, and a LevelEditor on them, starting from a level
// given as LevelText.
#include <memory>
#include <string>

#include "game/Game.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"
#include "tools/edit/LevelEditor.h"
#include "tools/edit/LookCatalog.h"

struct EditorFixture {
  GameTree tree;
  std::unique_ptr<Game> game;
  std::unique_ptr<LookCatalog> looks;
  std::unique_ptr<LevelEditor> editor;

  // Before the Game is built, so the tree can be given more looks first.
  explicit EditorFixture(bool build = true) {
    if (build) this->build();
  }
  void build() {
    set_config_file("media/pwe.cfg");
    game = std::make_unique<Game>(640, 480, 100);
    looks = std::make_unique<LookCatalog>(*game);
    editor = std::make_unique<LevelEditor>(*game, *looks);
  }
  // An empty level: the simple header, no elements.
  static LevelText emptyLevel() {
    LevelText level;
    level.start = "100 299 1";
    return level;
  }
  // Writes the level as media/<name> and loads it with the engine's loader
  // into the editor as its document's state.
  void startWith(const LevelText& level, const std::string& name = "level1.inf") {
    tree.writeLevel(name, level.str());
    LevelData data;
    data.load(name);
    editor->replaceLevel(data);
  }
};

// Actions separated by ';', as the front end would make the calls:
//   tool N (the key 1 to 7)   snap on|off   click X Y   erase X Y   pick X Y
//   freeclick X Y (a click with Shift held)
//   paint X Y X Y ...         move X Y X Y ...          undo   redo
//   freemove X Y X Y ... (a move let go of with Ctrl held)
// and the selection tool's (as its keys and drags make them):
//   select        (the key S)  band X Y X Y  addband X Y X Y (Shift held)
//   all   none    copy   cut   paste X Y     duplicate   delete
//   nudge DX DY (grid cells)   nudgepx DX DY (pixels)    drag X Y X Y ... (the selection)
//   fill X Y X Y ... (Ctrl and a drag)       handle X Y X Y ... (from a handle)
void perform(LevelEditor& editor, const std::string& script);

// One line per element in the level's order, as "kind field field ...",
// and the start: what a table of edits expects.
std::string levelSummary(const LevelData& level);
