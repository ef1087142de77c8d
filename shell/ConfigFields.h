#pragma once
// The settings of media/pwe.cfg, section by section: the one list that the
// game, pwe-edit and pwe-check read every value by. Each whole-number
// setting names its default, the values it can use and what the program
// does with any other, so the checker can say exactly that.
//
// The settings the game has always had (mode, the screen size, the tick
// rate, the five movement keys and the mechanics values) are read as
// Allegro reads numbers, whatever the text: a value past 32 bits wraps, and
// text that is no number reads as 0 or as the number it starts with. The
// engine's own settings (marked strict) take only whole numbers that fit:
// any other value keeps the default, and the game says so on standard
// error. print-config and pwe-check name every such value either way.
#include <allegro.h>

#include <climits>
#include <string>

#include "graphics/BitmapSize.h"
#include "player/Gamepad.h"
#include "shell/FocusLoss.h"
#include "shell/TickTimer.h"

// What a value outside a setting's usable range comes to.
enum class ConfigOutside {
  usesDefault,  // the setting keeps its default, with a log line
  stops,        // start-up asks for no mode: "Couldn't set graphics mode!"
  isOn,         // a flag: any value but 0 counts as 1
};

enum ConfigLogFlags : unsigned {
  namesKey = 1,    // the log line says for "<key>"
  showsRange = 2,  // the log line gives "<low> to <high>"
};

struct ConfigField {
  const char* section;
  const char* key;
  int fallback;           // the default, for a missing key too
  int low;                // usable values, inclusive
  int high;
  ConfigOutside outside;
  const char* what;       // what a usable value is, for the checker; for a
                          // flag, what its two values do
  // The game's log line for a value it replaces reads
  // "<noun> <value>[ for "<key>"] <complaint>[ <low> to <high>]; using <default>."
  const char* noun = nullptr;
  const char* complaint = nullptr;
  unsigned logFlags = 0;
  bool keyName = false;   // a key: a name of player/KeyNames.h stands for its code
  bool strict = false;    // a value that is no whole number or does not fit
                          // keeps the default
};

// The engine's own setting: read strictly.
constexpr ConfigField strictField(ConfigField field) {
  field.strict = true;
  return field;
}

// A text setting: one exact word chooses, anything else is the other way.
struct ConfigText {
  const char* section;
  const char* key;
  const char* fallback;
  const char* chosen;     // the word that chooses
  const char* otherWord;  // the word for the other way; others warn
  const char* otherwise;  // what any other text does
  bool strict = false;    // any other text is said on standard error
};

namespace config {

// Past these a screen side cannot be shown (X11's sides are 16-bit).
inline constexpr ConfigField width{"display", "width", 640, 1, maxBitmapSide,
                                   ConfigOutside::stops, "a screen side in pixels"};
inline constexpr ConfigField height{"display", "height", 480, 1, maxBitmapSide,
                                    ConfigOutside::stops, "a screen side in pixels"};
// Too large a scale for the screen is the screen plan's to refuse.
inline constexpr ConfigField scale = strictField({"display", "scale", 1, 0, INT_MAX,
                                                 ConfigOutside::usesDefault, "a scale",
                                                 "Display scale", "is below 0"});
// The tick timer divides its clock by the rate: 0 or less gives no period,
// a faster rate one of 0.
inline constexpr ConfigField updatesPerSecond{
    "mechanics", "updates_per_second", 100, 1, fastestUpdatesPerSecond,
    ConfigOutside::usesDefault, "a tick rate", "updates_per_second", "unusable"};

// Tolerances and the cooldown go into pixel and tick arithmetic with
// positions; beyond a million they mean nothing on a screen and their sums
// would overflow int.
inline constexpr int maxMechanicsValue = 1000000;
constexpr ConfigField mechanics(const char* key, int fallback) {
  return {"mechanics", key, fallback, -maxMechanicsValue, maxMechanicsValue,
          ConfigOutside::usesDefault, "a tick count or tolerance", "Mechanics value",
          "is outside", namesKey | showsRange};
}
inline constexpr ConfigField teleportCooldown = mechanics("teleport_cooldown", 200);
inline constexpr ConfigField chuteTolerance = mechanics("chute_horiz_tol", 14);
inline constexpr ConfigField ladderHorizontalTolerance = mechanics("ladder_horiz_tol", 6);
inline constexpr ConfigField ladderVerticalTolerance = mechanics("ladder_vert_tol", 2);

// key[] is read with the code every tick: a code outside it is no key.
constexpr ConfigField key(const char* name, int fallback) {
  return {"keyboard", name, fallback, 0, KEY_MAX - 1, ConfigOutside::usesDefault,
          "a key scan code", "Key code", "is not a key", namesKey, true};
}
inline constexpr ConfigField keyLeft = key("left", KEY_LEFT);
inline constexpr ConfigField keyRight = key("right", KEY_RIGHT);
inline constexpr ConfigField keyUp = key("up", KEY_UP);
inline constexpr ConfigField keyDown = key("down", KEY_DOWN);
inline constexpr ConfigField keyJump = key("jump", KEY_SPACE);
// The pause key is the engine's own.
inline constexpr ConfigField keyPause = strictField(key("pause", KEY_P));

// The button indexes joy[0]'s buttons and the dead zone is compared with
// stick positions: values no joystick reports are of no use.
inline constexpr ConfigField joystickJump = strictField(
    {"joystick", "jump", Gamepad::defaultJumpButton, 0, Gamepad::buttonCount - 1,
     ConfigOutside::usesDefault, "a joystick button", "Joystick button", "is not a button",
     namesKey});
inline constexpr ConfigField deadZone = strictField(
    {"joystick", "dead_zone", Gamepad::defaultDeadZone, 0, Gamepad::fullTravel,
     ConfigOutside::usesDefault, "a dead zone", "Joystick dead zone", "is outside",
     showsRange});

// Allegro's digital volume runs from silent to full.
inline constexpr int fullVolume = 255;
inline constexpr ConfigField volume = strictField(
    {"sound", "volume", fullVolume, 0, fullVolume, ConfigOutside::usesDefault, "a volume",
     "Sound volume", "is outside", showsRange});

inline constexpr ConfigField pauseOnFocusLoss = strictField(
    {"game", "pause_on_focus_loss", defaultFocusLossPause, focusLossIgnored,
     focusLossPausesUntilBack, ConfigOutside::usesDefault, "a focus-loss choice",
     "pause_on_focus_loss", "is not 0, 1 or 2"});

inline constexpr ConfigField backups = strictField(
    {"editor", "backups", 1, 0, 1, ConfigOutside::isOn,
     "0 keeps no backup, 1 has the first save keep FILE~", "Editor backups", "is not 0 or 1"});

// Every whole-number setting, in the order the stock pwe.cfg lists them.
inline constexpr const ConfigField* numbers[] = {
    &width, &height, &scale, &updatesPerSecond, &teleportCooldown, &chuteTolerance,
    &ladderHorizontalTolerance, &ladderVerticalTolerance, &keyLeft, &keyRight, &keyUp, &keyDown,
    &keyJump, &keyPause, &pauseOnFocusLoss, &joystickJump, &deadZone, &volume, &backups};

inline constexpr ConfigText mode{"display", "mode", "windowed", "windowed", "fullscreen",
                                 "the engine uses the full screen"};
inline constexpr ConfigText idle{"display", "idle", "poll", "wait", "poll",
                                 "the engine polls", true};

}  // namespace config

