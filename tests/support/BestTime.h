#pragma once
// The true best time to clear a small level without its enemies, for
// holding the checker's par and routes to: every key combination the tick
// tells apart (BestTime.cpp lists them), and each teleport's digit pressed
// standing or walking, is tried in every tick, breadth first, and states are told apart by all
// that a tick reads of the player and by the tiles claimed. Only for levels
// made for it: at most 64 claimable tiles, a player whose
// frames all have one width (where each animation stands is not told
// apart), and no more than maxStates states, past which it gives up.
#include <cstddef>

class Game;

// Ticks from the life's start to the one that claims the last tile; -1
// when it gives up or no way clears the level within maxTicks. The game is
// left at its life's start.
int bestClearingTicks(Game& game, int maxTicks, std::size_t maxStates);
