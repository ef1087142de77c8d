#pragma once
// A forked child is a copy of its whole parent: the editor's lock, its X
// connection, its signal handlers and the rest of its descriptors, or the
// checker's pipes to its other children. Left so, a child outliving a
// killed parent would keep the level locked, keep the dead editor's window
// on screen and, told to end, write the editor's autosave; a checker's
// child would go on proving a level nobody reads. The child lets go of all
// of it before doing anything else.
#include <sys/types.h>

// In the child, right after fork, before anything else: the child is
// killed when its parent (whose process id is parent, taken before the
// fork) ends, however it ends; every signal has its default action and
// none is blocked; every descriptor but standard input, output, error and
// keep is closed. Ends the child at once when the parent is already gone.
void becomeChildOf(pid_t parent, int keep);
