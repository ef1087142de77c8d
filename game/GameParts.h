#pragma once
// The parts this engine adds to a Game beyond the fields of a run: each
// lives between ticks or only in drawing, so a tick neither reads nor
// writes any of them (authoring/TickLedger.cpp holds the engine to that).
#include <allegro.h>

#include <cstdint>
#include <vector>

#include "game/DisplayKey.h"
#include "graphics/Resources.h"
#include "player/Gamepad.h"
#include "player/InputGate.h"
#include "presentation/FramePresenter.h"
#include "presentation/KeptPicture.h"
#include "shell/FocusLoss.h"

// What the last frame was drawn from, so that the next draws only what
// changed (presentation/FrameComposer.cpp).
struct FrameCache {
  // Background, ladders, chutes, items, teleporters and floor tiles as
  // last composed, and what they were composed from.
  BitmapPtr staticLayers;
  std::vector<std::intptr_t> staticLayersKey;
  std::vector<std::intptr_t> staticLayersMarks;  // the same at a glance
  // The pictures over them as they stand on the buffer: the enemies in
  // order, then the player; and the two panels.
  std::vector<KeptPicture> keptFigures;
  KeptPicture countdownPanel;
  KeptPicture scorePanel;
  FrameScratch frameScratch;
};

// The pause and what the lost focus does (game/Pause.cpp).
struct PauseState {
  int keyPause = KEY_P;              // scan code
  bool paused = false;               // no tick runs until the pause key again
  bool pauseKeyDown = false;         // at the last look: a press is its going down
  int focusLossPause = defaultFocusLossPause;  // [game] pause_on_focus_loss
  int focusAwayTicks = 0;            // ticks played in a row without the focus
  bool pausedByFocus = false;        // the pause came from the lost focus, not the key
  BitmapPtr pausedCard;              // drawn over the frame while paused
};

// Where frames are shown, and the switch between window and full screen.
struct DisplayOutput {
  BITMAP* display = nullptr;         // Allegro's screen unless replaced
  FramePresenter presenter;          // shows on display only what changed, scaled
  bool redrawAll = false;            // PWE_REDRAW_ALL: each frame drawn and shown whole
  DisplayKey displayKey;             // F11 or Alt+Enter: window or full screen
  bool displaySwitchable = false;    // the game's own start-up made the screen: it may switch
};

// Where a tick's input record comes from when the devices fill it.
struct InputSource {
  bool inputFromDevices = true;      // false: a replay, the search or a test fills input
  InputGate gate;                    // keys held back until released
  Gamepad gamepad;                   // the first joystick, read once a tick
};
