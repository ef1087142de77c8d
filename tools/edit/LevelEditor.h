#pragma once
// The level being edited: the document (file, unsaved changes, autosave),
// the current tool and look, the edits a mouse makes, and the history that
// undoes and redoes them. Headless: the front end turns keys and mouse
// samples into these calls and draws the Game the editor keeps in step.
//
// The Game. After every change the editor places the edited level in the
// Game it was given, exactly as a life start does, so the Game's drawFrame
// shows what the game will show, and every size the editor hit-tests and
// snaps with is the one the engine placed. A level the engine cannot place
// (a name with no image) leaves the Game empty and placementError() says why.
//
// Every call that changes the level is one step of the history, however
// many mouse samples a paint or a move takes.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "authoring/LayoutRules.h"
#include "game/LevelData.h"
#include "tools/edit/DocumentFile.h"
#include "tools/edit/EditElement.h"
#include "tools/edit/EditHistory.h"
#include "tools/edit/ElementHandles.h"
#include "tools/edit/Selection.h"

class Game;
class LookCatalog;

class LevelEditor {
 public:
  // Seconds between autosaves while there are unsaved changes.
  static constexpr double autosaveInterval = 30.0;

  // game: built from the tree; looks: of the same Game. Starts on a new level.
  LevelEditor(Game& game, const LookCatalog& looks);

  // --- The document ---
  // An empty level with the defaults of the shipped levels (see newLevel in
  // LevelEditor.cpp); the path is kept. Clears the history.
  void newLevel();
  // Opens a level file (any path): 0. A path where no file is yet starts a
  // new level that will be saved there: 1. -1, with openError() saying why
  // and the editor unchanged, for what is not a plain file (never waiting
  // on it) and a file the engine's loader refuses. A file that does not
  // read whole and clean as pwe-check reads it, one another editor has
  // open and one its permissions keep from being written are opened
  // read-only (readOnly()). Takes the file's lock, clears the history and
  // tells whether an autosave is offered (recoveryOffered).
  int open(const std::string& path);
  // A new level (newLevel) that belongs to no file: the file's lock is let
  // go and the first save asks where the level goes.
  void newUntitled();
  const std::string& openError() const { return openError_; }
  // Why a save must ask first (see DocumentFile); None when it need not.
  FileRisk readOnly() const { return file_.readOnly(); }
  std::string readOnlyReason() const { return file_.readOnlyReason(); }
  // Writes the level to path() through a temporary file renamed over it,
  // keeping the previous file as FILE~ on the first save of a session
  // (unless pwe.cfg's [editor] backups is 0). A risk (FileRisk) that
  // `accepted` does not name holds the save back: -1 with saveRisk() and
  // saveError() the question to ask; a failure is -1 with saveRisk() None
  // and saveError() why. Nothing on disk changed then.
  int save(unsigned accepted = 0);
  int saveAs(const std::string& path, unsigned accepted = 0);
  FileRisk saveRisk() const { return file_.risk(); }
  const std::string& saveError() const { return file_.error(); }
  const std::string& saveNote() const { return file_.note(); }  // "the previous file is kept as ..."
  // A new level saved into a folder without set.cfg starts its list,
  // titled so (DocumentFile::startListsTitled).
  void startListsTitled(const std::string& title) { file_.startListsTitled(title); }
  const std::string& path() const { return file_.path(); }
  // The document is saved to path from now on; nothing is read.
  void setPath(const std::string& path) { file_.retarget(path); }
  const LevelData& level() const { return level_; }
  bool modified() const { return history_.modified(); }
  // Changes with every edit, undo, redo, open and new level: results of the
  // live checks carry the revision they were made for.
  unsigned revision() const { return revision_; }
  const std::string& placementError() const { return placementError_; }
  // Why the latest edit was refused, naming the count or number the game's
  // loader would refuse ("Not placed: 10001 tiles, more than the 10000 a
  // level may hold"); handed over once, empty when none was. A refused
  // edit changes nothing (a paint or a fill keeps what fitted).
  std::string takeRefusal() { return std::exchange(refusal_, std::string()); }
  // What the latest edit did that the author may not expect ("Filled 3
  // rows deep: only the top row is claimable, ..."); handed over once.
  std::string takeNote() { return std::exchange(note_, std::string()); }
  // Places the level in the Game again (after a play-test ran in it).
  void restoreGame();

