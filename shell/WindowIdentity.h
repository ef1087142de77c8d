#pragma once
// What a desktop knows a window by: its class, which docks and task bars
// match with the desktop entry's StartupWMClass, and its icon.

// The game's window class; dist/pwe.desktop.in names it too.
inline constexpr const char* gameWindowClass = "pwe";
// The level editor's, so that its windows are told from the game's.
inline constexpr const char* editorWindowClass = "pwe-edit";

// Gives the window that allegro_init is about to open this class (as both
// its instance and class names) and the project's icon. Allegro takes
// both from X11 only when it makes its window, inside allegro_init, so
// this must come first; elsewhere it does nothing.
void nameNextWindow(const char* windowClass);
