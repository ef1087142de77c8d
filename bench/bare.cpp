// The least a program of this kind can do: the same start-up, the same
// tick timer and pacing loop, and one empty 640x480 frame shown per tick.
// The whole-program benchmark compares the game's CPU and memory with it.
// Runs until Escape, or for the number of seconds given (default 120).
// With --show-nothing it shows no frame at all: what is left is the cost
// of pacing alone, which no program with this loop can go below.
#include <allegro.h>

#include <cstdlib>
#include <cstring>

#include "graphics/Resources.h"
#include "shell/Log.h"
#include "shell/Startup.h"
#include "shell/TickTimer.h"

int main(int argc, char** argv) {
  int width = 0;
  int height = 0;
  int updatesPerSecond = 0;
  StartupOptions options;
  // Its own title, so that the benchmark never takes it for the game.
  options.title = "pwe-bare";
  if (initialise(width, height, updatesPerSecond, nullptr, options) != 0) return 1;
  startTimer(updatesPerSecond);
  const long seconds = argc > 1 ? std::atol(argv[1]) : 120;
  const bool showFrames = !(argc > 2 && std::strcmp(argv[2], "--show-nothing") == 0);
  const long tickLimit = seconds * updatesPerSecond;
  {
    BitmapPtr frame(create_bitmap(width, height));
    clear_to_color(frame.get(), makecol(0, 0, 0));
    long ticks = 0;
    while (ticks < tickLimit && !key[KEY_ESC]) {
      waitForDueTick(updatesPerSecond);
      while (tickCounter.load() > 0) {
        --tickCounter;
        ++ticks;
      }
      if (showFrames) blit(frame.get(), screen, 0, 0, 0, 0, width, height);
    }
  }
  log_close();
  return 0;
}
END_OF_MAIN()