  // --- Autosave and recovery ---
  // Where this editor's autosave copy goes (DocumentFile::autosavePath).
  std::string autosavePath() const { return file_.autosavePath(); }
  // Call every frame with a clock in seconds: writes the autosave copy once
  // autosaveInterval has passed since the first unsaved change or the last
  // autosave. True when it wrote one; autosaveError() says why the last
  // attempt failed (empty once one succeeds).
  bool autosaveIfDue(double now);
  const std::string& autosaveError() const { return autosaveError_; }
  // After open: an autosave copy newer than the file (or of a file never
  // saved) reads whole and is there to be recovered.
  bool recoveryOffered() const { return recoveryOffered_; }
  // Why an autosave copy found was not offered, and where it is kept.
  const std::string& recoveryNote() const { return recoveryNote_; }
  // Loads the autosave copy as an unsaved change of the opened file. 0 or -1.
  int recover();
  // The offer declined: the copy is kept as FILE.autosave.declined until
  // the next save.
  void declineRecovery();
  // Removes the autosave copy this editor wrote or recovered (after a
  // save, when leaving cleanly or discarding the changes); an offer not
  // yet answered is declined. Never removes another editor's copy.
  void discardAutosave();

  // --- Tools ---
  EditTool tool() const { return tool_; }
  void setTool(EditTool tool);
  int look() const { return look_[toolIndex(tool_)]; }  // index into the catalog
  std::string lookName() const;  // of the current tool; empty for the start
  void cycleLook(int step);      // wraps around
  void setLook(int look);        // an index into the catalog; one it has not is ignored
  bool snapping() const { return snapping_; }
  void setSnapping(bool on) { snapping_ = on; }
  // The grid is the size of the current tile look.
  int gridWidth() const;
  int gridHeight() const;
  // The point, snapped down to the grid when snapping is on.
  void snap(int& x, int& y) const;

  // --- Queries ---
  // The element drawn topmost at the point (figures over tiles over
  // teleporters over items over chutes over ladders, later over earlier),
  // the player start included; an invalid reference when there is none.
  ElementRef elementAt(int x, int y) const;
  // Where the element is drawn; empty when the Game could not place it.
  Rect bounds(ElementRef element) const;

  // --- Edits ---
  // The shipped levels' floors lie this many rows apart: a new ladder or
  // chute with no floors to fit is this long.
  static constexpr int usualRise = 80;

  // The current tool's element at the point (snapped): tiles, ladders and
  // chutes by their top-left corner; items and teleporters at the cell's
  // left edge, figures centred in the cell, each standing on the first
  // floor under the cell (FloorLanding.h), or on the cell's bottom row
  // when there is none or when `free` (Shift held). A ladder is fitted to the floors around the
  // point: from the first floor at or below it up to the next floor above
  // (reaching usualRise up from that floor when there is none above); a
  // chute ends where its slide, played by the engine, first meets a floor.
  // Other fields come from the tool's template. The start tool moves the
  // start. Returns the element placed, or an invalid reference when an
  // equal one is already there.
  ElementRef place(int x, int y, bool free = false);
  // Where place(x, y) would draw the element, fitted as it would be: the
  // outline the cursor shows. Empty while a drag goes on, while the
  // selection tool is chosen, or when the level cannot be placed. Worked
  // out again only when the cell, the tool, its look, its template or the
  // level changes.
  Rect placementAt(int x, int y, bool free = false);
  // Tile tool drag: a row of tiles from each sample to the next, without gaps.
  void beginPaint(int x, int y);
  void paintTo(int x, int y);
  void endPaint();
  // The topmost element at the point, never the start. False when none.
  bool removeAt(int x, int y);
  // Tool and look of the topmost element, its record becoming the template.
  bool pickAt(int x, int y);
  // Drag with Shift: the topmost element follows the point by whole grid
  // cells when snapping (an enemy's patrol goes with it).
  bool beginMove(int x, int y);
  void moveTo(int x, int y);
  // An item, a teleporter, an enemy or the start moved alone (by itself
  // or as the whole selection) lands on the floor under where it was let
  // go, as place() sets it; `free` (Ctrl held) leaves it there.
  void endMove(bool free = false);
  bool moving() const { return moving_.valid() || movingGroup_; }
  // The level as a form changed it, as one step named `what` ("edit 17
  // tiles"). -1 when it holds a value out of the loader's bounds (nothing
  // changes then). A teleporter whose number the form changed takes its
  // looks along (LookCatalog::followNumber) unless the form changed them too.
  int replaceLevel(const LevelData& edited, const std::string& what = "edit properties");

