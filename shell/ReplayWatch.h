#pragma once
// Watching a recording in the game's window (pwe --replay FILE): the route
// pwe-check found, or any other recording, played as the game plays it,
// paced, drawn and heard, with its keys fed tick by tick in place of the
// devices'. Only Escape and the window's close button come from the user.
#include <string>

class Game;
struct Replay;

// The folder of the set a recording's level lies in, when the user named
// none to watch it in: the folder the recording names, when it holds the
// level; else a set of that folder's name kept beside the tree (a route of
// a shipped set, recorded elsewhere); else the recording's own folder,
// when it holds the level (a route kept beside its levels, given to a
// friend); else empty: the tree's own level.
std::string recordedSetFolder(const Replay& replay, const std::string& recordingPath,
                              const std::string& tree);

// Escape on the keyboard, or the window's close button: what ends a
// recording being watched, whose keys fill the Game's input record.
bool watcherEnds();

// Plays the recording's life of its level on the Game, from the life's
// start, then holds the last frame a moment. Escape or the close button
// end it at once.
void watchReplay(Game& game, const Replay& replay);
