#include "shell/Installation.h"

#include <filesystem>

#include "shell/BuildInfo.h"

namespace fs = std::filesystem;

namespace {

std::string beside(const std::string& commandDir, const char* relative) {
  return (fs::path(commandDir) / relative).lexically_normal().string();
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

bool runsInstalled() {
  const std::string commands = programDirectory();
  return !commands.empty() && isMediaTree((fs::path(installedDataDir(commands)) / "media").string());
}

bool isMediaTree(const std::string& directory) {
  std::error_code error;
  // Whatever stands there as pwe.cfg makes the tree the author's, so that a
  // broken one is reported rather than passed over; nothing is opened.
  return fs::is_directory(directory, error) &&
         fs::exists(fs::symlink_status(fs::path(directory) / "pwe.cfg", error));
}

std::string chooseMediaTree(const std::string& named, const std::string& workingDir,
                            const std::string& commandDir) {
  if (!named.empty()) return named;
  const std::string local = (fs::path(workingDir) / "media").lexically_normal().string();
  if (isMediaTree(local)) return local;
  if (!commandDir.empty()) {
    const std::string installed = (fs::path(installedDataDir(commandDir)) / "media").string();
    if (isMediaTree(installed)) return installed;
  }
  return local;
}

std::string chooseMediaTree(const std::string& named) {
  return chooseMediaTree(named, ".", programDirectory());
}
