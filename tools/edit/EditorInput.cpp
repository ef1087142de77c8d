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
KeyCommand controlCommand(int scan, int character) {
  const int ctrlS = 'S' - '@';
  const int ctrlY = 'Y' - '@';
  const int ctrlZ = 'Z' - '@';
  if (character == ctrlZ || scan == KEY_Z) return command(EditorCommand::Undo);
  if (character == ctrlY || scan == KEY_Y) return command(EditorCommand::Redo);
  if (character == ctrlS || scan == KEY_S) return command(EditorCommand::Save);
  return command(EditorCommand::None);
}

bool isControlChord(int character) {
  return character == 'S' - '@' || character == 'Y' - '@' || character == 'Z' - '@';
}

KeyCommand scanCommand(int scan) {
  switch (scan) {
    case KEY_ENTER:
    case KEY_ENTER_PAD: return command(EditorCommand::ElementProperties);
    case KEY_F5: return command(EditorCommand::Playtest);
    case KEY_F6: return command(EditorCommand::PlaytestFromCursor);
    case KEY_F7: return command(EditorCommand::PlayRoute);
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
  const KeyCommand byScan = scanCommand(scan);
  if (byScan.command != EditorCommand::None) return byScan;
  return characterCommand(character);
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
  } else if (leftHeld && painting_) {
    editor.paintTo(sample.x, sample.y);
    changed = true;
  } else if (leftHeld && moving_) {
    editor.moveTo(sample.x, sample.y);
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
  if (sample.shift) {
    moving_ = editor.beginMove(sample.x, sample.y);
  } else if (editor.tool() == EditTool::Tile) {
    editor.beginPaint(sample.x, sample.y);
    painting_ = true;
  } else {
    editor.place(sample.x, sample.y);
  }
  if (!dragging()) clickDone(editor);
}

void MouseGestures::leftRelease(LevelEditor& editor) {
  if (painting_) editor.endPaint();
  if (moving_) editor.endMove();
  painting_ = false;
  moving_ = false;
  clickDone(editor);
}

void MouseGestures::clickDone(const LevelEditor& editor) {
  revisionAfterClick_ = editor.revision();
}
