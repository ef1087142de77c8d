// Takes the keyboard from every window for a while, as a screenshot tool
// or a desktop's volume key does: the window that had the focus gets a
// FocusOut at the grab and a FocusIn when it ends.
// Usage: pwe-xgrab MILLISECONDS; exit 0 once the grab is over.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: pwe-xgrab MILLISECONDS\n");
    return 2;
  }
  const long ms = std::strtol(argv[1], nullptr, 10);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "pwe-xgrab: cannot open the display\n");
    return 1;
  }
  const int grabbed = XGrabKeyboard(display, DefaultRootWindow(display), False, GrabModeAsync,
                                    GrabModeAsync, CurrentTime);
  XSync(display, False);
  if (grabbed != GrabSuccess) {
    std::fprintf(stderr, "pwe-xgrab: the keyboard could not be grabbed (%d)\n", grabbed);
    return 1;
  }
  const timespec hold = {ms / 1000, (ms % 1000) * 1000000};
  nanosleep(&hold, nullptr);
  XUngrabKeyboard(display, CurrentTime);
  XSync(display, False);
  XCloseDisplay(display);
  return 0;
}
