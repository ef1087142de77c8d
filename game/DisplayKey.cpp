#include "game/DisplayKey.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "game/Game.h"
#include "shell/Fatal.h"
#include "shell/FocusLoss.h"
#include "shell/Log.h"
#include "shell/Startup.h"

bool DisplayKey::pressed(const InputRecord& input, const std::vector<int>& controls) {
  auto free = [&](int code) {
    return std::find(controls.begin(), controls.end(), code) == controls.end();
  };
  const bool alt = input.down(KEY_ALT) || input.down(KEY_ALTGR);
  const bool down = (input.down(KEY_F11) && free(KEY_F11)) ||
                    (alt && input.down(KEY_ENTER) && free(KEY_ENTER));
  const bool press = down && !down_;
  down_ = down;
  return press;
}

void Game::switchDisplayOnKey() {
  if (inputSource.inputFromDevices) input.readKeyboard();
  const std::vector<int> controls = {keyLeft, keyRight, keyUp, keyDown, keyJump, pause.keyPause};
  if (!output.displayKey.pressed(input, controls)) return;
  // A display of a test's or a tool's own has no other mode to go to.
  if (!output.displaySwitchable || output.display == nullptr || output.display != screen) return;
  const bool fullScreen = is_windowed_mode();
  PictureLayout layout = output.presenter.layout();
  const std::string problem = switchScreen(fullScreen, layout);
  const char* wanted = fullScreen ? "full screen" : "a window";
  set_window_title(windowTitle);
  if (problem.empty()) {
    log_message("Display switched.");
  } else {
    log_message("Display not switched to %s: %s", wanted, problem.c_str());
    std::fprintf(stderr, "pwe: cannot switch to %s: %s\n", wanted, problem.c_str());
  }
  // Whichever mode the game is in now, it is a new screen: everything on it
  // is shown afresh, and the focus is watched on it again.
  output.display = screen;
  clear_bitmap(output.display);
  output.presenter.setLayout(layout);
  output.presenter.touchAll();
  output.presenter.show(buffer.get(), output.display);
  watchFocus();
  if (pause.paused) showPaused();
}
