#pragma once
// A forked check process is a copy of the whole editor: its lock, its X
// connection, its signal handlers and the rest of its descriptors. Left
// so, a check outliving a killed editor would keep the level locked, keep
// the dead editor's window on screen and, told to end, write the editor's
// autosave. The child lets go of all of it before doing anything else.
#include <sys/types.h>

// In the child, right after fork, before anything else: the child is
// killed when the editor (whose process id is editor, taken before the
// fork) ends, however it ends; every signal has its default action and
// none is blocked; every descriptor but standard input, output, error and
// keep is closed. Ends the child at once when the editor is already gone.
void becomeCheckChild(pid_t editor, int keep);
