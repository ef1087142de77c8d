#include "tools/edit/EditorInput.h"

#include <allegro.h>

#include <atomic>
#include <cstdlib>

#include "tools/edit/LevelEditor.h"

namespace {

// Set from Allegro's input thread, where nothing but setting bits is safe.
std::atomic<int> latchedPresses{0};
std::atomic<bool> dialogEnded{false};

void onMouse(int flags) {
  int bits = 0;
  if ((flags & MOUSE_FLAG_LEFT_DOWN) != 0) bits |= 1;
  if ((flags & MOUSE_FLAG_RIGHT_DOWN) != 0) bits |= 2;
  if ((flags & MOUSE_FLAG_MIDDLE_DOWN) != 0) bits |= 4;
  if (bits != 0) latchedPresses.fetch_or(bits);
}

KeyCommand command(EditorCommand c) { return KeyCommand{c, EditTool::Tile}; }

// Ctrl with a letter gives its control code (Ctrl+Z is 26) in the key's
// character, fixed when the key went down; key_shifts is read later, by
// when a quick chord may have let go of Ctrl, so the code decides first.
struct ControlChord {
  char letter;
  int scan;
  EditorCommand command;
};

constexpr ControlChord controlChords[] = {
    {'Z', KEY_Z, EditorCommand::Undo},      {'Y', KEY_Y, EditorCommand::Redo},
    {'S', KEY_S, EditorCommand::Save},      {'A', KEY_A, EditorCommand::SelectAll},
    {'C', KEY_C, EditorCommand::Copy},      {'X', KEY_X, EditorCommand::Cut},
    {'V', KEY_V, EditorCommand::Paste},     {'D', KEY_D, EditorCommand::Duplicate},
};

constexpr int controlCode(char letter) { return letter - '@'; }

KeyCommand controlCommand(int scan, int character) {
  for (const ControlChord& chord : controlChords) {
    if (character == controlCode(chord.letter)) return command(chord.command);
  }
  for (const ControlChord& chord : controlChords) {
    if (scan == chord.scan) return command(chord.command);
  }
  return command(EditorCommand::None);
}

bool isControlChord(int character) {
  for (const ControlChord& chord : controlChords) {
    if (character == controlCode(chord.letter)) return true;
  }
  return false;
}

// One grid cell a press, or with Shift one pixel.
KeyCommand nudge(int dx, int dy, int shifts) {
  KeyCommand c = command(EditorCommand::Nudge);
  c.dx = dx;
  c.dy = dy;
  c.pixels = (shifts & KB_SHIFT_FLAG) != 0;
  return c;
}

KeyCommand scanCommand(int scan, int shifts) {
  switch (scan) {
    case KEY_DEL: return command(EditorCommand::DeleteSelection);
    case KEY_LEFT: return nudge(-1, 0, shifts);
    case KEY_RIGHT: return nudge(1, 0, shifts);
    case KEY_UP: return nudge(0, -1, shifts);
    case KEY_DOWN: return nudge(0, 1, shifts);
    case KEY_ENTER:
    case KEY_ENTER_PAD: return command(EditorCommand::ElementProperties);
    case KEY_F5: return command(EditorCommand::Playtest);
    case KEY_F6: return command(EditorCommand::PlaytestFromCursor);
    case KEY_ESC: return command(EditorCommand::Leave);
    default: return command(EditorCommand::None);
  }
}

KeyCommand characterCommand(int character) {
  if (character >= '1' && character < '1' + editToolCount) {
    return KeyCommand{EditorCommand::ChooseTool, toolAt(character - '1')};
  }
  switch (character) {
    case '[': return command(EditorCommand::PreviousLook);
    case ']': return command(EditorCommand::NextLook);
    case 'g':
    case 'G': return command(EditorCommand::ToggleSnap);
    case 'l':
    case 'L': return command(EditorCommand::LevelProperties);
    case 'n':
    case 'N': return command(EditorCommand::NextMessage);
    case 's':
    case 'S': return command(EditorCommand::ChooseSelectTool);
    default: return command(EditorCommand::None);
  }
}

}  // namespace

KeyCommand commandForKey(int key, int shifts) {
  const int scan = key >> 8;
  const int character = key & 0xff;
  if ((shifts & KB_CTRL_FLAG) != 0 || isControlChord(character)) {
    return controlCommand(scan, character);
  }
  const KeyCommand byScan = scanCommand(scan, shifts);
  if (byScan.command != EditorCommand::None) return byScan;
  return characterCommand(character);
}

KeyCommand withSelection(const KeyCommand& key, bool anySelected) {
  if (key.command != EditorCommand::Leave || !anySelected) return key;
  return command(EditorCommand::ClearSelection);
}

void watchMousePresses() { mouse_callback = onMouse; }

int takeMousePresses() { return latchedPresses.exchange(0); }

void mouseBackFromDialog() {
  latchedPresses.store(0);
  dialogEnded.store(true);
}

bool takeDialogEnded() { return dialogEnded.exchange(false); }

