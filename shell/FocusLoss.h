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
