#pragma once
// Whether the window has the input focus. Allegro calls back from its own
// event thread when the platform tells it (under X11 on the window's
// FocusOut and FocusIn), where nothing but setting a flag is safe; the
// game's pacing loop looks at the flag between ticks.

// Registers the callbacks; a display mode that cannot tell leaves the
// window counted as focused for good.
void watchFocus();
// The focus is elsewhere now.
bool focusOut();
// Tests: as if the window had lost the focus (or got it back).
void setFocusOut(bool out);

// What losing the focus does to a game in play, as [game]
// pause_on_focus_loss gives it.
enum FocusLossPause {
  focusLossIgnored = 0,       // play goes on
  focusLossPausesUntilKey = 1,  // paused until the pause key
  focusLossPausesUntilBack = 2, // paused until the focus comes back
};
inline constexpr int defaultFocusLossPause = focusLossPausesUntilKey;

// Another program may take the keyboard for a moment (a screenshot tool, a
// desktop's volume key): a focus away for less than a quarter of a second
// is no loss. The ticks of play a loss may last and still be such a
// moment: a quarter of a second's, one at the least.
int focusLossTicks(int updatesPerSecond);
