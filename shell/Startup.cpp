#include "shell/Startup.h"

#include <allegro.h>
// loadpng needs Allegro's declarations first.
#include <loadpng.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "graphics/BitmapSize.h"
#include "shell/CloseButton.h"
#include "shell/ConfigFields.h"
#include "shell/Fatal.h"
#include "shell/FocusLoss.h"
#include "shell/Log.h"
#include "shell/MediaOverlay.h"
#include "shell/UserConfig.h"
#include "shell/Utf8.h"
#include "shell/WindowIdentity.h"

namespace {

// There is no message box for a failed start and the log is normally off,
// so the reason also goes to standard error: the cause first, when there is
// one to tell, then the failure itself.
int startupFailure(const char* program, const char* failure, const std::string& cause = "") {
  if (!cause.empty()) {
    log_message("%s", cause.c_str());
    std::fprintf(stderr, "%s: %s\n", program, cause.c_str());
  }
  log_message("%s", failure);
  std::fprintf(stderr, "%s: %s\n", program, failure);
  return -1;
}

}  // namespace

namespace {

// A settings file that is there but not used is said, since settings
// ignored without a word would puzzle.
void sayRefusedFile(const UserConfigFile& file, const char* consequence) {
  if (file.problem.empty()) return;
  const std::string note =
      formatText("%s %s; %s.", file.path.c_str(), file.problem.c_str(), consequence);
  log_message("%s", note.c_str());
  std::fprintf(stderr, "pwe: %s\n", note.c_str());
}

}  // namespace

void selectConfiguration(const std::string& path) {
  // Allegro is handed the text, not the path: its own opening would wait
  // for ever on a FIFO. The tree's file is read as the player's is, by one
  // reader with one bound.
  const UserConfigFile file = readUserConfig(path);
  if (file.unreadableAt >= 0) {
    dataFailure(formatText("Error reading %s: byte %ld starts a character that cannot be read.",
                           path.c_str(), file.unreadableAt));
  }
  sayRefusedFile(file, "every setting takes its default");
  set_config_data(file.text.data(), static_cast<int>(file.text.size()));
  // The file alone: nothing of a player's file read before stays over it.
  override_config_file(nullptr);
}

std::string setConfigPath(const std::string& treePath) {
  const std::string own = setPathOf(treePath);
  return own.empty() || mediaPath(treePath) != own ? "" : own;
}

void laySetConfiguration(const std::string& treePath) {
  const std::string own = setConfigPath(treePath);
  if (own.empty()) return;
  const UserConfigFile file = readUserConfig(own);
  if (!file.used) {
    sayRefusedFile(file, "its settings are not used");
    return;
  }
  // Key by key, so that what the set's file leaves out stays the tree's.
  std::vector<std::array<std::string, 3>> given;
  push_config_state();
  set_config_data(file.text.data(), static_cast<int>(file.text.size()));
  forEachConfigKey([&given](const char* section, const char* key) {
    const char* value = get_config_string(section, key, nullptr);
    if (value != nullptr) given.push_back({section, key, value});
  });
  pop_config_state();
  for (const auto& [section, key, value] : given) {
    set_config_string(section.c_str(), key.c_str(), value.c_str());
  }
}

void selectConfiguration(const std::string& path, const std::string& userPath,
                         bool withPackageSettings) {
  selectConfiguration(path);
  laySetConfiguration(path);
  // Under the player's file: written into the tree's, which is only text
  // in memory and never written back.
  if (withPackageSettings) {
    for (const PackageSetting& setting : packageSettings) {
      set_config_string(setting.section, setting.key, setting.value);
    }
  }
  const UserConfigFile user = readUserConfig(userPath);
  if (user.used) {
    override_config_data(user.text.data(), static_cast<int>(user.text.size()));
    return;
  }
  sayRefusedFile(user, "its settings are not used");
}

int usableUpdatesPerSecond(int configured) {
  return usableConfigValue(config::updatesPerSecond, configured);
}

