#include "tools/edit/DocumentFile.h"

#include <allegro.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "authoring/FileReplace.h"
#include "game/LevelFormat.h"
#include "shell/ConfigFields.h"
#include "tools/edit/SetList.h"

namespace {

std::string nameOf(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

std::string bytes(long long count) {
  return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

// "14:03:27", local time.
std::string clockTime(const timespec& when) {
  std::tm local {};
  char text[16] = "";
  if (localtime_r(&when.tv_sec, &local) != nullptr) std::strftime(text, sizeof text, "%H:%M:%S", &local);
  return text;
}

bool exists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

// base, or base.2, base.3 ... whichever is free: nothing set aside earlier
// is ever replaced.
std::string freeName(const std::string& base) {
  std::string name = base;
  for (int n = 2; exists(name); ++n) name = base + "." + std::to_string(n);
  return name;
}

}  // namespace

DocumentFile::DocumentFile() : backups_(readConfig(config::backups) != 0) {}

int DocumentFile::open(const std::string& path, LevelData& level, std::string& error) {
  std::string text;
  FileStamp stamp;
  if (readFile(path, text, stamp, error) != 0) return -1;
  std::string damage;
  if (stamp.exists) {
    damage = levelDamage(path);
    LevelData data;
    if (readLevelText(text, data) != 0) {
      error = path + " is not a level the game can load";
      if (!damage.empty()) error += ": " + damage;
      return -1;
    }
    level = std::move(data);
  }
  claim(path);
  stamp_ = stamp;
  damage_ = damage;
  backedUp_ = false;
  return stamp.exists ? 0 : 1;
}

void DocumentFile::retarget(const std::string& path) {
  claim(path);
  stamp_ = FileStamp{};
  damage_.clear();
  backedUp_ = false;
}

void DocumentFile::close() {
  lock_.release();
  path_.clear();
  stamp_ = FileStamp{};
  damage_.clear();
  backedUp_ = false;
}

// The lock already held on the same file is kept: a second claim of this
// process would be refused by the first.
void DocumentFile::claim(const std::string& path) {
  const bool same = lock_.held() && LevelLock::lockPathOf(lock_.levelPath()) ==
                                        LevelLock::lockPathOf(path);
  if (!same) lock_.take(path);
  path_ = path;
}

FileRisk DocumentFile::readOnly() const {
  if (!damage_.empty()) return FileRisk::Damaged;
  if (!path_.empty() && !lock_.held() && !lock_.holder().empty()) return FileRisk::Locked;
  if (stamp_.exists && !stamp_.writable) return FileRisk::ReadOnlyFile;
  return FileRisk::None;
}

std::string DocumentFile::readOnlyReason() const {
  const std::string name = nameOf(path_);
  switch (readOnly()) {
    case FileRisk::Damaged: return name + " did not read whole: " + damage_;
    case FileRisk::Locked: return name + " is open in another editor (" + lock_.holder() + ")";
    case FileRisk::ReadOnlyFile: return name + " is a read-only file";
    default: return std::string();
  }
}

int DocumentFile::save(const LevelData& level, unsigned accepted) {
  if (path_.empty()) {
    risk_ = FileRisk::None;
    error_ = "the level has no file name";
    return -1;
  }
  // The other editor may have left since.
  if (!lock_.held()) lock_.take(path_);
  FileStamp written;
  if (saveTo(path_, stamp_, damage_, lock_, level, accepted, written) != 0) return -1;
  stamp_ = written;
  damage_.clear();
  return 0;
}

int DocumentFile::saveAs(const std::string& path, const LevelData& level, unsigned accepted) {
  if (path == path_) return save(level, accepted);
  LevelLock lock;
  lock.take(path);
  FileStamp written;
  const bool backedUp = backedUp_;
  backedUp_ = false;  // a file of another name was never backed up
  const int saved = saveTo(path, FileStamp{}, std::string(), lock, level, accepted, written);
  if (saved != 0) {
    backedUp_ = backedUp;
    return -1;
  }
  path_ = path;
  lock_ = std::move(lock);
  stamp_ = written;
  damage_.clear();
  return 0;
}

// seen: the file as the document last read or wrote it.
int DocumentFile::saveTo(const std::string& path, const FileStamp& seen,
                         const std::string& damage, const LevelLock& lock,
                         const LevelData& level, unsigned accepted, FileStamp& written) {
  risk_ = FileRisk::None;
  error_.clear();
  note_.clear();
  std::string old;
  FileStamp now;
  if (readFile(path, old, now, error_) != 0) {
    error_ = "cannot save over it: " + error_;
    return -1;
  }
  risk_ = firstRisk(seen, now, damage, lock, accepted);
  if (risk_ != FileRisk::None) {
    const long long size = static_cast<long long>(writeLevel(level).size());
    error_ = question(risk_, path, seen, now, damage, lock, size);
    return -1;
  }
  // The backup is kept only once the new text is written beside the file.
  // (keepBackup says why it failed in error_, where the write's reason goes.)
  std::function<int(std::string&)> keep;
  BackupKept kept;
  if (backups_ && !backedUp_ && now.exists) {
    keep = [&](std::string&) { return keepBackup(path, old, kept); };
  }
  if (writeLevelFile(path, level, error_, keep) != 0) {
    takeBackBackup(path, kept);  // the rename after it was refused
    return -1;
  }
  backedUp_ = true;  // only the first save of a session keeps one
  // A level file new in its folder joins the folder's set.
  if (!now.exists) note_ = joinSetList(path, listTitle_);
  std::string text;
  std::string ignored;
  if (readFile(path, text, written, ignored) != 0) written = FileStamp{};
  return 0;
}

FileRisk DocumentFile::firstRisk(const FileStamp& seen, const FileStamp& now,
                                 const std::string& damage, const LevelLock& lock,
                                 unsigned accepted) const {
  const auto stands = [accepted](FileRisk risk) { return (accepted & riskBit(risk)) == 0; };
  // Nothing there: nothing to lose.
  if (!now.exists) {
    return !lock.held() && !lock.holder().empty() && stands(FileRisk::Locked) ? FileRisk::Locked
                                                                             : FileRisk::None;
  }
  if (!damage.empty() && stands(FileRisk::Damaged)) return FileRisk::Damaged;
  if (!lock.held() && !lock.holder().empty() && stands(FileRisk::Locked)) return FileRisk::Locked;
  if (!now.writable && stands(FileRisk::ReadOnlyFile)) return FileRisk::ReadOnlyFile;
  if (!sameContents(seen, now) && stands(FileRisk::ChangedOnDisk)) return FileRisk::ChangedOnDisk;
  if (now.links > 1 && stands(FileRisk::HardLinks)) return FileRisk::HardLinks;
  return FileRisk::None;
}

// The question names what the save would lose.
std::string DocumentFile::question(FileRisk risk, const std::string& path, const FileStamp& seen,
                                   const FileStamp& now, const std::string& damage,
                                   const LevelLock& lock, long long newSize) const {
  const std::string name = nameOf(path);
  std::string text;
  switch (risk) {
    case FileRisk::Damaged:
      text = name + " did not read whole (" + damage + "); saving replaces its " +
             bytes(now.size) + " with the " + std::to_string(newSize) + " the editor holds";
      break;
    case FileRisk::Locked:
      text = name + " is open in another editor (" + lock.holder() +
             "): saving replaces the file under it";
      break;
    case FileRisk::ReadOnlyFile:
      text = name + " is a read-only file: saving replaces its " + bytes(now.size) + " all the same";
      break;
    case FileRisk::ChangedOnDisk:
      text = seen.exists ? name + " changed on disk at " + clockTime(now.modified) +
                               ", after the editor read or saved it (" + bytes(seen.size) +
                               " then, " + bytes(now.size) + " now): saving replaces that version"
                         : name + " already exists (" + bytes(now.size) + "): saving replaces it";
      break;
    case FileRisk::HardLinks:
      text = name + " has " + std::to_string(now.links) +
             " names (hard links): saving writes a new file under this name, and the other "
             "names keep the old level";
      break;
    default: break;
  }
  if (now.exists && backups_ && !backedUp_) {
    text += "; the file as it is now is kept as " + nameOf(backupPathOf(path));
  }
  return text;
}

int DocumentFile::keepBackup(const std::string& path, const std::string& old,
                             BackupKept& kept) {
  const std::string backup = backupPathOf(path);
  // A link left in the backup's place must not send the old text elsewhere.
  struct stat info {};
  if (lstat(backup.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    error_ = "cannot keep the previous file as " + nameOf(backup) +
             ": that is not a plain file; nothing was saved";
    return -1;
  }
  std::string error;
  FileStamp former;
  if (readFile(backup, kept.formerText, former, error) != 0) {
    error_ = error + " (the backup of the previous file); nothing was saved";
    return -1;
  }
  kept.replaced = former.exists;
  if (replaceFile(backup, old, error) != 0) {
    error_ = error + " (the backup of the previous file); nothing was saved";
    return -1;
  }
  kept.made = true;
  note_ = "the previous file is kept as " + nameOf(backup);
  return 0;
}

void DocumentFile::takeBackBackup(const std::string& path, const BackupKept& kept) {
  if (!kept.made) return;
  const std::string backup = backupPathOf(path);
  std::string ignored;
  if (kept.replaced) {
    replaceFile(backup, kept.formerText, ignored);
  } else {
    std::remove(backup.c_str());
  }
  note_.clear();
}

std::string DocumentFile::autosavePath() const {
  if (path_.empty()) return std::string();
  return lock_.held() ? autosavePathOf(path_) : ownAutosavePathOf(path_);
}

bool DocumentFile::autosaveToOffer(std::string& note) {
  note.clear();
  // Only the lock's holder: another editor's copy may be the one its
  // owner is writing.
  if (!lock_.held()) return false;
  const std::string copy = autosavePathOf(path_);
  // A copy an editor without the lock left as it ended is the holder's to
  // offer, under the holder's name, when the holder has none newer.
  if (!autosaveIsNewer(path_)) {
    const std::string orphan = orphanedAutosaveOf(path_);
    if (orphan.empty() || std::rename(orphan.c_str(), copy.c_str()) != 0) return false;
  }
  const std::string damage = levelDamage(copy);
  if (damage.empty()) return true;
  const std::string aside = freeName(damagedAutosavePathOf(path_));
  note = "the autosave copy " + nameOf(copy) + " was not offered (" + damage + ")";
  if (std::rename(copy.c_str(), aside.c_str()) == 0) {
    note += "; it is kept as " + nameOf(aside);
  } else {
    note += "; it is left as it is (" + std::string(std::strerror(errno)) + ")";
  }
  return false;
}

void DocumentFile::declineAutosave() {
  // Declining loses nothing: the copy stays, under a name nothing offers.
  std::rename(autosavePathOf(path_).c_str(), declinedPathOf(path_).c_str());
}

void DocumentFile::forgetDeclined() {
  if (lock_.held()) std::remove(declinedPathOf(path_).c_str());
}
