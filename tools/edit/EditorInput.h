#pragma once
// The editor's keys and mouse. Keys arrive as readkey() codes (scan code in
// the high byte, character in the low byte) with the modifier flags of
// key_shifts; under X11 the key[] array is no reliable witness of a press,
// so commands are never read from it. The mouse is sampled once a frame;
// the gestures (a click, a paint or move drag, a double click) are made out
// of the edges between samples.
#include "tools/edit/EditElement.h"

class LevelEditor;

enum class EditorCommand {
  None,
  ChooseTool,      // with the tool
  PreviousLook,
  NextLook,
  ToggleSnap,
  Undo,
  Redo,
  Save,
  ElementProperties,  // of the element under the cursor
  LevelProperties,
  NextMessage,
  Playtest,           // from the start position
  PlaytestFromCursor,
  PlayRoute,          // the route the live checks found
  Leave,
};

struct KeyCommand {
  EditorCommand command = EditorCommand::None;
  EditTool tool = EditTool::Tile;  // for ChooseTool
};

// key: a readkey() code; shifts: key_shifts as it was when it was read.
KeyCommand commandForKey(int key, int shifts);

struct MouseSample {
  int x = 0;          // screen pixels of the game area
  int y = 0;
  int buttons = 0;    // mouse_b: 1 left, 2 right, 4 middle
  int pressed = 0;    // buttons pressed since the last sample, held or not (same bits)
  int wheel = 0;      // mouse_z, a running count
  bool shift = false; // held while the sample was taken
  int time = 0;       // milliseconds, for double clicks
  bool afterDialog = false;  // a dialog or a play-test had the mouse since the last sample
};

// A click shorter than a frame would fall between two samples of mouse_b,
// so presses are also caught as Allegro reports them, from its input
// thread. takeMousePresses() hands over those since the last call.
void watchMousePresses();
int takeMousePresses();

// A dialog runs its own loop on the same mouse, and the presses it took
// were latched all the same. Called when a dialog (or a play-test) gives
// the mouse back: the latched presses are dropped, and takeDialogEnded()
// tells the next sample, which then starts nothing until every button is up.
void mouseBackFromDialog();
bool takeDialogEnded();

// What a sample asks of the editor beyond the edits it makes itself.
enum class MouseRequest { None, Properties };

class MouseGestures {
 public:
  // Two left presses this close in time and place are a double click.
  static constexpr int doubleClickMilliseconds = 400;
  static constexpr int doubleClickDistance = 3;

  // Hands the gestures of the sample to the editor: a left press places
  // (the tile tool starts painting, Shift starts a move), dragging goes on
  // painting or moving, a right press deletes, a middle press picks, the
  // wheel cycles looks. Presses outside the game area (inLevel false) only
  // end what is in progress. A double click opens the element that was
  // under the cursor before its first click, whose edit is taken back.
  // After a dialog nothing starts until every button has been let go.
  // Returns whether the level may have changed.
  bool update(const MouseSample& sample, bool inLevel, LevelEditor& editor,
              MouseRequest& request);
  bool dragging() const { return painting_ || moving_; }

 private:
  void leftPress(const MouseSample& sample, LevelEditor& editor, MouseRequest& request);
  void leftRelease(LevelEditor& editor);
  void clickDone(const LevelEditor& editor);

  MouseSample last_;
  bool started_ = false;  // a sample has been seen (the wheel counts from it)
  bool waitingForRelease_ = false;  // a dialog ended with a button perhaps still down
  bool painting_ = false;
  bool moving_ = false;
  int lastClickTime_ = -100000;
  int lastClickX_ = 0;
  int lastClickY_ = 0;
  unsigned revisionBeforeClick_ = 0;  // the level's revision as the last click began
  unsigned revisionAfterClick_ = 0;   // and as its edit was done
};
