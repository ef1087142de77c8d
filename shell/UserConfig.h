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

// A settings file longer than this is no settings file: the player's file
// is refused past it rather than read into memory whole.
inline constexpr long maxUserConfigBytes = 1 << 20;

// The player's file as the game takes it: its text, or why it is not used.
// Missing is no problem and says nothing. A FIFO or a device is never
// opened, one longer than maxUserConfigBytes is not read past the bound,
// and one Allegro could not read to its end (see firstUnmeasurableCharacter)
// is refused too; a refused file changes no setting.
struct UserConfigFile {
  std::string path;
  bool used = false;     // the text holds the file's settings
  std::string text;
  std::string problem;   // why a file at path is not used; empty otherwise
};
UserConfigFile readUserConfig(const std::string& path);
