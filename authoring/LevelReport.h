#pragma once
// A level's report: what the layout rules (authoring/LayoutRules.h), the
// reachability search and its verdict (authoring/ReachabilityVerdict.h)
// and the proof with the enemies say about one level, in the one order
// both tools give them. pwe-check and the editor's live checks each place
// the level their own way and then ask for its report here; pwe-check
// words the findings at the records of the file, the editor marks them on
// the map, and neither orders the stages or copies a finding itself.
//
// The report crosses from a child process to its parent as bytes
// (reportBytes, takeReport): pwe-check's children answer with one report
// each, the editor's with the report so far after each stage.
//
// Bounds. The stages keep to their own limits, each given the limit in
// seconds and bytes asked for: the layout rules and the search to the
// seconds (and the search to the bytes), the proof and what follows it to
// both again. The report holds a few hundred bytes a finding and the
// route; as bytes, at most maxReportBytes, which a level of the most
// elements the level file allows, each found at fault a few times, stays
// under. Reading them takes time linear in their size (27 MB in 0.1 s)
// and memory of twice it beside the findings read.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "authoring/LayoutRules.h"
#include "authoring/RouteMoments.h"
#include "game/ReplayFile.h"

class Game;

// The stages in the order they run; each adds to what the ones before gave.
// Tree stands for the Game a tool builds from its tree before the level is
// placed (pwe-check builds one a level), the one stage a tool runs itself.
enum class ReportStage { Tree, Layout, Search, Proof };
inline constexpr int reportStageCount = 4;

// One thing the report tells the author, at the element it is about.
struct ReportFinding {
  LayoutElement element = LayoutElement::Tiles;
  ElementKind kind = ElementKind::Tile;  // a Record's
  int index = -1;            // in the element's list; -1: the level as a whole
  int other = -1;            // an element of the same list the message ends by naming, or -1
  bool warning = false;      // may be meant; neither this nor a note: an error
  bool unreachable = false;  // a claimable tile or an item no key sequence reaches
  bool note = false;         // what was proven, for the author's information
  std::string message;       // in the author's terms, as both tools word it
};

struct LevelReport {
  ReportStage reached = ReportStage::Tree;  // the last stage done (Tree: none of the level's)
  std::vector<ReportFinding> layout;        // the layout rules'
  // The search's verdict, then what the proof added (its note among them),
  // in the order pwe-check lists them.
  std::vector<ReportFinding> verdict;
  // When the engine stopped placing or playing the level: its own words
  // and the stage under way; the stages after it did not run.
  std::string stop;
  ReportStage stoppedIn = ReportStage::Tree;
  // The route found, named as asked, when it clears the level played as
  // the game plays it; with the enemies once the proof found one.
  Replay route;
  bool routeWritable = false;
  bool routeInTime = false;  // the route without the enemies clears before the countdown ends
  std::string noRoute;       // otherwise why not (may be empty); each tool words its refusal
  // When the proof cleared the level with its enemies: its route's ticks,
  // and the par bound's lowest (-1 when none was found within the limits).
  int clearedTicks = 0;
  int parTicks = -1;
  // How hard that route's moments are: its tight windows and tightest one,
  // each enemy's nearest pass, each with the player's place at its tick
  // (RouteMoments.h's hardMoments; at most maxHardWindows + 1 windows and
  // a pass an enemy).
  RouteMoments moments;
  // How long each stage took, seconds on the searches' clock.
  double seconds[reportStageCount] = {};

  bool stopped() const { return !stop.empty(); }
};

struct ReportOptions {
  double seconds = 0.0;   // each stage's limit in seconds (0: its own)
  std::size_t bytes = 0;  // each search's limit in bytes (0: its own)
  Replay routeName;       // the level, set and hashes the route carries; its keys are the report's
};

// Called with the report so far after each stage, and once more when the
// engine stops, so that a caller may hand on the quick findings before
// the proof's.
using ReportTold = std::function<void(const LevelReport&)>;

// place: puts the level into game and begins its life, as the tool's run
// does; it may stop on bad data (shell/Fatal.h), as may every stage after
// it, and the report then says so. The stages run on that one Game: the
// layout rules leave its life as they found it, and the search starts from
// there.
LevelReport reportLevel(Game& game, const std::function<void()>& place,
                        const ReportOptions& options, const ReportTold& told = {});

// The report as bytes, framed by their length, so that several may follow
// one another through a pipe; and back.
inline constexpr std::size_t maxReportBytes = std::size_t(64) << 20;
std::string reportBytes(const LevelReport& report);

enum class ReportRead {
  Whole,    // the first report is taken off the front of the bytes
  Partial,  // not all of it has arrived yet
  Damaged,  // the bytes are no report: cut short and followed by more, or refused
};
// Reads the first report the bytes hold into report, and takes its bytes
// off the front; the bytes are left as they were unless it is Whole.
ReportRead takeReport(std::string& bytes, LevelReport& report);
