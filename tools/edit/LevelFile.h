#pragma once
// Writing a level file so that a crash at any moment leaves either the old
// file or the new one (through the tools' one file replacer). The text is
// the engine's own level writer's, so a file the editor wrote is written
// again byte for byte.
#include <string>

#include "game/LevelData.h"

// 0, or -1 with the reason in error (the old file is then untouched).
int writeLevelFile(const std::string& path, const LevelData& level, std::string& error);

// Whether the engine's loader takes the level as the writer writes it:
// every count and bounded number within the loader's bounds.
bool levelIsLoadable(const LevelData& level);

// Reads any path with the engine's loader. 0, or -1 when the file cannot be
// opened or holds more than the loader accepts.
int readLevelFile(const std::string& path, LevelData& level);

// The autosave copy of a level file lies beside it under this name; no
// program reads a level by such a name (they read levelN.inf).
std::string autosavePathOf(const std::string& path);

// True when the autosave copy exists and is not older than the file, or
// the file does not exist.
bool autosaveIsNewer(const std::string& path);
