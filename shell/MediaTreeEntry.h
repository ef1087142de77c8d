#pragma once
// The engine reads its tree as media/ in the working directory. A tool given
// a tree by path works in a directory where media/ is that tree: the tree's
// parent when the tree is named media, otherwise a scratch directory holding
// a link of that name, removed again when the tree is left or however the
// program ends: at exit, and on SIGTERM, SIGHUP and SIGINT.
#include <string>

// False when the tree cannot be entered; the working directory is then
// unchanged.
//
// The first scratch directory made also makes SIGTERM, SIGHUP and SIGINT
// remove the scratch tree and then end the program as the signal would
// have: but only those of the three still at their default action, so a
// handler installed before (and an ignored SIGHUP, as under nohup) stays.
// Allegro's X11 system, brought up later, puts its own handler first and
// hands the signal on to this one when it has shut down.
bool enterMediaTree(const std::string& tree);

// Back to the working directory from before, the scratch directory removed.
void leaveMediaTree();

// Removes the scratch tree, if there is one, with async-signal-safe calls
// only (unlink of the link, rmdir of the directory), so that a signal
// handler may call it: a tool whose own handler replaces the one above (to
// save work before it goes, say) calls this last, since media/ no longer
// leads to the tree afterwards. Harmless to call twice or with no scratch
// tree; errno is kept. What else the program left in the scratch directory
// keeps it from going.
void removeMediaTreeScratch();