int usableVolume(int configured) { return usableConfigValue(config::volume, configured); }

int usableScale(int configured) { return usableConfigValue(config::scale, configured); }

bool idleWaitConfigured() { return readConfig(config::idle); }

StartupSettings readStartupSettings() {
  StartupSettings settings;
  settings.mode = readConfigText(config::mode);
  settings.windowed = readConfig(config::mode);
  // A side no display can show is refused by the screen plan, as read.
  settings.width = readConfig(config::width);
  settings.height = readConfig(config::height);
  settings.scale = readConfig(config::scale);
  settings.updatesPerSecond = readConfig(config::updatesPerSecond);
  settings.volume = readConfig(config::volume);
  settings.idleWait = readConfig(config::idle);
  return settings;
}

std::string screenSizeProblem(const StartupSettings& settings, int desktopWidth,
                              int desktopHeight, int colourDepth) {
  const int width = settings.width;
  const int height = settings.height;
  const char* what = settings.windowed ? "window" : "full screen";
  if (width <= 0 || height <= 0) {
    return formatText("a %d x %d %s has no pixels", width, height, what);
  }
  if (width > maxScreenSide || height > maxScreenSide) {
    return formatText("a %d x %d %s is beyond %d pixels a side, the most a display can show",
                      width, height, what, maxScreenSide);
  }
  if (!bitmapSizeFits(width, height, colourDepth)) {
    return formatText("a %d x %d %s at %d bits a pixel needs more memory than Allegro can size",
                      width, height, what, colourDepth);
  }
  if (!settings.windowed) return "";
  // X11 accepts absurd window sizes and then spends seconds and gigabytes
  // on them; a window larger than the desktop could never be seen anyway.
  if ((desktopWidth > 0 && width > desktopWidth) || (desktopHeight > 0 && height > desktopHeight)) {
    return formatText("a %d x %d window does not fit the %d x %d desktop", width, height,
                      desktopWidth, desktopHeight);
  }
  return "";
}

bool screenSizeUsable(const StartupSettings& settings, int desktopWidth, int desktopHeight,
                      int colourDepth) {
  return screenSizeProblem(settings, desktopWidth, desktopHeight, colourDepth).empty();
}

namespace {

bool desktopKnown(int desktopWidth, int desktopHeight) {
  return desktopWidth > 0 && desktopHeight > 0;
}

// A window scale times the game's size; 0 picks the largest the desktop
// holds, and 1 when the desktop cannot be measured.
ScreenPlan planWindow(const StartupSettings& settings, int desktopWidth, int desktopHeight,
                      int colourDepth) {
  ScreenPlan plan;
  int scale = settings.scale;
  if (scale == 0) {
    scale = desktopKnown(desktopWidth, desktopHeight)
                ? fitPicture(settings.width, settings.height, desktopWidth, desktopHeight).scale
                : 1;
  }
  // Checked before multiplying: the product must not overflow.
  if (scale > maxScreenSide / settings.width || scale > maxScreenSide / settings.height) {
    plan.problem = formatText("a %d x %d window at scale %d is beyond %d pixels a side, the "
                              "most a display can show",
                              settings.width, settings.height, scale, maxScreenSide);
    return plan;
  }
  StartupSettings scaled = settings;
  scaled.width = settings.width * scale;
  scaled.height = settings.height * scale;
  plan.problem = screenSizeProblem(scaled, desktopWidth, desktopHeight, colourDepth);
  if (!plan.problem.empty() && scale != 1) plan.problem += formatText(" (scale %d)", scale);
  plan.width = scaled.width;
  plan.height = scaled.height;
  plan.layout.scale = scale;
  return plan;
}

// A full screen the desktop's size with the frame as large as it fits;
// a desktop that cannot be measured, or one smaller than the frame, gets
// the game's own mode.
ScreenPlan planFullScreen(const StartupSettings& settings, int desktopWidth, int desktopHeight,
                          int colourDepth) {
  ScreenPlan plan;
  plan.width = settings.width;
  plan.height = settings.height;
  const bool fits = desktopKnown(desktopWidth, desktopHeight) &&
                    settings.width <= desktopWidth && settings.height <= desktopHeight;
  if (settings.scale == 1 || !fits) return plan;
  StartupSettings desktop = settings;
  desktop.width = desktopWidth;
  desktop.height = desktopHeight;
  plan.problem = screenSizeProblem(desktop, desktopWidth, desktopHeight, colourDepth);
  plan.width = desktopWidth;
  plan.height = desktopHeight;
  plan.layout = fitPicture(settings.width, settings.height, desktopWidth, desktopHeight);
  return plan;
}

}  // namespace

