#pragma once
// Brings up Allegro, reads the display and tick-rate settings from
// media/pwe.cfg and opens the graphics mode.
#include <string>

#include "graphics/BitmapSize.h"
#include "graphics/PictureLayout.h"
#include "shell/WindowIdentity.h"

// The game's start-up: 0 on success with the three settings filled, -1 on
// failure (the reason is logged and printed on standard error). The game's
// frame is width x height whatever the display; where it is shown goes to
// layout.
int initialise(int& width, int& height, int& updatesPerSecond, PictureLayout* layout = nullptr);

// The tick rate actually used for a configured value: values that give no
// usable timer period (0 or below, above 1193181) fall back to 100, with a
// log line saying so.
int usableUpdatesPerSecond(int configured);

// Makes path the current configuration file, as start-up does with
// media/pwe.cfg. A file holding a character that Allegro's text routines
// cannot measure (a UTF-8 lead byte 0xFD to 0xFF with a continuation byte
// after it, on which they loop for ever) ends the program through
// dataFailure instead. A missing file is no error; anything else that is
// not a readable settings file (a FIFO, a device, a directory, a file past
// maxConfigBytes) is read as none, with a note in the log and on standard
// error.
void selectConfiguration(const std::string& path);
// The same, then the keys of the pwe.cfg of the level set laid over the
// tree (shell/MediaOverlay.h), if it has one, then the pwe command's
// settings (packageSettings of shell/UserConfig.h) when asked for, then
// the player's own file at
// userPath over them, so that its values win; a file there that is
// refused is said in the log and on standard error, and changes nothing.
void selectConfiguration(const std::string& path, const std::string& userPath,
                         bool withPackageSettings = false);

// The set's own pwe.cfg beside the tree's at treePath, or empty when no
// set is laid or it has none.
std::string setConfigPath(const std::string& treePath);
// Lays the keys of that file over the current configuration, key by key.
void laySetConfiguration(const std::string& treePath);

// What start-up takes from the current configuration file.
struct StartupSettings {
  std::string mode;           // display mode text as configured
  bool windowed = true;       // only the exact text "windowed" selects a window
  int width = 640;            // screen width, pixels
  int height = 480;           // screen height, pixels
  int updatesPerSecond = 100; // game ticks per second, already made usable
  int volume = 255;           // [sound] volume: Allegro's digital volume, 0 to 255
  int scale = 1;              // [display] scale: 1 or more as given, 0 the largest that fits
  bool idleWait = false;      // [display] idle: "wait" sleeps until a tick is due, else polls
};

// [display] idle of the current configuration file: only the exact word
// "wait" chooses the sleeping loop; anything else keeps polling.
bool idleWaitConfigured();

// The title of the game's window.
inline constexpr const char* windowTitle = "Pitwick Engine";

// What another program started the game's way does differently; the
// defaults are the game's own start-up.
struct StartupOptions {
  const char* program = "pwe";                // names the failure lines on standard error
  const char* windowClass = gameWindowClass;  // what the desktop knows the window by
  const char* title = windowTitle;            // the window's title, borrowed for the call
  bool openLog = true;         // pwe.log in the working directory, when the log is on
  bool midi = true;            // a MIDI driver besides the digital one
  bool mouseRequired = false;  // no mouse is a failed start, not a mouse left out
  bool windowOnly = false;     // a window at one pixel a game pixel, whatever mode and scale say
  bool windowScaled = false;   // with windowOnly: the window at [display] scale all the same,
                               // or the largest that fits when that does not
  int rowsBelow = 0;           // pixel rows under the game's screen, for the program's own use
  int columnsBeside = 0;       // pixel columns right of it, likewise
  bool playerSettings = false; // the player's own pwe.cfg over the tree's, and settings
                               // replaced said on standard error: the game alone
  bool packageSettings = false;  // the pwe command's settings between the two
};

// The scale a full screen reached by the display key is planned at: the
// largest that fits the desktop, whatever [display] scale says.
inline constexpr int keyFullScreenScale = 0;

// Switches the game's running display between its window and full screen,
// by the settings it started with (a full screen at keyFullScreenScale):
// empty when done, with the new layout;
// otherwise why not, with the display as it was. A display that cannot be
// had back either ends the run as a data failure would.
std::string switchScreen(bool fullScreen, PictureLayout& layout);

// initialise for any program: the same steps in the same order, with the
// options' differences. Allegro installs signal handlers of its own while
// it starts, and the threads it starts take the caller's signal mask: a
// program with handlers of its own blocks those signals before this and
// installs its handlers after it.
int initialise(int& width, int& height, int& updatesPerSecond, PictureLayout* layout,
               const StartupOptions& options);

// The digital volume used for a configured [sound] volume: values outside
// 0 to 255 keep the full volume, with a log line.
int usableVolume(int configured);

// The scale used for a configured [display] scale: below 0 keeps one
// screen pixel per game pixel, with a log line.
int usableScale(int configured);

// Reads [display] mode, width, height, scale, [mechanics]
// updates_per_second and [sound] volume, each with its default when missing.
StartupSettings readStartupSettings();

// The widest and tallest screen start-up asks for, in any mode: nothing
// beyond it can be shown, and a full screen whose side wraps to 0 in X11's
// 16 bits (65536 pixels) ends in an X error and an abort instead of a
// failed mode.
inline constexpr int maxScreenSide = maxBitmapSide;

// Why the configured screen size cannot be asked for, or empty when it can:
// both sides must be positive and at most maxScreenSide, the screen bitmap's
// memory at the given colour depth must be one Allegro can size, and a
// window must fit the desktop. A desktop size of 0 or below means the
// desktop could not be measured and is not checked.
std::string screenSizeProblem(const StartupSettings& settings, int desktopWidth,
                              int desktopHeight, int colourDepth = 32);
bool screenSizeUsable(const StartupSettings& settings, int desktopWidth, int desktopHeight,
                      int colourDepth = 32);

// The desktop's colour depth, or 32 when the driver cannot tell.
int startupColourDepth();

// The graphics mode start-up asks for and where the frame goes on it. A
// window is the game's size times the scale (scale 0: the largest that
// fits the desktop). A full screen at scale 1 is the game's size, as it
// always was; at any other scale it takes the desktop's size, and the
// frame is shown at the largest scale that fits it, centred on black.
struct ScreenPlan {
  int width = 0;          // the mode asked for, pixels
  int height = 0;
  PictureLayout layout;   // the frame's place on it
  std::string problem;    // why no mode can be asked for; empty when one can
};
ScreenPlan planScreen(const StartupSettings& settings, int desktopWidth, int desktopHeight,
                      int colourDepth = 32);

// The screen a program started with options asks for, as settings to plan:
// the configured ones with the options' window and rows below applied.
StartupSettings screenRequest(const StartupSettings& settings, const StartupOptions& options);
