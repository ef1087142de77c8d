#pragma once
// One run of the editor's window: reads the keys and the mouse, hands them
// to the editing model, keeps the live checks on the level as it stands,
// and draws the game's frame with the marks, the last play-test's path,
// the cursor and the status bar, until the user leaves.
#include <chrono>
#include <string>
#include <vector>

#include "tools/edit/EditorInput.h"
#include "tools/edit/EditorPalette.h"
#include "tools/edit/EditorPlaytest.h"
#include "tools/edit/EditorStatusBar.h"
#include "tools/edit/RouteMarks.h"
#include "tools/edit/ToolStrip.h"

class EditorWindow;
class Game;
class LevelEditor;
class LiveChecks;
class LookCatalog;

class EditorSession {
 public:
  EditorSession(Game& game, const LookCatalog& looks, LevelEditor& editor, LiveChecks& checks,
                EditorWindow& window);

  // Says why the opened file is read-only or an autosave copy was set
  // aside, and offers the autosave copy of the opened file when it is newer.
  void offerRecovery();
  // The folder of the set laid over the tree (MediaPlace::setPath); empty
  // for none. Page Up and Page Down walk its list, the title names it.
  void setLevelSet(const std::string& folder) { setFolder_ = folder; }
  void run();  // until the user leaves

 private:
  void readKeys();
  void readMouse();
  void command(const KeyCommand& key);
  // EditorSessionGroups.cpp: the selection's keys, each saying what it did.
  void groupCommand(const KeyCommand& key);
  std::string selectionLook() const;  // "3 selected"; empty for none
  void followChecks();
  void draw();

  // EditorSessionFiles.cpp
  void save();
  void saveAs();
  void saveTo(const std::string& path);
  void leave();
  void newLevel();
  void openLevel();
  void openSetLevel(int step);  // Page Up (-1), Page Down (1)
  void openPath(const std::string& path);  // the unsaved changes settled
  std::string setPlace();  // "Moss Caverns 2/4", read again when the file changes
  // Before another level takes this one's place: false when its unsaved
  // changes stay (the author said so, or saving them failed).
  bool settleUnsaved(const std::string& question);
  // EditorSession.cpp
  bool keyForPanels(const KeyCommand& key);  // the help and the palette take it
  bool mouseForPanels(const MouseSample& sample);  // true: on a panel, not for the map
  void layOutPalette();
  void elementProperties();
  void levelProperties();
  void playtest(bool fromCursor);
  // F7: the route of the level as it stands, once the live checks have
  // found it; until then the status bar says it is being looked for.
  void askForRoute();
  void playRouteWhenFound();
  void afterPlay(const PlaytestOutcome& outcome, const char* what);  // says how it ended
  void notice(const std::string& text);
  void notice(const std::string& text, int lastsMilliseconds);
  void undo();  // and says what it took back
  void redo();
  void updateTitle();
  void zoomBy(int step);  // and says the zoom it came to
  std::string fileLabel() const;  // "level.inf (read-only)"
  void keepForSignals();
  void autosave();
  int milliseconds() const;

  Game& game_;
  const LookCatalog& looks_;
  LevelEditor& editor_;
  LiveChecks& checks_;
  EditorWindow& window_;

  MouseGestures gestures_;
  std::vector<StatusMessage> groups_;  // the live checks' findings as messages
  MessageCycle messages_;              // which of them is on show
  int mouseX_ = 0;  // last sample, game-area pixels
  int mouseY_ = 0;
  int mouseButtons_ = 0;            // held at the last sample
  int wheel_ = 0;                   // mouse_z at the last sample
  int helpPage_ = -1;               // of the F1 help on show; -1: none
  bool paletteShown_ = false;
  PaletteLayout palette_;
  ToolStripLayout strip_;           // beside the map
  bool gridShown_ = false;
  bool done_ = false;
  unsigned checkedRevision_ = 0;    // the revision the checks were last started on
  bool routeAsked_ = false;         // F7 waits for the checks of this revision
  std::vector<PathPoint> path_;     // of the last play-test or route
  unsigned pathRevision_ = 0;       // shown while the level is still this revision
  std::vector<RouteMark> routeMarks_;  // on path_ when it is the route's; shown with it
  std::string notice_;
  int noticeUntil_ = 0;             // milliseconds
  std::string title_;
  std::string setFolder_;
  std::string setPlaceFor_;         // the path setPlace_ was found for
  std::string setPlace_;
  unsigned signalRevision_ = 0;     // what keepForSignals handed on last
  bool signalUnsaved_ = false;
  std::string signalCopy_;
  std::string autosaveErrorTold_;   // the reason a dialog gave last
  std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};
