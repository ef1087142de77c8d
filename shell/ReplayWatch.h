#pragma once
// Watching a recording in the game's window (pwe --replay FILE): the route
// pwe-check found, or any other recording, played as the game plays it,
// paced, drawn and heard, with its keys fed tick by tick in place of the
// devices'. Only Escape and the window's close button come from the user.
#include <string>

class Game;
struct Replay;

// Reads the recording and checks that it fits the media tree in the
// working directory: empty when it may be watched, otherwise the one line
// that says why not.
std::string loadWatchedReplay(const std::string& path, Replay& replay);

// Escape on the keyboard, or the window's close button: what ends a
// recording being watched, whose keys fill the Game's input record.
bool watcherEnds();

// Plays the recording's life of its level on the Game, from the life's
// start, then holds the last frame a moment. Escape or the close button
// end it at once.
void watchReplay(Game& game, const Replay& replay);