  // --- Selection and group edits (LevelEditorGroups.cpp) ---
  // Each group edit is one step of the history, named by what it did to
  // how many elements ("paste 12 tiles").
  // The selection tool (the key S) is chosen; choosing a placing tool ends it.
  bool selecting() const { return selectTool_; }
  void chooseSelectTool();
  const Selection& selection() const { return selection_; }
  void selectAll();
  void clearSelection();
  // A drag with the selection tool selects the elements whose anchor
  // (anchorOf) lies in the rectangle from where it began to the point, on
  // top of those already selected when `add`. A drag no bigger than a
  // click selects the element drawn topmost there.
  void beginSelect(int x, int y, bool add);
  void selectTo(int x, int y);
  void endSelect();
  // The rectangle a selection or fill drag spans now; empty when none goes on.
  Rect band() const { return banding_ || filling_ ? band_ : Rect{}; }
  bool onSelection(int x, int y) const;  // the point lies on a selected element
  // The selection goes to the clipboard; the level is unchanged. How many went.
  int copy();
  bool cut();
  // The clipboard's top-left anchor lands on the point, snapped; what was
  // pasted becomes the selection.
  bool paste(int x, int y);
  // A copy of the selection right beside it, in whole grid cells when
  // snapping; the copy becomes the selection.
  bool duplicate();
  bool deleteSelection();
  // By (dx, dy) grid cells, or pixels when `pixels`.
  bool nudge(int dx, int dy, bool pixels);
  // A drag begun on the selection moves all of it (moveTo, endMove).
  bool beginGroupMove(int x, int y);
  // Ctrl and a drag with the tile tool: every grid cell of the rectangle
  // from the cell where it began to the point's gets a tile, but a cell
  // where a tile already lies. The tiles take the look and fields of the
  // first selected tile when tiles are selected, else the tool's; in a
  // fill more than one row deep only the top row is claimable, the rows
  // under it worth no points, and takeNote() says so.
  void beginFill(int x, int y);
  void fillTo(int x, int y);
  void endFill();
  bool filling() const { return filling_; }
  // The teleporters sharing a number with a selected one (those included).
  std::vector<ElementRef> linkedTeleporters() const;

  // --- Handles (LevelEditorHandles.cpp) ---
  // Of the one selected element (ElementHandles); none for a selection of
  // more, or of another kind.
  std::vector<Handle> handles() const;
  // A drag begun on a handle moves that end to the point, snapped.
  bool beginHandle(int x, int y);
  void handleTo(int x, int y);
  void endHandle();
  bool draggingHandle() const { return handleElement_.valid(); }

  // --- History ---
  bool canUndo() const { return history_.canUndo(); }
  bool canRedo() const { return history_.canRedo(); }
  // What undo would take back, what redo would give again ("paint 12 tiles").
  std::string undoName() const { return history_.undoName(); }
  std::string redoName() const { return history_.redoName(); }
  bool undo();
  bool redo();
  // The latest step is forgotten, as if it had never been made: not even
  // redo brings it back (the first click of a double click). False when
  // the current state is not the latest step.
  bool takeBack();

 private:
  struct Templates {
    TileSpec tile;
    LadderSpec ladder;
    ChuteSpec chute;
    EnemySpec enemy;
    ItemSpec item;
    TeleporterSpec teleporter;
  };