ScreenPlan planScreen(const StartupSettings& settings, int desktopWidth, int desktopHeight,
                      int colourDepth) {
  // The game's own size must be one a display can show before any scale.
  StartupSettings unscaled = settings;
  unscaled.scale = 1;
  ScreenPlan plan;
  plan.width = settings.width;
  plan.height = settings.height;
  plan.problem = screenSizeProblem(unscaled, desktopWidth, desktopHeight, colourDepth);
  if (settings.scale == 1) return plan;
  plan.problem = screenSizeProblem(unscaled, 0, 0, colourDepth);
  if (!plan.problem.empty()) return plan;
  return settings.windowed ? planWindow(settings, desktopWidth, desktopHeight, colourDepth)
                           : planFullScreen(settings, desktopWidth, desktopHeight, colourDepth);
}

int startupColourDepth() {
  int depth = desktop_color_depth();
  return depth != 0 ? depth : 32;
}

StartupSettings screenRequest(const StartupSettings& settings, const StartupOptions& options) {
  StartupSettings request = settings;
  if (options.windowOnly) {
    request.windowed = true;
    if (!options.windowScaled) request.scale = 1;
  }
  // Rows go only under a screen the game can have: a height with no pixels
  // or beyond any display stays as it is, to be refused as the game's own.
  if (request.height > 0 && request.height <= maxScreenSide) request.height += options.rowsBelow;
  if (request.width > 0 && request.width <= maxScreenSide) request.width += options.columnsBeside;
  return request;
}

