#pragma once
// The claim an editor lays on a level file while it has it open, so that a
// second editor on the same file knows and opens it read-only. The claim is
// an advisory lock (flock) on a lock file beside the level, named
// ".NAME.lock" after the level's file name (beside the file a symbolic link
// leads to, so every name of a file shares one lock). The file holds the
// holder's process id and host, for the second editor to say who it is.
// The lock ends with the process however it ends, so a lock file left
// behind by a crash claims nothing.
#include <string>

class LevelLock {
 public:
  LevelLock() = default;
  ~LevelLock() { release(); }
  LevelLock(const LevelLock&) = delete;
  LevelLock& operator=(const LevelLock&) = delete;
  LevelLock(LevelLock&& other) noexcept;
  LevelLock& operator=(LevelLock&& other) noexcept;

  // What take() found.
  enum Result { Taken = 0, HeldElsewhere = 1, Failed = -1 };
  // Claims the level at path (which need not exist yet), letting go of any
  // claim held before. HeldElsewhere: holder() names who holds it. Failed:
  // error() says why no lock can be had (a folder that cannot be written).
  Result take(const std::string& levelPath);
  // Ends the claim and removes the lock file.
  void release();

  bool held() const { return fd_ >= 0; }
  const std::string& levelPath() const { return levelPath_; }  // as given to take()
  const std::string& holder() const { return holder_; }  // "process 4242 on aster"
  const std::string& error() const { return error_; }

  static std::string lockPathOf(const std::string& levelPath);

 private:
  int fd_ = -1;
  std::string levelPath_;
  std::string lockPath_;
  std::string holder_;
  std::string error_;
};

// How this process names itself in a lock file: "process 4242 on aster".
std::string thisEditor();
