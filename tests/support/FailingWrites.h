#pragma once
// A directory where writes fail, for the tests of what a tool does then.
// Two ways: a small file system of its own (tmpfs), mounted in a mount
// namespace private to the test process and the programs it starts, and
// then filled up, as a full disk is; or, where the test may not mount one,
// a limit on the size of any file (RLIMIT_FSIZE, with SIGXFSZ ignored so
// that the write fails with EFBIG instead of ending the program), which
// cuts a file off where a disk filling up mid-write would.
#include <string>

enum class WriteFailure {
  fullDisk,   // no room left at all: ENOSPC
  sizeLimit,  // no file grows beyond a number of bytes: EFBIG
};

class FailingWrites {
 public:
  explicit FailingWrites(WriteFailure how);
  ~FailingWrites();
  FailingWrites(const FailingWrites&) = delete;
  FailingWrites& operator=(const FailingWrites&) = delete;

  // False when this way is not open to the test (mounting refused).
  bool available() const { return !directory_.empty(); }
  // Empty; the test puts its old files here before arm().
  const std::string& directory() const { return directory_; }
  // From now on writes fail: on the full disk any that needs room, under
  // the size limit any beyond that many bytes of a file.
  void arm(long long sizeLimit = 16);
  // Writes work again (the destructor does this too).
  void disarm();
  // What strerror says of the failure.
  std::string reason() const;

 private:
  WriteFailure how_;
  std::string mountPoint_;  // the tmpfs, for the full disk
  std::string directory_;   // the test's files: in the tmpfs, or in /tmp
  bool limited_ = false;    // the size limit is in force
  long long formerLimit_ = 0;
};
