#pragma once
// The player's own settings: a pwe.cfg of the same form as the tree's, read
// by the game after the tree's so that its values win. The game never writes
// it. The tools read the tree alone (pwe-check also checks this file): what
// they render, edit or check is the tree's, the same on every machine.
#include <string>

// $XDG_CONFIG_HOME/pwe/pwe.cfg. An unset, empty or relative XDG_CONFIG_HOME
// means $HOME/.config, as the base-directory rules say; empty when there is
// no HOME either.
std::string userConfigPath();

// A settings file longer than this is no settings file: the tree's and the
// player's are refused past it rather than read into memory whole (and
// pwe-check says so of the tree's).
inline constexpr long maxConfigBytes = 1 << 20;

// A settings file as the programs take it: its text, or why it is not used.
// Missing is no problem and says nothing; anything else in the way (a
// directory, a link that leads nowhere readable, a FIFO or a device, which
// is never opened) is named. One longer than maxConfigBytes is not read
// past the bound, and one Allegro could not read to its end (see
// firstUnmeasurableCharacter) is refused too; a refused file changes no
// setting.
struct UserConfigFile {
  std::string path;
  bool used = false;     // the text holds the file's settings
  std::string text;
  std::string problem;   // why a file at path is not used; empty otherwise
  long unreadableAt = -1;  // the byte that starts a character Allegro cannot read
};
UserConfigFile readUserConfig(const std::string& path);

// The settings the pwe command plays with over the tree's, unless the
// player's own file gives them: waiting for the tick timer costs the
// processor far less than polling, and a tree that says poll says what the
// bare game has always done.
struct PackageSetting {
  const char* section;
  const char* key;
  const char* value;
};
inline constexpr PackageSetting packageSettings[] = {{"display", "idle", "wait"}};
// They as the text of a settings file.
std::string packageSettingsText();
// Where print-config says they come from.
inline constexpr const char* packageSettingsSource = "the pwe command";
