// Composing a frame off screen: background, level elements, player, then
// the countdown and score panels, shown in one piece.
#include <string>
#include <vector>

#include "game/Game.h"
#include "shell/Fatal.h"
#include "shell/MediaPaths.h"

namespace {

BITMAP* loadPicture(const char* directory, const char* fileName) {
  std::string path = formatText("%s%s", directory, fileName);
  BITMAP* picture = load_bitmap(path.c_str(), nullptr);
  if (picture == nullptr) dataFailure(formatText("Error loading \"%s\".", path.c_str()));
  return picture;
}

FONT* loadFontFile(const char* fileName) {
  std::string path = formatText("%s%s", fontDir, fileName);
  FONT* loaded = load_font(path.c_str(), nullptr, nullptr);
  if (loaded == nullptr) dataFailure(formatText("Error loading \"%s\".", path.c_str()));
  return loaded;
}

bool panelShown(int align) { return align >= 0 && align <= 2; }

}  // namespace

void Game::loadHud() {
  buffer.reset(create_bitmap(width, height));
  if (!buffer) dataFailure("Error creating main game buffer.");
  background.reset(loadPicture(staticGfxDir, "back.png"));
  countdownBackground.reset(loadPicture(staticGfxDir, "countdown_back.png"));
  countdownBuffer.reset(create_bitmap(countdownBackground->w, countdownBackground->h));
  if (!countdownBuffer) {
    dataFailure("Error creating countdown buffer.", "Error creating countown buffer.");
  }
  scoreBackground.reset(loadPicture(staticGfxDir, "score_back.png"));
  scoreBuffer.reset(create_bitmap(scoreBackground->w, scoreBackground->h));
  if (!scoreBuffer) dataFailure("Error creating score buffer.");
  lifePip.reset(loadPicture(staticGfxDir, "life_pip.png"));
  countdownFont.reset(loadFontFile("countdown_fnt.png"));
  scoreFont.reset(loadFontFile("score_fnt.png"));
}

void Game::drawFrame() {
  BITMAP* frame = buffer.get();
  blit(background.get(), frame, 0, 0, 0, 0, background->w, background->h);

  // Later layers cover earlier ones: floors over the structures, items and
  // teleporters, the enemies and then the player on top.
  ladderManager->draw(frame);
  chuteManager->draw(frame);
  itemManager.draw(frame);
  teleporterManager.draw(frame, teleportCooldownActive);
  floorManager.draw(frame);
  enemyManager.draw(frame);
  player.draw(frame);

  // Numbers are formatted first and printed as plain text, never used as a
  // format themselves.
  if (panelShown(level.countdown_align)) {
    BITMAP* panel = countdownBuffer.get();
    FONT* panelFont = countdownFont.get();
    std::string text = formatText("%d", countdown);
    blit(countdownBackground.get(), panel, 0, 0, 0, 0, countdownBackground->w,
         countdownBackground->h);
    int textLength = text_length(panelFont, text.c_str());
    int textY = (panel->h - text_height(panelFont)) / 2;
    int textX = 0;
    if (level.countdown_align == 1) textX = panel->w - textLength;
    if (level.countdown_align == 2) textX = (panel->w - textLength) / 2;
    textprintf_ex(panel, panelFont, textX, textY, 0, -1, "%s", text.c_str());
    draw_sprite(frame, panel, level.countdown_x, level.countdown_y);
  }

  if (panelShown(level.score_align)) {
    BITMAP* panel = scoreBuffer.get();
    FONT* panelFont = scoreFont.get();
    BITMAP* pip = lifePip.get();
    std::string text = formatText("%d", player.score);
    blit(scoreBackground.get(), panel, 0, 0, 0, 0, scoreBackground->w, scoreBackground->h);

    const int lives = player.lives;
    const int pips = lives > 1 ? lives - 1 : 0;  // spare lives only
    const int stride = pip->w + level.pip_spacing;
    const int textLength = text_length(panelFont, text.c_str());
    const int panelWidth = panel->w;
    const int textY = (panel->h - text_height(panelFont)) / 2;
    const int pipY = (panel->h - pip->h) / 2;

    int textX = 0;
    std::vector<int> pipX;
    if (level.score_align == 0) {
      for (int k = 0; k < pips; ++k) pipX.push_back(textLength + level.pip_offset + stride * k);
    } else if (level.score_align == 1) {
      textX = panelWidth - stride * pips - textLength - level.pip_offset;
      for (int k = 1; k <= pips; ++k) pipX.push_back(panelWidth - stride * k);
    } else {
      textX = (panelWidth - stride * pips - textLength - level.pip_offset) / 2;
      for (int k = 1; k <= pips; ++k) {
        pipX.push_back(panelWidth - textX - stride * lives + stride * k);
      }
    }

    textprintf_ex(panel, panelFont, textX, textY, 0, -1, "%s", text.c_str());
    for (int x : pipX) {
      // The centred layout blends its pips through their own alpha.
      if (level.score_align == 2) {
        draw_trans_sprite(panel, pip, x, pipY);
      } else {
        draw_sprite(panel, pip, x, pipY);
      }
    }
    draw_sprite(frame, panel, level.score_x, level.score_y);
  }

  // Headless runs have no screen; they show frames on a bitmap of their own.
  if (display != nullptr) blit(frame, display, 0, 0, 0, 0, width, height);
}
