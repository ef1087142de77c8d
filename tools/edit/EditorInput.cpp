#include "tools/edit/EditorInput.h"

#include <allegro.h>

#include <atomic>
#include <cstdlib>
#include <utility>

#include "tools/edit/LevelEditor.h"

namespace {

// Set from Allegro's input thread, where nothing but setting bits is safe.
std::atomic<int> latchedPresses{0};
std::atomic<bool> dialogEnded{false};

// The presses noted and not yet read: a ring the input thread writes and
// the main thread reads, each side moving its own count. A press that
// finds the ring full goes unnoted.
constexpr unsigned pressSlots = 64;
std::atomic<int> pressScan[pressSlots];
std::atomic<int> pressShifts[pressSlots];
std::atomic<unsigned> pressesNoted{0};
std::atomic<unsigned> pressesTaken{0};

int onKey(int key, int* scancode) {
  const unsigned noted = pressesNoted.load(std::memory_order_relaxed);
  if (noted - pressesTaken.load(std::memory_order_acquire) < pressSlots) {
    pressScan[noted % pressSlots].store(*scancode, std::memory_order_relaxed);
    pressShifts[noted % pressSlots].store(key_shifts, std::memory_order_relaxed);
    pressesNoted.store(noted + 1, std::memory_order_release);
  }
  return key;
}

void onMouse(int flags) {
  int bits = 0;
  if ((flags & MOUSE_FLAG_LEFT_DOWN) != 0) bits |= 1;
  if ((flags & MOUSE_FLAG_RIGHT_DOWN) != 0) bits |= 2;
  if ((flags & MOUSE_FLAG_MIDDLE_DOWN) != 0) bits |= 4;
  if (bits != 0) latchedPresses.fetch_or(bits);
}

}  // namespace

KeyCommand withSelection(const KeyCommand& key, bool anySelected) {
  if (key.command != EditorCommand::Leave || !anySelected) return key;
  KeyCommand cleared;
  cleared.command = EditorCommand::ClearSelection;
  return cleared;
}

void watchKeyPresses() { keyboard_ucallback = onKey; }

// Presses older than the one read were read by a dialog's own loop: they
// are passed over.
int modifiersAtPress(int code) {
  const int scan = code >> 8;
  const unsigned noted = pressesNoted.load(std::memory_order_acquire);
  for (unsigned taken = pressesTaken.load(std::memory_order_relaxed); taken != noted;) {
    const unsigned slot = taken++ % pressSlots;
    if (pressScan[slot].load(std::memory_order_relaxed) != scan) continue;
    const int shifts = pressShifts[slot].load(std::memory_order_relaxed);
    pressesTaken.store(taken, std::memory_order_release);
    return shifts;
  }
  return key_shifts;
}

void clearKeys() {
  clear_keybuf();
  pressesTaken.store(pressesNoted.load(std::memory_order_acquire), std::memory_order_release);
}

namespace {

// Flags of the box's own. The box a dialog starts with has the focus
// without being told it got it: it is entered at its first message.
constexpr int wholeSelected = D_USER;
constexpr int entered = D_USER << 1;

bool selected(const DIALOG* d) { return (d->flags & wholeSelected) != 0; }

// The selected text is gone; what replaces it is typed at the start.
void emptyBox(DIALOG* d) {
  static_cast<char*>(d->dp)[0] = '\0';
  d->d2 = 0;
  d->flags &= ~wholeSelected;
}

}  // namespace

int selectingEditProc(int msg, DIALOG* d, int c) {
  const int scan = c >> 8;
  if (msg == MSG_GOTFOCUS || ((d->flags & D_GOTFOCUS) != 0 && (d->flags & entered) == 0)) {
    d->flags |= wholeSelected | entered;
  }
  switch (msg) {
    case MSG_LOSTFOCUS: d->flags &= ~(wholeSelected | entered); break;
    case MSG_CLICK: d->flags &= ~wholeSelected; break;
    case MSG_DRAW:
      if (selected(d)) {
        const int fg = std::exchange(d->fg, makecol(255, 255, 255));
        const int bg = std::exchange(d->bg, makecol(50, 90, 190));
        const int result = d_edit_proc(msg, d, c);
        d->fg = fg;
        d->bg = bg;
        return result;
      }
      break;
    case MSG_CHAR:
      if (!selected(d)) break;
      if (scan == KEY_BACKSPACE || scan == KEY_DEL) {
        emptyBox(d);
        object_message(d, MSG_DRAW, 0);
        return D_USED_CHAR;
      }
      if (scan == KEY_LEFT || scan == KEY_RIGHT || scan == KEY_HOME || scan == KEY_END) {
        d->flags &= ~wholeSelected;
      } else if ((c & 0xff) >= ' ') {
        emptyBox(d);
      }
      break;
    case MSG_UCHAR:
      if (selected(d) && c >= ' ') emptyBox(d);
      break;
    default: break;
  }
  return d_edit_proc(msg, d, c);
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
  // With Ctrl the wheel zooms, which is the window's.
  if (sample.wheel != before.wheel && !sample.ctrl) {
    editor.cycleLook(sample.wheel > before.wheel ? 1 : -1);
  }
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
    // Shift over nothing places where the mouse is, never on a floor.
    if (editor.beginMove(sample.x, sample.y)) drag_ = Drag::Move;
    else if (editor.tool() != ElementKind::Tile) editor.place(sample.x, sample.y, true);
  } else if (editor.tool() == ElementKind::Tile && sample.ctrl) {
    editor.beginFill(sample.x, sample.y);
    drag_ = Drag::Fill;
  } else if (editor.tool() == ElementKind::Tile) {
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
    case Drag::Move: editor.endMove(last_.ctrl); break;
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