bool MouseGestures::update(const MouseSample& sample, bool inLevel, LevelEditor& editor,
                           MouseRequest& request) {
  request = MouseRequest::None;
  bool changed = false;
  if (sample.afterDialog) {
    // What the dialog's presses and releases began is none of the map's: a
    // drag from before it ends where it was, no click pairs across it, and
    // the wheel counts afresh.
    if (dragging()) {
      leftRelease(editor);
      changed = true;
    }
    waitingForRelease_ = true;
    started_ = false;
    lastClickTime_ = -doubleClickMilliseconds - 1;
  }
  // Before the first sample nothing was held, and the wheel counts from it.
  MouseSample before = last_;
  if (!started_) {
    before = MouseSample{};
    before.wheel = sample.wheel;
  }
  started_ = true;
  last_ = sample;
  if (waitingForRelease_) {
    if (sample.buttons != 0) return changed;
    waitingForRelease_ = false;
  }
  // A latched press of a button already held at the last sample is that
  // same press, reported a moment after mouse_b showed it.
  const int pressed = (sample.buttons | sample.pressed) & ~before.buttons;
  const bool leftHeld = (sample.buttons & 1) != 0;

  if (!leftHeld && dragging()) {
    leftRelease(editor);
    changed = true;
  } else if (leftHeld && dragging()) {
    dragTo(sample, editor);
    changed = true;
  }
  if (!inLevel) return changed;

  if ((pressed & 1) != 0) {
    leftPress(sample, editor, request);
    changed = true;
  }
  if ((pressed & 2) != 0) changed = editor.removeAt(sample.x, sample.y) || changed;
  if ((pressed & 4) != 0) editor.pickAt(sample.x, sample.y);
  if (sample.wheel != before.wheel) editor.cycleLook(sample.wheel > before.wheel ? 1 : -1);
  return changed;
}

void MouseGestures::leftPress(const MouseSample& sample, LevelEditor& editor,
                              MouseRequest& request) {
  const bool again = sample.time - lastClickTime_ <= doubleClickMilliseconds &&
                     std::abs(sample.x - lastClickX_) <= doubleClickDistance &&
                     std::abs(sample.y - lastClickY_) <= doubleClickDistance;
  lastClickTime_ = sample.time;
  lastClickX_ = sample.x;
  lastClickY_ = sample.y;
  if (again) {
    // A double click opens what was under the cursor: the edit its first
    // click made is taken back, unless something changed the level since.
    lastClickTime_ = -doubleClickMilliseconds - 1;
    if (revisionAfterClick_ != revisionBeforeClick_ && editor.revision() == revisionAfterClick_) {
      editor.takeBack();
    }
    request = MouseRequest::Properties;
    return;
  }
  revisionBeforeClick_ = editor.revision();
  startDrag(sample, editor);
  if (!dragging()) clickDone(editor);
}

void MouseGestures::startDrag(const MouseSample& sample, LevelEditor& editor) {
  if (editor.selecting()) {
    startSelectionDrag(sample, editor);
  } else if (sample.shift) {
    if (editor.beginMove(sample.x, sample.y)) drag_ = Drag::Move;
  } else if (editor.tool() == EditTool::Tile && sample.ctrl) {
    editor.beginFill(sample.x, sample.y);
    drag_ = Drag::Fill;
  } else if (editor.tool() == EditTool::Tile) {
    editor.beginPaint(sample.x, sample.y);
    drag_ = Drag::Paint;
  } else {
    editor.place(sample.x, sample.y);
  }
}

// A handle is grabbed before the element under it, and the selection
// before what lies around it; Shift always gathers more.
void MouseGestures::startSelectionDrag(const MouseSample& sample, LevelEditor& editor) {
  if (!sample.shift && editor.beginHandle(sample.x, sample.y)) {
    drag_ = Drag::Handle;
  } else if (!sample.shift && editor.beginGroupMove(sample.x, sample.y)) {
    drag_ = Drag::Move;
  } else {
    editor.beginSelect(sample.x, sample.y, sample.shift);
    drag_ = Drag::Select;
  }
}

void MouseGestures::dragTo(const MouseSample& sample, LevelEditor& editor) {
  switch (drag_) {
    case Drag::Paint: editor.paintTo(sample.x, sample.y); break;
    case Drag::Move: editor.moveTo(sample.x, sample.y); break;
    case Drag::Select: editor.selectTo(sample.x, sample.y); break;
    case Drag::Fill: editor.fillTo(sample.x, sample.y); break;
    case Drag::Handle: editor.handleTo(sample.x, sample.y); break;
    case Drag::None: break;
  }
}

void MouseGestures::leftRelease(LevelEditor& editor) {
  switch (drag_) {
    case Drag::Paint: editor.endPaint(); break;
    case Drag::Move: editor.endMove(); break;
    case Drag::Select: editor.endSelect(); break;
    case Drag::Fill: editor.endFill(); break;
    case Drag::Handle: editor.endHandle(); break;
    case Drag::None: break;
  }
  drag_ = Drag::None;
  clickDone(editor);
}

void MouseGestures::clickDone(const LevelEditor& editor) {
  revisionAfterClick_ = editor.revision();
}
