#pragma once
// Brings up Allegro, reads the display and tick-rate settings from
// media/pwe.cfg and opens the graphics mode.

// 0 on success with the three settings filled, -1 on failure (the reason
// is logged and printed on standard error).
int initialise(int& width, int& height, int& updatesPerSecond);

// The tick rate actually used for a configured value: values that give no
// usable timer period (0 or below, above 1193181) fall back to 100.
int usableUpdatesPerSecond(int configured);
