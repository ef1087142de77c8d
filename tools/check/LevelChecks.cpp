// A level file read by the checker's level reader, and the checks of its
// header and its structures.
#include <allegro.h>

#include <string>

#include "tools/check/LevelFileCheck.h"

namespace {

bool zeroOrOne(int value) { return value == 0 || value == 1; }

}  // namespace

void MediaChecker::checkLevel(const std::string& fileName) {
  const std::string file = pathOf(fileName);
  TextFile text;
  if (!text.read(file)) {
    out_.report(file, text.missing()
                          ? "missing: the engine stops with \"Error loading \"" + fileName + "\"\""
                          : text.problem());
    return;
  }
  LevelRecords& records = levels_.emplace_back();
  records.fileName = fileName;
  const int errorsBefore = out_.errorCount();
  LevelFileCheck check(file, facts_, out_, records);
  LevelFileReader(text, out_).read(check);
  records.readable = out_.errorCount() == errorsBefore;
}

LevelFileCheck::LevelFileCheck(const std::string& file, const TreeFacts& facts, Diagnostics& out,
                               LevelRecords& records)
    : file_(file),
      facts_(facts),
      out_(out),
      records_(records),
      screen_(size(facts.screenWidth, facts.screenHeight)) {}

// HUD placement, life pips, the player's start.
void LevelFileCheck::header(const FieldReads<LevelData>& header) {
  const LevelData& level = header.record;
  records_.countdownPanel = header.at<&LevelData::countdown_x>();
  records_.scorePanel = header.at<&LevelData::score_x>();
  records_.start = header.at<&LevelData::start_x>();
  if (header.has<&LevelData::countdown_x>() && header.has<&LevelData::countdown_y>() &&
      header.has<&LevelData::countdown_align>()) {
    checkPanel(level.countdown_x, level.countdown_y, level.countdown_align,
               records_.countdownPanel, "countdown", facts_.countdownPanelWidth,
               facts_.countdownPanelHeight);
  }
  if (header.has<&LevelData::score_x>() && header.has<&LevelData::score_y>() &&
      header.has<&LevelData::score_align>()) {
    checkPanel(level.score_x, level.score_y, level.score_align, records_.scorePanel, "score",
               facts_.scorePanelWidth, facts_.scorePanelHeight);
  }
  if (header.has<&LevelData::start_x>() && header.has<&LevelData::start_y>() &&
      !pointOnScreen(level.start_x, level.start_y)) {
    report(records_.start, "the player start (" + point(level.start_x, level.start_y) +
                               ") is off the " + screen_ + " screen");
  }
  if (header.has<&LevelData::start_animation>() &&
      (level.start_animation < 0 || level.start_animation > 4)) {
    report(header.at<&LevelData::start_animation>(),
           "start_animation " + std::to_string(level.start_animation) +
               " is not a player animation (0 to 4)");
  }
}

void LevelFileCheck::checkPanel(int x, int y, int align, Position where, const char* name,
                                int width, int height) {
  // Other alignments hide the panel; an unknown size was reported already.
  if (align < 0 || align > 2 || width <= 0) return;
  if (!whollyOnScreen(x, y, width, height)) {
    report(where, std::string("the ") + name + " panel (" + size(width, height) + " at " +
                      point(x, y) + ") is not wholly on the " + screen_ + " screen");
  }
}

void LevelFileCheck::check(const FieldReads<TileSpec>& read, int i) {
  const TileSpec& tile = read.record;
  const int image = read.has<&TileSpec::tile_name>()
                        ? lookUp(facts_.floorTiles, tile.tile_name, read.at<&TileSpec::tile_name>())
                        : -1;
  if (read.has<&TileSpec::cleared_name>()) {
    lookUp(facts_.clearedTiles, tile.cleared_name, read.at<&TileSpec::cleared_name>());
  }
  if (read.has<&TileSpec::claimable>() && !zeroOrOne(tile.claimable)) {
    report(read.at<&TileSpec::claimable>(), of("claimable", ElementKind::Tile, i) +
                                                " must be 0 or 1, found " +
                                                std::to_string(tile.claimable));
  }
  const bool placed = read.has<&TileSpec::x>() && read.has<&TileSpec::y>();
  if (placed && image >= 0 && facts_.floorTiles.widths[image] > 0) {
    checkOnScreen(read.at<&TileSpec::x>(),
                  label(ElementKind::Tile, i) + " ('" + tile.tile_name + "', ", tile.x, tile.y,
                  facts_.floorTiles.widths[image], facts_.floorTiles.heights[image]);
  }
}

void LevelFileCheck::check(const FieldReads<LadderSpec>& read, int i) {
  const LadderSpec& ladder = read.record;
  const int image =
      read.has<&LadderSpec::name>()
          ? lookUp(facts_.ladders, ladder.name, read.at<&LadderSpec::name>())
          : -1;
  if (!read.has<&LadderSpec::height>()) return;
  if (ladder.height <= 0) {
    report(read.at<&LadderSpec::height>(),
           of("height", ElementKind::Ladder, i) + " must be above 0, found " +
               std::to_string(ladder.height) + ": the ladder is neither drawn nor climbable");
    return;
  }
  const bool placed = read.has<&LadderSpec::x>() && read.has<&LadderSpec::y>();
  if (placed && image >= 0 && facts_.ladders.widths[image] > 0) {
    checkOnScreen(read.at<&LadderSpec::x>(), label(ElementKind::Ladder, i) + " (", ladder.x,
                  ladder.y, facts_.ladders.widths[image], ladder.height);
  }
}

void LevelFileCheck::check(const FieldReads<ChuteSpec>& read, int i) {
  const ChuteSpec& chute = read.record;
  const int image = read.has<&ChuteSpec::name>()
                        ? lookUp(facts_.chutes, chute.name, read.at<&ChuteSpec::name>())
                        : -1;
  const bool heightRead = read.has<&ChuteSpec::height>();
  if (heightRead && chute.height <= 0) {
    report(read.at<&ChuteSpec::height>(),
           of("height", ElementKind::Chute, i) + " must be above 0, found " +
               std::to_string(chute.height) + ": the chute is not drawn");
    return;
  }
  if (!heightRead || !read.has<&ChuteSpec::dx>() || image < 0 ||
      facts_.chutes.widths[image] <= 0) {
    return;
  }
  // The chute's image: one step wide plus dx for every further whole step.
  const int64_t stepWidth = facts_.chutes.widths[image];
  const int64_t stepHeight = facts_.chutes.heights[image];
  const int64_t width = stepWidth + (chute.height - stepHeight) / stepHeight * chute.dx;
  if (width <= 0) {
    report(read.at<&ChuteSpec::dx>(),
           "dx " + std::to_string(chute.dx) + " of " + label(ElementKind::Chute, i) + " makes it " +
               std::to_string(width) + " pixels wide: the chute is not drawn");
    return;
  }
  const int64_t left = chute.direction != 0 ? chute.x : chute.x + stepWidth - width;
  if (read.has<&ChuteSpec::x>() && read.has<&ChuteSpec::y>() &&
      read.has<&ChuteSpec::direction>()) {
    checkOnScreen(read.at<&ChuteSpec::x>(), label(ElementKind::Chute, i) + " (", left, chute.y,
                  width, chute.height);
  }
}
