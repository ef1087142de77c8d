#include "shell/UserConfig.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

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

namespace {

// Why nothing could be opened at path, or empty when nothing is there.
std::string openProblem(const std::string& path, bool special) {
  if (special) return "is not a regular file";
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (!error && std::filesystem::is_directory(status)) return "is a directory";
  if (error && error.value() != ENOENT && error.value() != ENOTDIR) {
    return "cannot be read (" + error.message() + ")";
  }
  if (!error && std::filesystem::exists(status)) return "cannot be read";
  return "";
}

}  // namespace

UserConfigFile readUserConfig(const std::string& path) {
  UserConfigFile file;
  file.path = path;
  if (path.empty()) return file;
  MediaFile media(path);
  if (!media.isOpen()) {
    file.problem = openProblem(path, media.isSpecial());
    return file;
  }
  std::string text;
  if (!media.readWhole(text, maxConfigBytes)) {
    file.problem = "is longer than " + std::to_string(maxConfigBytes) + " bytes";
    return file;
  }
  file.unreadableAt = firstUnmeasurableCharacter(text);
  if (file.unreadableAt >= 0) {
    file.problem =
        "has a character that cannot be read at byte " + std::to_string(file.unreadableAt);
    return file;
  }
  file.used = true;
  file.text = std::move(text);
  return file;
}

std::string packageSettingsText() {
  std::string text;
  for (const PackageSetting& setting : packageSettings) {
    text += std::string("[") + setting.section + "]\n" + setting.key + " = " + setting.value + "\n";
  }
  return text;
}
