#pragma once
// The engine reads its tree as media/ in the working directory. A tool given
// a tree by path works in a directory where media/ is that tree: the tree's
// parent when the tree is named media, otherwise a scratch directory holding
// a link of that name, removed again when the tree is left or however the
// program ends.
#include <string>

// False when the tree cannot be entered; the working directory is then
// unchanged.
bool enterMediaTree(const std::string& tree);

// Back to the working directory from before, the scratch directory removed.
void leaveMediaTree();
