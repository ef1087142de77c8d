#include "shell/UserConfig.h"

#include <cstdlib>

#include "shell/MediaFile.h"
#include "shell/Utf8.h"

std::string userConfigPath() {
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (configHome != nullptr && configHome[0] == '/') {
    base = configHome;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') return "";
    base = std::string(home) + "/.config";
  }
  return base + "/pwe/pwe.cfg";
}

UserConfigFile readUserConfig(const std::string& path) {
  UserConfigFile file;
  file.path = path;
  if (path.empty()) return file;
  MediaFile media(path);
  if (!media.isOpen()) {
    if (media.isSpecial()) file.problem = "is not a regular file";
    return file;
  }
  std::string text;
  if (!media.readWhole(text, maxUserConfigBytes)) {
    file.problem = "is longer than " + std::to_string(maxUserConfigBytes) + " bytes";
    return file;
  }
  const long unreadable = firstUnmeasurableCharacter(text);
  if (unreadable >= 0) {
    file.problem = "has a character that cannot be read at byte " + std::to_string(unreadable);
    return file;
  }
  file.used = true;
  file.text = std::move(text);
  return file;
}
