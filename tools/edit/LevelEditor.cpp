// The document side of the editor: a new level, the history, and keeping
// the Game in step with the edited level (its files: LevelEditorFiles.cpp).
#include "tools/edit/LevelEditor.h"

#include "game/Game.h"
#include "game/LevelFormat.h"
#include "shell/Fatal.h"
#include "tools/edit/LevelFile.h"
#include "tools/edit/LookCatalog.h"

LevelEditor::LevelEditor(Game& game, const LookCatalog& looks) : game_(game), looks_(looks) {
  defaultTemplates();
  newLevel();
}

// A new level is one the game can play at once: the shipped levels' HUD
// places (countdown at the top left, score at the top right, both centred),
// their countdown and pips, one floor row of claimable tiles along the
// bottom of the screen in the first tile look whose claim shows, and the
// player standing on it near the left edge.
void LevelEditor::newLevel() {
  LevelData data;
  data.countdown_start = 4000;
  data.countdown_x = 8;
  data.countdown_y = 4;
  data.countdown_align = 2;
  const int scoreWidth = game_.scoreBackground ? game_.scoreBackground->w : 0;
  data.score_x = game_.width - scoreWidth - 8;
  data.score_y = 4;
  data.score_align = 2;
  data.pip_offset = 6;
  data.pip_spacing = 4;
  const int floorLook = looks_.floorLook();
  const int tileWidth = looks_.width(ElementKind::Tile, floorLook);
  const int tileHeight = looks_.height(ElementKind::Tile, floorLook);
  const int floorRow = game_.height - tileHeight;
  for (int x = 0; x + tileWidth <= game_.width; x += tileWidth) {
    TileSpec tile;
    tile.x = x;
    tile.y = floorRow;
    tile.tile_name = looks_.name(ElementKind::Tile, floorLook);
    tile.cleared_name = pairedName(looks_.clearedTileNames(), tile.tile_name);
    tile.claimable = 1;
    tile.points = 10;
    addRecord(data, tile);
  }
  data.start_x = 40;
  data.start_y = floorRow - 1;
  data.start_animation = looks_.playerAnimationCount() > 1 ? 1 : 0;
  startDocument(data);
  recoveryOffered_ = false;
}

void LevelEditor::restoreGame() { placeInGame(); }

bool LevelEditor::undo() {
  endGestures();
  if (!history_.undo()) return false;
  level_ = history_.current();
  changed();
  return true;
}

bool LevelEditor::takeBack() {
  endGestures();
  if (!history_.dropLatest()) return false;
  level_ = history_.current();
  changed();
  return true;
}

bool LevelEditor::redo() {
  endGestures();
  if (!history_.redo()) return false;
  level_ = history_.current();
  changed();
  return true;
}

int LevelEditor::replaceLevel(const LevelData& edited, const std::string& what) {
  if (!levelIsLoadable(edited)) return -1;
  endGestures();
  // A form confirmed as it was opened is no change: the text it would
  // save is the text the level saves now.
  if (writeLevel(edited) == writeLevel(level_)) return 0;
  const LevelData before = std::exchange(level_, edited);
  // A form keeps the lists' length and order.
  if (before.teleporters.size() == level_.teleporters.size()) {
    for (std::size_t i = 0; i < level_.teleporters.size(); ++i) {
      looks_.followNumber(level_.teleporters[i], before.teleporters[i]);
    }
  }
  commit(what);
  return 0;
}

void LevelEditor::startDocument(const LevelData& data) {
  painting_ = false;
  moving_ = ElementRef{};
  movingGroup_ = banding_ = filling_ = false;
  handleElement_ = ElementRef{};
  selection_.clear();
  level_ = data;
  history_.reset(data);
  autosaved_ = 0;
  unsavedSince_ = -1.0;
  changed();
}

// The one gate every edit passes: a level the loader would refuse never
// becomes a step (a paste or a duplicate past a count, a move past a bound).
void LevelEditor::commit(const std::string& what) {
  const std::string beyond = levelBoundProblem(level_);
  if (!beyond.empty()) {
    refusal_ = "Not done (" + what + "): " + beyond;
    level_ = history_.current();
    selection_.clear();
  } else {
    history_.push(level_, what);
  }
  changed();
}

void LevelEditor::changed() {
  ++revision_;
  selection_.keepWithin(level_);
  placeInGame();
}

void LevelEditor::endGestures() {
  if (painting_) endPaint();
  if (moving()) endMove();
  if (banding_) endSelect();
  if (filling_) endFill();
  if (draggingHandle()) endHandle();
}

// As a level start and a life start place it; a name without an image
// stops the engine there, and the Game is then left without elements.
void LevelEditor::placeInGame() { placementError_ = placeLevel(level_); }

std::string LevelEditor::placeLevel(const LevelData& level) {
  game_.level = level;
  game_.levelDone = false;
  std::string error;
  try {
    DataFailureGuard guard;
    game_.beginLife();
  } catch (const DataFailure& stop) {
    error = stop.boxText;
    game_.enemyManager.clear();
    game_.floorManager.clear();
    game_.itemManager.clear();
    game_.chuteManager->clear();
    game_.ladderManager->clear();
    game_.teleporterManager.clear();
  }
  return error;
}
