#pragma once
// SIGTERM, SIGHUP and SIGINT end the editor, but not before its unsaved
// changes are in its autosave copy and the tools' scratch media folder is
// gone. The handler does both itself, with async-signal-safe calls only,
// from a copy of the autosave text the editor keeps current: a modal
// dialog running Allegro's own loop, or a main loop busy anywhere, cannot
// hold it up, and nothing the interrupted code was doing is touched. The
// signal then ends the process as it would have without a handler.
#include <string>

// At the very start of main: the threads Allegro starts inherit a mask that
// leaves these signals to the main thread, whose copy the handler reads.
void holdLeaveSignals();

// After Allegro's start-up, whose own handlers shut Allegro down from the
// signal and can deadlock doing so: ours replace them, and the main thread
// takes the signals again.
void watchLeaveSignals();

// What a signal writes from now on: text, replacing autosavePath. An empty
// text (nothing unsaved) writes nothing.
void keepForLeaveSignals(const std::string& autosavePath, const std::string& text);
