#pragma once
// The rarely changing layers of a frame, under the moving figures:
// background, ladders, chutes, items, teleporters and floor tiles, in
// drawing order, each written once in one list (StaticLayers.cpp) that
// gives its marks, its key and its drawing. Adding a layer is one entry.
#include <allegro.h>

#include <cstddef>
#include <cstdint>
#include <vector>

class Game;

// A floor tile's part of the key: x, y and the image it shows. The tiles
// are the last layer, so a claimed tile is found at the end of the key.
constexpr std::size_t tileKeyValues = 3;

// What the layers depend on at a glance: each owner's change stamp and the
// few values besides. While these hold, nothing in the key can differ.
void staticLayersMarks(const Game& game, std::vector<std::intptr_t>& marks);
// Everything the layers' pixels depend on.
void staticLayersKey(const Game& game, std::vector<std::intptr_t>& key);
// Every layer in turn onto target.
void drawStaticLayers(const Game& game, BITMAP* target);
