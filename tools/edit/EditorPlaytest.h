#pragma once
// Play-testing: one life of the edited level in the editor's own Game, with
// the game's tick, drawing, sounds and keys, shown in the window's game
// area. Nothing is written to the media tree: the level is handed to the
// Game as it stands in the editor, unsaved changes and all.
#include <vector>

#include "game/LevelData.h"

class EditorWindow;
class Game;
struct Replay;

struct PathPoint {
  int x = 0;  // the player's horizontal centre, screen pixels
  int y = 0;  // its lowest row
};

struct PlaytestOutcome {
  enum End { Escaped, LifeLost, Cleared, Closed, KeysRanOut };
  End end = Escaped;
  int ticks = 0;                // game ticks played
  std::vector<PathPoint> path;  // where the player was, one point per move
};

// Plays level for one life. The Game's lives, score and run flags are as
// before when it returns, and the keys of the play-test are used up; the
// caller places its own level in the Game again. With a route, its
// recorded keys play instead of the user's, as pwe --replay plays them;
// Escape still ends it.
PlaytestOutcome playTest(Game& game, EditorWindow& window, const LevelData& level,
                         const Replay* route = nullptr);

// The level with its player start moved to (x, y): F6 starts from there.
LevelData startingAt(const LevelData& level, int x, int y);
