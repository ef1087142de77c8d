#pragma once
// The levels a game plays, in order, over and over: the tree's own four, or
// those a level set lists. A set says its order in set.cfg:
//
//   # what follows a '#' at the start of a line is a comment
//   title = Moss Caverns
//   level = moss1.inf
//   level = moss2.inf
//
// one "level" line per level, played in the order written (a name may come
// twice). Each names a level file (NAME.inf, never player.inf) by its bare
// name: the set's own, or one of the base tree's, which the set then plays
// as it stands. A set without
// set.cfg plays every level file of its folder (every *.inf but
// player.inf) in the order of their names, numbers counted whole, so
// level2.inf comes before level10.inf; its title is the folder's name.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

inline constexpr const char* setListName = "set.cfg";
// A list of levels is a few lines; anything longer is no list, and is
// refused by its size before it is read.
inline constexpr long maxSetListBytes = 64L << 10;
// More levels than anyone plays through: a list or a folder holding more is
// refused, so that reading a set takes time and memory in proportion to
// this at most.
inline constexpr std::size_t maxSetLevels = 1000;

struct LevelSet {
  std::string directory;            // the set's folder; empty for the tree's own levels
  std::string title;                // as the set names itself; empty for the tree's
  std::vector<std::string> levels;  // level file names, in playing order
};

// level1.inf to level4.inf of the tree.
LevelSet treeLevels();

// The set in directory, its levels found through the media overlay (a set
// laid at directory: shell/MediaOverlay.h). Empty when it is usable;
// otherwise why not, as "PATH:LINE: why" for a fault of set.cfg.
std::string readLevelSet(const std::string& directory, LevelSet& out);

// The same from the text of a set.cfg; name stands for the file in the
// messages. Each level is asked of exists.
std::string readSetList(const std::string& text, const std::string& name,
                        const std::function<bool(const std::string&)>& exists, LevelSet& out);

// Whether a name in the list may name a level: a bare file name, no folder.
bool plainLevelName(const std::string& name);

// Whether a file of a set's folder is one of its levels when no list
// names them: a *.inf file but player.inf.
bool isLevelFileName(const std::string& name);

// Orders names with their runs of digits compared as numbers.
bool namedBefore(const std::string& a, const std::string& b);

// The text of a set.cfg: what a tool writes when it starts or extends a list.
std::string setListText(const LevelSet& set);
// The line of a set.cfg that lists one level, what a tool appends to a list.
std::string setListLine(const std::string& level);
