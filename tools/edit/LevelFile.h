#pragma once
// The editor's level files. Writing one goes through the tools' one file
// replacer, so a crash at any moment leaves either the old file or the new
// one; the text is the engine's own level writer's, so a file the editor
// wrote is written again byte for byte. Reading one is refused for what is
// not a plain file, and judged by pwe-check's own reader before the
// engine's loader (which loads whatever it can) takes it.
#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

#include "game/ElementKinds.h"
#include "game/LevelData.h"

// What a file held when the editor last read or wrote it, to tell later
// whether someone else has changed it since.
struct FileStamp {
  bool exists = false;
  long long size = 0;       // bytes
  timespec modified{};      // when its contents last changed
  std::uint64_t hash = 0;   // of its contents
  nlink_t links = 0;        // names the file has (hard links)
  bool writable = false;    // its permissions let it be written
};

// The same contents: size and hash alike (a file touched but unchanged is
// the same file).
bool sameContents(const FileStamp& a, const FileStamp& b);

// Reads the file whole, never blocking (a FIFO or a device is refused) and
// within the checker's bound on a text file: 0; a path where nothing is:
// 0 with stamp.exists false; -1 with the reason in error ("level.inf is not
// a plain file (a FIFO, a device or a socket): it is not read").
int readFile(const std::string& path, std::string& bytes, FileStamp& stamp, std::string& error);

// Why the file does not read whole and clean as pwe-check reads a level,
// in the checker's words with the place of the first problem ("line 1,
// column 1: ..."); empty when it does.
std::string levelDamage(const std::string& path);

// The engine's loader on a file's bytes: 0, or -1 when they cannot be a
// level (an impossible count or number).
int readLevelText(const std::string& bytes, LevelData& level);

// 0, or -1 with the reason in error (the old file is then untouched; a
// level the loader would refuse is never written, and the reason names
// what it would refuse). beforeRename, when given, runs once the new text
// is on the disk beside the file and only then (see replaceFile): a backup
// made there is made only for a save that goes ahead.
int writeLevelFile(const std::string& path, const LevelData& level, std::string& error,
                   const std::function<int(std::string& error)>& beforeRename = nullptr);

// The range the loader holds a bounded number to (game/LevelFields.h), as
// the editor's messages write it: "from -1000000 to 1000000".
std::string levelBoundRange();
// Why a list of count elements of the kind is more than the loader takes:
// "10001 tiles, more than the 10000 a level may hold"; empty when it is not.
std::string countBoundProblem(int count, const ElementKindFacts& kind);
// The first count or number of the level that the loader would refuse,
// named with its value ("enemy 3's speed 2000000.5 is out of the range
// from -1000000 to 1000000"); empty when it would refuse none.
std::string levelBoundProblem(const LevelData& level);

// Whether the engine's loader takes the level as the writer writes it:
// every count and bounded number within the loader's bounds.
bool levelIsLoadable(const LevelData& level);

// Reads a plain file at any path with the engine's loader. 0, or -1 when
// the file cannot be read or holds more than the loader accepts.
int readLevelFile(const std::string& path, LevelData& level);

// The copies kept beside a level file. No program reads a level by such a
// name (they read levelN.inf).
// The autosave copy of the editor holding the file's lock.
std::string autosavePathOf(const std::string& path);
// An editor without the lock autosaves under a name of its own:
// FILE.autosave.PID.
std::string ownAutosavePathOf(const std::string& path);
// An autosave copy the author declined, kept until the next save.
std::string declinedPathOf(const std::string& path);
// An autosave copy that could not be offered, renamed aside.
std::string damagedAutosavePathOf(const std::string& path);
// The file as it was before the first save of a session (FILE~).
std::string backupPathOf(const std::string& path);

// True when the autosave copy exists and is not older than the file, or
// the file does not exist.
bool autosaveIsNewer(const std::string& path);

// The newest FILE.autosave.PID copy left by an editor without the lock
// that no longer runs, when it is not older than the file (or the file does
// not exist); empty when there is none. Looks at no more than
// maxFolderEntries names of the file's folder.
constexpr int maxFolderEntries = 100000;
std::string orphanedAutosaveOf(const std::string& path);
