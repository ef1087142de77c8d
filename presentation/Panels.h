#pragma once
// The countdown and score panels drawn over the level: what each is to
// show now, and its composition onto the Game's panel buffer, which is
// done only when that look changes.
#include "presentation/KeptPicture.h"

class Game;

KeptPicture::View countdownView(const Game& game);
KeptPicture::View scoreView(const Game& game);
void composeCountdown(const Game& game);
void composeScore(const Game& game);
