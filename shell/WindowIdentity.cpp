#include "shell/WindowIdentity.h"

#include <allegro.h>

#ifdef ALLEGRO_WITH_XWINDOWS
// Allegro's X11 calls, documented but declared only in xalleg.h, which
// brings its internals along; the icon pointer is declared nowhere.
extern "C" {
void xwin_set_window_name(const char* name, const char* group);
extern void* allegro_icon;
}

namespace {
// Drawn by tools/mediagen from the desktop icons' own picture.
#include "dist/icons/pwe-48.xpm"
}  // namespace

void nameNextWindow(const char* windowClass) {
  xwin_set_window_name(windowClass, windowClass);
  // Allegro hands the XPM rows to Xlib, which only reads them.
  allegro_icon = const_cast<char**>(pweWindowIcon);
}
#else
void nameNextWindow(const char*) {}
#endif