  // LevelEditor.cpp
  void changed();             // after any change: revision, Game placement
  void commit(const std::string& what);  // level_ becomes a step of the history
  void placeInGame();
  void startDocument(const LevelData& data);
  void endGestures();
  // LevelEditorFiles.cpp
  void saved();               // the level is what the file holds now
  // The engine's words when it stops placing the level; empty when placed.
  std::string placeLevel(const LevelData& level);
  // LevelEditorEdits.cpp
  void defaultTemplates();
  ElementRef topmost(int x, int y, bool withStart) const;
  // At a snapped or raw cell origin, into data (level_ or a copy of it);
  // always: even where an equal element is.
  ElementRef add(LevelData& data, int x, int y, bool always = false, bool free = false);
  ElementRef addStructure(LevelData& data, int x, int y, bool always);  // tile, ladder, chute
  TileSpec toolTile(int x, int y) const;  // the tile tool's tile, its corner at (x, y)
  ElementRef addStanding(LevelData& data, int x, const std::function<int(int)>& feetAt,
                         bool always);  // the others
  // LevelEditorPlacement.cpp
  void fitLadder(LadderSpec& ladder) const;
  void fitChute(ChuteSpec& chute);
  bool paintCell(int column, int row);
  void shift(ElementRef element, int dx, int dy);
  void landOnFloor(ElementRef element);  // a standing kind; see endMove
  // LevelEditorGroups.cpp
  void selectBand();
  // After a paste of `copied`: the looks of each renumbered teleporter
  // follow its number (LookCatalog::followNumber).
  void followNumbers(const Clipboard& copied);
  bool removeSelection(const char* verb);  // the step's name: "cut", "delete"
  bool tileLiesOn(const Rect& cell) const;
  // Whether data has no room for one more element of kind; when data is
  // the edited level, a refusal says why.
  bool full(const LevelData& data, EditTool kind);
  int fillRectangle();

  Game& game_;
  const LookCatalog& looks_;
  EditHistory history_;        // committed states; level_ is ahead of it during a gesture
  LevelData level_;
  DocumentFile file_;
  std::string openError_;
  unsigned revision_ = 0;
  std::string placementError_;
  std::string refusal_;
  std::string note_;
  EditTool tool_ = ElementKind::Tile;
  int look_[editToolCount] = {};
  bool snapping_ = true;
  Templates templates_;

  // Gestures in progress, each ending in one history step.
  bool gestureChanged_ = false;
  bool painting_ = false;
  int paintOriginX_ = 0, paintOriginY_ = 0;  // where the paint grid is anchored
  int paintColumn_ = 0, paintRow_ = 0;       // last painted cell of that grid
  ElementRef moving_;
  int moveX_ = 0, moveY_ = 0;       // point the element was last moved to
  bool movingGroup_ = false;        // the move is of the whole selection

  bool selectTool_ = false;
  Selection selection_;
  Clipboard clipboard_;
  bool banding_ = false;            // a selection drag goes on
  bool filling_ = false;            // a fill drag goes on
  Selection bandBase_;              // what was selected before an adding drag
  int bandX_ = 0, bandY_ = 0;       // where the drag began
  Rect band_;                       // what it spans now
  ElementRef handleElement_;        // whose handle is dragged; invalid: none
  HandleEnd handleEnd_ = HandleEnd::Top;

  // What placementAt showed last, and for what.
  struct PreviewKey {
    bool valid = false;
    int x = 0, y = 0;  // the cell
    int tool = 0, look = 0;
    unsigned revision = 0;
    bool free = false;
    bool operator==(const PreviewKey& o) const {
      return valid == o.valid && x == o.x && y == o.y && tool == o.tool && look == o.look &&
             revision == o.revision && free == o.free;
    }
  };
  PreviewKey previewKey_;
  Rect preview_;

  bool recoveryOffered_ = false;
  std::string recoveryNote_;
  std::string ownAutosave_;         // the autosave copy written or recovered; removed when done
  std::string autosaveError_;
  double unsavedSince_ = -1.0;      // clock of the first change not autosaved; -1: none
  unsigned autosaved_ = 0;          // revision last written to the autosave copy
};
