#pragma once
// What a program reads, from what its user named: a media tree alone, or a
// level set (or a single level file) laid over a base tree. Every program
// takes a place the same way: a tree as the folder holding media/ or as
// media/ itself; a set as its folder; a level file by its path, its folder
// then being its set; an installed set by its name. Sets kept beside a tree
// (DIR/sets/NAME beside DIR/media) go by their names.
#include <string>
#include <vector>

struct MediaPlace {
  std::string tree;      // the base media tree, the media folder itself
  std::string set;       // the set's folder as the user named it, or empty
  std::string setPath;   // the same, absolute: what the overlay is given
  std::string level;     // a level file named alone: its bare name in the set
  std::string problem;   // why nothing can be read there; empty when all is well
};

// The media tree a folder names: the folder itself when it holds pwe.cfg
// and is no set (it has no set.cfg), or its media/ when that is a tree;
// empty when neither.
std::string treeNamed(const std::string& directory);

// named: what the user gave, or empty for the base tree alone. base: the
// tree a set is laid over (either form), or empty: media/ of workingDir
// when that is a tree, else the one installed beside commandDir.
MediaPlace findMediaPlace(const std::string& named, const std::string& base,
                          const std::string& workingDir, const std::string& commandDir);
// The same for the running program in its working directory.
MediaPlace findMediaPlace(const std::string& named, const std::string& base = "");

// The same for a name that must be one level file (pwe --level, a level
// file of pwe-render): a folder there, a set's or a tree, is refused.
MediaPlace findLevelFile(const std::string& named, const std::string& base = "");

// The folder of the set kept beside the tree by that name, or empty.
std::string setBeside(const std::string& name, const std::string& tree);

// The sets kept beside a tree, by name.
std::vector<std::string> setsBeside(const std::string& tree);

// Enters the place's tree (shell/MediaTreeEntry.h) and lays its set over
// it (shell/MediaOverlay.h). Empty, or why the tree cannot be entered.
std::string enterMediaPlace(const MediaPlace& place);
