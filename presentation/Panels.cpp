#include "presentation/Panels.h"

#include <string>

#include "game/Game.h"
#include "graphics/AlphaSprite.h"
#include "shell/Fatal.h"

bool Game::panelShown(int align) { return align >= 0 && align <= 2; }

KeptPicture::View countdownView(const Game& game) {
  const LevelData& level = game.level;
  const BITMAP* panel = game.countdownBuffer.get();
  return {Game::panelShown(level.countdown_align),
          {level.countdown_x, level.countdown_y, panel->w, panel->h},
          {game.countdown, level.countdown_align, 0, 0, 0, 0}};
}

KeptPicture::View scoreView(const Game& game) {
  const LevelData& level = game.level;
  const BITMAP* panel = game.scoreBuffer.get();
  return {Game::panelShown(level.score_align),
          {level.score_x, level.score_y, panel->w, panel->h},
          {game.player.score, game.player.lives, level.score_align, level.pip_offset,
           level.pip_spacing, 0}};
}

// The countdown on its panel, aligned as the level asks. Numbers are
// formatted first and printed as plain text, never used as a format.
void composeCountdown(const Game& game) {
  const LevelData& level = game.level;
  BITMAP* panel = game.countdownBuffer.get();
  FONT* panelFont = game.countdownFont.get();
  std::string text = formatText("%d", game.countdown);
  blit(game.countdownBackground.get(), panel, 0, 0, 0, 0, panel->w, panel->h);
  int textLength = text_length(panelFont, text.c_str());
  int textY = (panel->h - text_height(panelFont)) / 2;
  int textX = 0;
  if (level.countdown_align == 1) textX = panel->w - textLength;
  if (level.countdown_align == 2) textX = (panel->w - textLength) / 2;
  textprintf_ex(panel, panelFont, textX, textY, 0, -1, "%s", text.c_str());
}

// The score and one pip per spare life on their panel.
void composeScore(const Game& game) {
  const LevelData& level = game.level;
  BITMAP* panel = game.scoreBuffer.get();
  FONT* panelFont = game.scoreFont.get();
  BITMAP* pip = game.lifePip.get();
  std::string text = formatText("%d", game.player.score);
  blit(game.scoreBackground.get(), panel, 0, 0, 0, 0, panel->w, panel->h);

  const int lives = game.player.lives;
  const int pips = lives > 1 ? lives - 1 : 0;  // spare lives only
  const int stride = pip->w + level.pip_spacing;
  const int textLength = text_length(panelFont, text.c_str());
  const int panelWidth = panel->w;
  const int pipY = (panel->h - pip->h) / 2;

  // Left: text, gap and pips from the left edge. Right: pips end one
  // spacing short of the right edge, the text a gap before them. Centred:
  // the same block in the middle.
  int textX = 0;
  const int block = stride * pips + textLength + level.pip_offset;
  if (level.score_align == 1) textX = panelWidth - block;
  if (level.score_align == 2) textX = (panelWidth - block) / 2;
  textprintf_ex(panel, panelFont, textX, (panel->h - text_height(panelFont)) / 2, 0, -1, "%s",
                text.c_str());

  for (int k = 1; k <= pips; ++k) {
    if (level.score_align == 0) {
      draw_sprite(panel, pip, textLength + level.pip_offset + stride * (k - 1), pipY);
    } else if (level.score_align == 1) {
      draw_sprite(panel, pip, panelWidth - stride * k, pipY);
    } else {
      // The centred layout blends its pips through their own alpha.
      drawAlphaSprite(panel, pip, panelWidth - textX - stride * lives + stride * k, pipY);
    }
  }
}

