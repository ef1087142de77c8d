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

}  // namespace

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
