#pragma once
// The window's close button. Allegro calls its callback from its own event
// thread, where nothing but setting a flag is safe; the game's input step
// reads the flag and ends the run as Escape does.

// Registers the callback; without a window there is nothing to close.
void watchCloseButton();
bool closeRequested();
// Tests: as if the button had been pressed (or not).
void setCloseRequested(bool requested);
