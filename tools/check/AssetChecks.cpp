// The parts of a media tree that the Game loads while it is built: settings,
// image directories, HUD pictures, fonts, sounds, enemy kinds, animations
// and player.inf.
#include <allegro.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

#include "game/ElementKinds.h"
#include "graphics/FileSearch.h"
#include "graphics/Resources.h"
#include "player/Player.h"
#include "player/PlayerFields.h"
#include "shell/Fatal.h"
#include "shell/LevelSequence.h"
#include "shell/MediaOverlay.h"
#include "shell/MediaPaths.h"
#include "shell/Startup.h"
#include "shell/SoundFile.h"
#include "shell/Utf8.h"
#include "tools/check/ConfigChecks.h"
#include "tools/check/MediaChecker.h"
#include "tools/check/TokenReader.h"

namespace fs = std::filesystem;

namespace {

const char* looksOf(ElementKind kind) { return kindFacts(kind).looksFolder; }

}  // namespace

bool fileExists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

MediaChecker::MediaChecker(const std::string& root, Diagnostics& out)
    : root_(root), out_(out), levelNames_(std::begin(levelFiles), std::end(levelFiles)) {
  while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
}

void MediaChecker::run() {
  // What checks of other places found before this one does not count here.
  const int errorsBefore = out_.errorCount();
  if (!setAbsolute_.empty()) {
    layMediaSet(setAbsolute_);
    if (levelNames_.empty()) readSetLevels();
  }
  checkConfig();
  checkImageSet(looksOf(ElementKind::Tile), ImageUse::Masked, facts_.floorTiles);
  checkImageSet("gfx/static/floor tiles/clear/", ImageUse::Masked, facts_.clearedTiles);
  checkEnemyKinds();
  checkImageSet(looksOf(ElementKind::Item), ImageUse::Alpha, facts_.items);
  checkImageSet(looksOf(ElementKind::Teleporter), ImageUse::Alpha, facts_.teleporters);
  checkImageSet("gfx/static/transportation/teleporters/cooldown/", ImageUse::Alpha,
                facts_.teleporterCooldowns);
  checkHud();
  checkFonts();
  checkSounds();
  checkImageSet(looksOf(ElementKind::Chute), ImageUse::Masked, facts_.chutes);
  checkImageSet(looksOf(ElementKind::Ladder), ImageUse::Masked, facts_.ladders);
  checkPlayer();
  // The layout rules play each level in the engine, so they need a tree
  // whose other files it reads as they are written.
  const bool othersClean = out_.errorCount() == errorsBefore;
  for (const std::string& level : levelNames_) checkLevel(level);
  checkLevelReports(othersClean);
  liftMediaSet();
}

void MediaChecker::checkConfig() {
  // A set's pwe.cfg does not replace the tree's: its keys are laid over it.
  const bool own = !setAbsolute_.empty() && !setConfigPath(std::string(mediaDir) + "pwe.cfg").empty();
  checkConfiguration(root_ + "/pwe.cfg", out_, facts_, own ? setShown_ + "pwe.cfg" : "");
}

void MediaChecker::checkSounds() {
  for (const char* name : {"walk.wav", "jump.wav", "player_death_fall.wav",
                           "player_death_enemy.wav", "item.wav", "enemy_death.wav"}) {
    const std::string file = pathOf(std::string("audio/") + name);
    if (!fileExists(file)) {
      out_.report(file, "missing sound");
      continue;
    }
    const std::string refused = plainFileProblem(file);
    if (!refused.empty()) {
      out_.report(file, refused);
      continue;
    }
    std::error_code error;
    const auto bytes = static_cast<long long>(fs::file_size(file, error));
    if (!error && bytes > maxSoundBytes) {
      out_.report(file, oversizeProblem(bytes, maxSoundBytes, "a sound"));
      continue;
    }
    const SoundFile header = SoundFile::inspect(file);
    if (!header.loadable()) {
      out_.report(file, header.problem);
      continue;
    }
    SamplePtr sample(loadSoundFile(file));
    if (!sample) out_.report(file, "cannot be loaded as a WAV sound");
  }
}

void MediaChecker::checkPlayer() {
  const std::string file = pathOf("player.inf");
  TextFile text;
  if (!text.read(file)) {
    out_.report(file, text.missing() ? "missing: the engine stops with \"Error loading player.inf\""
                                     : text.problem());
    return;
  }
  TokenReader reader(text, out_, NumberRule::WholeToken);
  reader.setEndNote(" (player.inf holds " + std::to_string(playerFieldCount) + " values)");
  reader.setIntLimit(Player::maxFigureSize, "the engine stops with \"Error loading player.inf\"");
  std::string names[Player::animationCount];
  Position at[Player::animationCount];
  bool named[Player::animationCount] = {};
  Player values;
  for (const PlayerField& field : playerFields) {
    if (field.animation >= 0) {
      named[field.animation] = reader.readWord(names[field.animation], field.what);
      at[field.animation] = reader.lastPosition();
    } else if (field.whole != nullptr) {
      reader.readInt(values.*field.whole, field.what);
    } else {
      reader.readFloat(values.*field.real, field.what);
    }
  }
  reader.reportTrailing("the " + std::to_string(playerFieldCount) + " values");

  // In file order, as the engine loads them.
  const std::string base = "gfx/anim/player/";
  for (const PlayerField& field : playerFields) {
    const int i = field.animation;
    if (i >= 0 && named[i]) checkAnimation(base, names[i], file, at[i]);
  }
}