namespace {

// The keyboard alone plays the game: a joystick driver that fails is said
// once and left out. With no joystick the driver starts and finds none.
void startJoystick() {
  if (install_joystick(JOY_TYPE_AUTODETECT) != 0) {
    log_message("Joystick initialization failure: %s", allegro_error);
  } else if (num_joysticks > 0) {
    log_message("Joystick initialized.");
  }
}

// The library and its input, timer and sound services.
int startLibrary(const StartupOptions& options) {
  nameNextWindow(options.windowClass);
  // Without a display this fails, and the next install_* call would crash.
  if (allegro_init() != 0) return startupFailure(options.program, "Allegro initialization failure.");
  if (install_keyboard() != 0) {
    return startupFailure(options.program, "Keyboard initialization failure.");
  }
  log_message("Keyboard initialized.");
  startJoystick();
  // A machine without a mouse or a sound card starts all the same, unless
  // the program cannot be worked without the mouse.
  install_timer();
  if (install_mouse() < 0 && options.mouseRequired) {
    return startupFailure(options.program, "Mouse initialization failure.");
  }
  install_sound(DIGI_AUTODETECT, options.midi ? MIDI_AUTODETECT : MIDI_NONE, nullptr);
  return 0;
}

// The graphics mode as the settings and options ask for it.
int openScreen(const StartupSettings& settings, const StartupOptions& options,
               PictureLayout* layout) {
  const int depth = startupColourDepth();
  set_color_depth(depth);
  int desktopWidth = 0;
  int desktopHeight = 0;
  if (get_desktop_resolution(&desktopWidth, &desktopHeight) != 0) {
    desktopWidth = 0;
    desktopHeight = 0;
  }
  StartupSettings request = screenRequest(settings, options);
  ScreenPlan plan = planScreen(request, desktopWidth, desktopHeight, depth);
  // A scaled window that does not fit takes the largest scale that does.
  if (!plan.problem.empty() && options.windowScaled && request.scale > 1) {
    request.scale = 0;
    plan = planScreen(request, desktopWidth, desktopHeight, depth);
  }
  const char* failure = "Couldn't set graphics mode!";
  if (!plan.problem.empty()) return startupFailure(options.program, failure, plan.problem);
  set_window_title(options.title);
  const int card = request.windowed ? GFX_AUTODETECT_WINDOWED : GFX_AUTODETECT_FULLSCREEN;
  if (set_gfx_mode(card, plan.width, plan.height, 0, 0) != 0) {
    return startupFailure(options.program, failure, allegro_error);
  }
  if (layout != nullptr) *layout = plan.layout;
  return 0;
}

// The mode the settings plan, set: empty when set, else Allegro's reason.
std::string setPlannedMode(const StartupSettings& request, ScreenPlan& plan) {
  int desktopWidth = 0;
  int desktopHeight = 0;
  if (get_desktop_resolution(&desktopWidth, &desktopHeight) != 0) desktopWidth = desktopHeight = 0;
  plan = planScreen(request, desktopWidth, desktopHeight, startupColourDepth());
  if (!plan.problem.empty()) return plan.problem;
  const int card = request.windowed ? GFX_AUTODETECT_WINDOWED : GFX_AUTODETECT_FULLSCREEN;
  if (set_gfx_mode(card, plan.width, plan.height, 0, 0) != 0) return allegro_error;
  return "";
}

}  // namespace

std::string switchScreen(bool fullScreen, PictureLayout& layout) {
  StartupSettings request = screenRequest(readStartupSettings(), StartupOptions());
  request.windowed = !fullScreen;
  // A full screen asked for by the key fills the desktop at the largest
  // whole scale that fits, even from a window of one pixel a game pixel: a
  // small picture in the middle of a large screen is what nobody wants.
  // The window keeps its own scale, read afresh on the way back.
  if (fullScreen) request.scale = keyFullScreenScale;
  ScreenPlan plan;
  const std::string problem = setPlannedMode(request, plan);
  if (problem.empty()) {
    layout = plan.layout;
    return "";
  }
  // Allegro gave up the old mode before it tried the new one.
  request.windowed = fullScreen;
  const std::string back = setPlannedMode(request, plan);
  if (!back.empty()) dataFailure("Couldn't set graphics mode!", "Couldn't set graphics mode: " + back);
  layout = plan.layout;
  return problem;
}

int initialise(int& width, int& height, int& updatesPerSecond, PictureLayout* layout) {
  return initialise(width, height, updatesPerSecond, layout, StartupOptions());
}

int initialise(int& width, int& height, int& updatesPerSecond, PictureLayout* layout,
               const StartupOptions& options) {
  if (options.openLog) log_open("pwe.log");
  log_message("Initializing Allegro");
  if (startLibrary(options) != 0) return -1;

  // Stays selected for the whole run: the controls are read from it later.
  if (options.playerSettings) sayConfigFallbacks(options.program);
  selectConfiguration("media/pwe.cfg", options.playerSettings ? userConfigPath() : "",
                      options.packageSettings);
  const StartupSettings settings = readStartupSettings();
  width = settings.width;
  height = settings.height;
  updatesPerSecond = settings.updatesPerSecond;
  // Only the digital volume: the MIDI volume is left as it is.
  set_volume(settings.volume, -1);

  if (openScreen(settings, options, layout) != 0) return -1;
  watchCloseButton();
  // A window that loses the focus pauses play.
  watchFocus();
  register_png_file_type();
  set_alpha_blender();
  return 0;
}
