#pragma once
// A new level saved into a set's folder joins the set's list (set.cfg,
// shell/LevelSet.h), so that the game plays it with the others. The list is
// the author's: it is changed only by a line added at its end, only when it
// was read whole and reads as a list, and only through the one file writer
// (authoring/FileReplace.h). A list that cannot be read, that does not
// read as a list, that is read-only or has other names stays exactly as it
// was, and the editor says so. A folder without set.cfg needs nothing: it
// plays every level file in it by name.
//
// Two editors adding to the same list take turns: each holds a lock on the
// list's folder (flock) from reading the list to replacing it, and waits
// for the other at most maxListWaitSeconds; one that cannot get the lock in
// that time leaves the list alone and says so.
#include <string>

inline constexpr double maxListWaitSeconds = 2.0;

// After the level file at levelPath was saved for the first time: its
// folder's set.cfg lists it at its end. When the folder has no set.cfg and
// startTitle is not empty, a list titled so is started instead, naming
// every level file of the folder in name order. What happened, for the
// status line ("new.inf joins the levels of set.cfg"; "set.cfg is left as
// it was: ..."); empty when nothing was to be done (no list, a name the list
// already has, a file that is no level file).
std::string joinSetList(const std::string& levelPath, const std::string& startTitle = "");

// Starts a list titled title in folder, naming the level files already
// there in name order, when the folder has none and holds a level file.
// What happened, or empty when nothing was done.
std::string startSetList(const std::string& folder, const std::string& title);
