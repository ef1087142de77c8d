#pragma once
// Checks a whole media tree the way the engine reads it and reports every
// problem at once instead of stopping at the first: configuration, image
// directories, HUD pictures, fonts, sounds, enemy definitions, animations,
// player.inf and the four level files, and then the layout of every level
// that reads cleanly. With a level set laid over the tree, every file is
// read through the set as the engine reads it, reported at the path it is
// read from, and the set's levels are checked instead of the tree's.
#include <map>
#include <string>
#include <vector>

#include "authoring/LevelReport.h"
#include "game/ElementKinds.h"
#include "tools/check/Diagnostics.h"
#include "tools/check/TreeFacts.h"

class TextFile;
class TokenReader;
struct ImageFile;

// Where the records of one level file begin, so that a layout finding can
// be reported at the record it is about.
struct LevelRecords {
  std::string fileName;    // level1.inf
  bool readable = false;   // the engine reads the file as the checker did
  Position countdownPanel; // countdown_x
  Position scorePanel;     // score_x
  Position start;          // start_x
  Position tileCount;
  std::vector<Position> starts[elementKindCount];  // each kind's records, by kind
};

// True when something (file or directory) is at the path.
bool fileExists(const std::string& path);

class MediaChecker {
 public:
  // The engine's sounds are short effects, and its loader holds a sound
  // whole in memory (as the check of its chunks does): a file above this is
  // refused before it is read. Six minutes of CD-quality sound fit.
  static constexpr long long maxSoundBytes = 64LL << 20;

  // root: the directory that holds pwe.cfg, the level files, gfx/ and so on,
  // as the user named it; reported paths begin with it.
  MediaChecker(const std::string& root, Diagnostics& out);

  void run();
  // Lays a level set over the tree for the run (tools/check/SetChecks.cpp).
  // shown: the set's folder as the user named it, reported paths beginning
  // with it (empty for the working directory); absolute: the same as an
  // absolute path, or empty to lay no set and check only the tree's levels
  // named. levels: the level files to check, by bare name, or empty for the
  // set's own list (its set.cfg, else its folder's level files).
  void laySet(const std::string& shown, const std::string& absolute,
              const std::vector<std::string>& levels);
  // pwe-check --route: the route found for the level (level1.inf to
  // level4.inf, or one of the set's) is written to the output path as a
  // replay.
  void requestRoute(const std::string& level, const std::string& output);
  // How long the reachability search may take on one level, in seconds.
  void setSearchSeconds(double seconds) { searchSeconds_ = seconds; }
  // Each search's limit in bytes, in MiB (0: its own).
  void setSearchMegabytes(double megabytes) { searchMegabytes_ = megabytes; }

  const TreeFacts& facts() const { return facts_; }

 private:
  // How the engine draws an image decides what its transparent pixels must be.
  enum class ImageUse {
    Plain,   // copied whole (the background): anything goes
    Masked,  // draw_sprite: transparent pixels must be exactly the mask colour
    Alpha,   // draw_trans_sprite: needs an alpha channel
  };

  // tools/check/AssetChecks.cpp
  void checkConfig();
  void checkSounds();
  void checkPlayer();

  // tools/check/AnimationChecks.cpp
  void checkEnemyKinds();
  void checkEnemyKind(const std::string& directory, const std::string& fileName);
  // Checks base + name + ".anm" and its frames (once per file); a missing
  // description is reported where it is named. True when it would load.
  bool checkAnimation(const std::string& baseDirectory, const std::string& name,
                      const std::string& namedIn, Position namedAt);
  struct AnimationHead {
    std::string directory;  // of the frames
    Position directoryAt;
    int count = 0;
    Position countAt;
  };
  bool readAnimationHead(TokenReader& reader, const std::string& file, AnimationHead& head);
  bool checkFrames(const std::string& baseDirectory, const std::string& file,
                   const AnimationHead& head);
  bool checkDurations(TokenReader& reader, const AnimationHead& head);

  // tools/check/ImageChecks.cpp
  // directory: in the tree, "gfx/static/ladders/".
  void checkImageSet(const std::string& directory, ImageUse use, NamedImages& set);
  void checkHud();
  void checkFonts();
  // False when the image cannot be loaded; width and height when it can.
  bool checkImage(const std::string& file, ImageUse use, int& width, int& height);
  void warnIfOversized(const std::string& file, const ImageFile& header);

  // tools/check/LevelChecks.cpp
  void checkLevel(const std::string& fileName);

  // One level's report (authoring/LevelReport.h), or why the child that
  // made it gave none.
  struct ProvenLevel {
    LevelReport report;
    bool answered = true;
    std::string lost;  // otherwise how the child ended ("killed by signal 9 (Killed)"), or empty
  };

  // tools/check/LayoutChecks.cpp
  // What the layout rules found in every level, at the records they are about.
  void recordLayouts(const std::vector<const LevelRecords*>& levels,
                     const std::vector<ProvenLevel>& proven);
  void recordFinding(const LevelRecords& records, const ReportFinding& finding);

  // tools/check/ReachabilityChecks.cpp
  void checkLevelReports(bool treeLoads);
  // Every level's report, in the order given, made side by side.
  std::vector<ProvenLevel> proveLevels(const std::vector<const LevelRecords*>& levels);
  LevelReport reportOn(const LevelRecords& records) const;
  // Reports what the search and the proof found, and writes the route.
  void recordProof(const LevelRecords& records, const ProvenLevel& proven, bool routed);
  void writeRoute(const LevelRecords& records, const LevelReport& report);
  bool routeOutputReplaceable() const;

  // tools/check/SetChecks.cpp
  // The levels of the set laid (set.cfg read as the engine reads it); a
  // fault of the list is reported at its line.
  void readSetLevels();
  // Where the engine reads the file at that place of the tree
  // ("gfx/static/back.png"), as the user named the tree or the set.
  std::string pathOf(const std::string& relative) const;
  // The tree, or the set laid over it, as the user named it.
  std::string placeShown() const;

  std::string root_;
  Diagnostics& out_;
  TreeFacts facts_;
  std::map<std::string, bool> animations_;  // .anm path -> loads
  std::vector<LevelRecords> levels_;         // in checking order
  std::string routeLevel_;                   // --route: the level, or empty
  std::string routeOutput_;                  // and where its replay goes
  double searchSeconds_ = 0.0;               // 0: the search's own limit
  double searchMegabytes_ = 0.0;             // likewise
  std::string setShown_;                     // the set's folder as named, with a slash; or empty
  std::string setAbsolute_;                  // the same, absolute; empty when no set is laid
  std::vector<std::string> levelNames_;      // the level files checked, in order
};