// Every setting's section and key: the whole numbers, then the words.
template <typename Visit>
void forEachConfigKey(Visit visit) {
  for (const ConfigField* field : config::numbers) visit(field->section, field->key);
  visit(config::mode.section, config::mode.key);
  visit(config::idle.section, config::idle.key);
}

// What the program makes of a value read for a setting.
struct ConfigUse {
  int used = 0;          // the value it goes on with
  bool usable = true;    // the value read lies in the usable range
  bool stops = false;    // start-up refuses it
};
ConfigUse useConfigValue(const ConfigField& field, int read);

// How a setting's text is written.
enum class ConfigForm {
  number,       // a whole number that fits in 32 bits (or no value: the default)
  wraps,        // a whole number past 32 bits: Allegro keeps its low bits
  notNumber,    // text that is no whole number, or has more after one
  keyName,      // a key setting's name of a key
  unknownName,  // a key setting's name that no key has
};

// What a setting's text in the current configuration file reads as. The
// number is read as Allegro reads numbers (strtol in base 0, cut to int:
// "0x52" is 82, "64O" is 64, "4294967296" is 0), as it always was; a key
// setting takes text that does not start like a number as a key's name.
struct ConfigReading {
  int read = 0;              // the number, or the code the name stands for
  ConfigForm form = ConfigForm::number;
  std::string text;          // the value as written, without surrounding blanks
  bool unknownName() const { return form == ConfigForm::unknownName; }
};
ConfigReading readConfigValue(const ConfigField& field);
// The same for a value's text.
ConfigReading readConfigValue(const ConfigField& field, const char* value);

// What the program makes of a reading: a strict setting's value that is no
// whole number, or does not fit, and a name no key has keep the default.
ConfigUse useConfigReading(const ConfigField& field, const ConfigReading& reading);

// What is wrong with a reading, as it ends a sentence naming the setting
// ("'abc' is not a whole number", "300 is outside 0 to 255"), with what
// Allegro reads where the setting goes on with that; empty when nothing is.
std::string configFlaw(const ConfigField& field, const ConfigReading& reading);
// What is wrong with a way of writing a value ("does not fit in 32 bits"),
// empty for a number or a key's name.
const char* configFormFlaw(ConfigForm form);

// The game says each setting it replaces on standard error, once a run,
// after "<program>: "; other programs leave it to the log. Null: silent.
void sayConfigFallbacks(const char* program);

// The setting from the current configuration file, as the program uses it:
// a value outside the range becomes what field.outside says, with the
// field's log line when it keeps the default. A setting whose values stop
// start-up is returned as read, for start-up to refuse.
int readConfig(const ConfigField& field);
// The same for a value already read.
int usableConfigValue(const ConfigField& field, int read);
// The log line for a value the program replaces with the default.
std::string configFallbackLine(const ConfigField& field, int read);
std::string configFallbackLine(const ConfigField& field, const ConfigReading& reading);

// The text setting as the current configuration file gives it, and
// whether that is the word that chooses. A strict setting's other text is
// said as a replaced value.
std::string readConfigText(const ConfigText& field);
bool readConfig(const ConfigText& field);
