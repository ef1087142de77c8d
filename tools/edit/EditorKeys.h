#pragma once
// Every key chord and mouse action of the editor, with the command it gives
// and the words that explain it. The keys are dispatched through this
// table, the F1 help lists it, and the key sections of the authoring guide
// and the manual page are its printout (pwe-edit --keys): a key is added,
// changed or explained here and nowhere else.
#include <string>
#include <vector>

#include "tools/edit/EditElement.h"

enum class EditorCommand {
  None,
  ChooseTool,      // with the tool
  ChooseSelectTool,
  PreviousLook,
  NextLook,
  ShowPalette,     // or hide it
  ToggleSnap,
  ToggleGrid,      // drawing the grid over the map
  Undo,
  Redo,
  NewLevel,
  OpenLevel,
  Save,
  SaveAs,
  ZoomIn,             // the window a scale larger
  ZoomOut,
  PreviousSetLevel,   // the level before this one in its set's list
  NextSetLevel,
  ElementProperties,  // of the element under the cursor
  LevelProperties,
  NextMessage,
  SelectAll,
  ClearSelection,
  Copy,
  Cut,
  Paste,
  Duplicate,
  DeleteSelection,
  Nudge,              // with the step
  ShowHelp,           // or its next page
  Playtest,           // from the start position
  PlaytestFromCursor,
  PlayRoute,          // the route pwe-check finds
  Leave,
};

struct KeyCommand {
  EditorCommand command = EditorCommand::None;
  EditTool tool = ElementKind::Tile;  // for ChooseTool
  int dx = 0;                      // for Nudge: -1, 0 or 1 across
  int dy = 0;                      // and down
  bool pixel = false;              // Nudge by a pixel, not a grid step
};

// Whether a chord wants Shift held, let go, or does not mind.
enum class ShiftState { Without, With, Either };

struct KeyBinding {
  const char* chord;       // as the help and the docs name it: "Ctrl+Shift+S"
  const char* help;        // what it does, one sentence without its full stop
  EditorCommand command;
  bool mouse = false;      // a mouse action: listed, its gesture is MouseGestures'
  bool ctrl = false;       // with Ctrl: a letter's control code
  ShiftState shift = ShiftState::Either;
  int scan = 0;            // KEY_*, or 0 for a key known by its character
  int scanAlso = 0;        // a second key that does the same (the keypad's Enter)
  int character = 0;       // a letter in lower case, a digit or a sign
  int count = 1;           // keys in a row from scan or character (the tools, the arrows)
  // With something selected the chord does this instead (Escape).
  EditorCommand withSelection = EditorCommand::None;
};

const std::vector<KeyBinding>& editorKeys();

// The row of editorKeys() a readkey() code (scan code in the high byte,
// character in the low) with key_shifts chooses; -1 for none. A mouse row
// is never chosen.
int bindingFor(int key, int shifts);
bool bindingMatches(const KeyBinding& binding, int key, int shifts);

// key: a readkey() code; shifts: key_shifts as it was when the key went down;
// selection: something is selected.
KeyCommand commandForKey(int key, int shifts, bool selection = false);

// The table for the authoring guide (Markdown) and for the manual page
// (its KEYS and MOUSE sections), as pwe-edit --keys prints them.
std::string keysMarkdown();
std::string keysManual();
