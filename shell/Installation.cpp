#include "shell/Installation.h"

#include <filesystem>

#include "shell/BuildInfo.h"

namespace fs = std::filesystem;

namespace {

std::string beside(const std::string& commandDir, const char* relative) {
  return (fs::path(commandDir) / relative).lexically_normal().string();
}

bool isDirectory(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

}  // namespace

std::string programDirectory() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  return error ? std::string() : program.parent_path().string();
}

std::string installedDataDir(const std::string& commandDir) {
  return beside(commandDir, commandsToData);
}

std::string installedGame(const std::string& commandDir) {
  return beside(commandDir, commandsToGame);
}

std::string defaultMediaTree() {
  const std::string local = "media";
  if (isDirectory(local)) return local;
  const std::string commands = programDirectory();
  if (commands.empty()) return local;
  const fs::path installed = fs::path(installedDataDir(commands)) / "media";
  return isDirectory(installed) ? installed.string() : local;
}
