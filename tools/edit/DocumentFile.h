#pragma once
// The file an edited level is kept in, and the copies beside it: what the
// editor read or last wrote there, the lock that tells other editors it is
// open, the backup of the first save, the autosave copies. Nothing here
// ever overwrites what the author did not choose to replace: a save that
// would (a damaged file, another editor's file, a read-only file, one
// changed on disk, one with other names) is held back with the question to
// ask, and goes ahead only once the author has accepted that risk.
#include <string>

#include "game/LevelData.h"
#include "tools/edit/LevelFile.h"
#include "tools/edit/LevelLock.h"

// What a save would put at risk; bits, so that a caller can accept several.
enum class FileRisk : unsigned {
  None = 0,
  Damaged = 1,         // the file did not read whole: saving drops what the editor could not read
  Locked = 2,          // another editor has the file open
  ReadOnlyFile = 4,    // the file's permissions say it is not to be written
  ChangedOnDisk = 8,   // someone else changed (or made) the file since it was read or written
  HardLinks = 16,      // the file has other names, which a save leaves with the old text
};
constexpr unsigned riskBit(FileRisk risk) { return static_cast<unsigned>(risk); }

class DocumentFile {
 public:
  // pwe.cfg's [editor] backups: 0 turns the first save's backup off.
  DocumentFile();

  // Reads the file at path into level: 0; 1 when no file is there yet (level
  // untouched). -1, with the reason in error and nothing changed, for what
  // is not a plain file and for a file the engine's loader refuses. A file
  // that does not read whole and clean is opened all the same (read-only).
  int open(const std::string& path, LevelData& level, std::string& error);
  // From now on the document is saved to path; nothing is read.
  void retarget(const std::string& path);
  // No file any more: the lock is let go, and a save needs a path first.
  void close();

  const std::string& path() const { return path_; }
  // Why a save must ask first, as it stands: Damaged, Locked or
  // ReadOnlyFile, the first that holds; None for a file the editor may
  // save freely.
  FileRisk readOnly() const;
  // "level.inf did not read whole: line 1, column 1: ..."; empty when None.
  std::string readOnlyReason() const;

  // Writes text (the level as the engine's writer writes it) to path() or
  // to a new path, unless a risk not in `accepted` stands in the way: 0, or
  // -1 with risk() and error() the question to ask, or risk() None and
  // error() why it failed. Either way a failure changed nothing.
  int save(const LevelData& level, unsigned accepted);
  int saveAs(const std::string& path, const LevelData& level, unsigned accepted);
  FileRisk risk() const { return risk_; }
  const std::string& error() const { return error_; }
  // What the last save did beside writing: "kept the previous file as
  // level.inf~", or how a new level joined its folder's set
  // (tools/edit/SetList.h); empty when nothing.
  const std::string& note() const { return note_; }
  // A new level saved into a folder without set.cfg starts a list titled
  // so (joinSetList); empty, as at first: it starts none.
  void startListsTitled(const std::string& title) { listTitle_ = title; }

  // --- Autosave copies ---
  // FILE.autosave for the editor holding the lock, FILE.autosave.PID for
  // any other; empty without a path.
  std::string autosavePath() const;
  // After open: whether the lock holder's autosave copy is newer than the
  // file and reads whole, so it may be offered. One that does not read is
  // renamed aside (never deleted) and note says so.
  bool autosaveToOffer(std::string& note);
  // The offer declined: the copy is kept as FILE.autosave.declined.
  void declineAutosave();
  // After a save: the declined copy goes.
  void forgetDeclined();

 private:
  int saveTo(const std::string& path, const FileStamp& seen, const std::string& damage,
             const LevelLock& lock, const LevelData& level, unsigned accepted,
             FileStamp& written);
  FileRisk firstRisk(const FileStamp& seen, const FileStamp& now, const std::string& damage,
                     const LevelLock& lock, unsigned accepted) const;
  std::string question(FileRisk risk, const std::string& path, const FileStamp& seen,
                       const FileStamp& now, const std::string& damage, const LevelLock& lock,
                       long long newSize) const;
  // What a backup replaced, so that a save that goes no further than the
  // backup can take it back.
  struct BackupKept {
    bool made = false;
    bool replaced = false;     // a backup stood there before
    std::string formerText;    // and held this
  };
  int keepBackup(const std::string& path, const std::string& old, BackupKept& kept);
  void takeBackBackup(const std::string& path, const BackupKept& kept);
  void claim(const std::string& path);

  std::string path_;
  FileStamp stamp_;       // as read or last written; exists false when nothing was there
  std::string damage_;    // why the file did not read whole; empty when it did
  LevelLock lock_;
  bool backups_ = true;   // [editor] backups
  bool backedUp_ = false; // this file's backup was kept since it was opened
  FileRisk risk_ = FileRisk::None;
  std::string error_;
  std::string note_;
  std::string listTitle_;
};
