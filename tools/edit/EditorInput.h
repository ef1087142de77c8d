#pragma once
// The editor's keys and mouse. Keys arrive as readkey() codes (scan code in
// the high byte, character in the low byte) with the modifier flags of
// key_shifts and are looked up in the key table (EditorKeys.h); under X11
// the key[] array is no reliable witness of a press, so commands are never
// read from it. The mouse is sampled once a frame;
// the gestures (a click, a paint or move drag, a double click) are made out
// of the edges between samples.
#include "tools/edit/EditElement.h"
#include "tools/edit/EditorKeys.h"  // the commands keys give: commandForKey

class LevelEditor;
struct DIALOG;

// Escape lets go of a selection first; only with nothing selected does it
// leave.
KeyCommand withSelection(const KeyCommand& command, bool anySelected);

struct MouseSample {
  int x = 0;          // screen pixels of the game area
  int y = 0;
  int buttons = 0;    // mouse_b: 1 left, 2 right, 4 middle
  int pressed = 0;    // buttons pressed since the last sample, held or not (same bits)
  int wheel = 0;      // mouse_z, a running count
  bool shift = false; // held while the sample was taken
  bool ctrl = false;  // held while the sample was taken
  int time = 0;       // milliseconds, for double clicks
  bool afterDialog = false;  // a dialog or a play-test had the mouse since the last sample
};

// A click shorter than a frame would fall between two samples of mouse_b,
// so presses are also caught as Allegro reports them, from its input
// thread. takeMousePresses() hands over those since the last call.
void watchMousePresses();
int takeMousePresses();

// A key is read some frames after it went down, by when a quick chord may
// have let go of its modifiers: each press is noted with key_shifts as it
// was at the press, from Allegro's input thread. watchKeyPresses() starts
// the noting; modifiersAtPress(code) gives, for the readkey() code just
// read, the modifiers of its press (key_shifts as it is now when the press
// went unnoted). clearKeys() empties Allegro's key buffer and the notes.
void watchKeyPresses();
int modifiersAtPress(int code);
void clearKeys();

// A form's edit box (Allegro's d_edit_proc) that selects its whole text
// when the keyboard enters it, as every form does: the first character
// typed, Backspace or Delete replaces the text; an arrow, Home, End or a
// click lets go of the selection and edits the text where the cursor goes.
// A selected text is drawn white on blue.
int selectingEditProc(int msg, DIALOG* d, int c);

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
  // (the tile tool starts painting, with Ctrl a fill, Shift starts a
  // move), dragging goes on painting or moving, a right press deletes, a
  // middle press picks, the wheel cycles looks. With the selection tool a
  // left press on a handle drags it, on the selection moves it, elsewhere
  // starts a selecting drag (with Shift adding to the selection).
  // Presses outside the game area (inLevel false) only
  // end what is in progress. A double click opens the element that was
  // under the cursor before its first click, whose edit is taken back.
  // After a dialog nothing starts until every button has been let go.
  // Returns whether the level may have changed.
  bool update(const MouseSample& sample, bool inLevel, LevelEditor& editor,
              MouseRequest& request);
  bool dragging() const { return drag_ != Drag::None; }

 private:
  void leftPress(const MouseSample& sample, LevelEditor& editor, MouseRequest& request);
  void leftRelease(LevelEditor& editor);
  void clickDone(const LevelEditor& editor);

  MouseSample last_;
  bool started_ = false;  // a sample has been seen (the wheel counts from it)
  bool waitingForRelease_ = false;  // a dialog ended with a button perhaps still down
  enum class Drag { None, Paint, Move, Select, Fill, Handle };
  void dragTo(const MouseSample& sample, LevelEditor& editor);
  void startDrag(const MouseSample& sample, LevelEditor& editor);
  void startSelectionDrag(const MouseSample& sample, LevelEditor& editor);

  Drag drag_ = Drag::None;  // the left-button drag going on
  int lastClickTime_ = -100000;
  int lastClickX_ = 0;
  int lastClickY_ = 0;
  unsigned revisionBeforeClick_ = 0;  // the level's revision as the last click began
  unsigned revisionAfterClick_ = 0;   // and as its edit was done
};
