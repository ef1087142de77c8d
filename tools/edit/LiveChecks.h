#pragma once
// The level's report (the layout rules, the reachability search, the proof
// with the enemies) as pwe-check makes it, made for the level as it is
// being edited, in the background.
//
// Why a child process and not a thread: the search holds its keys in its
// own Game's input record now, but the tick it plays still shares other
// program-wide state with a play-test the editor may start meanwhile: the
// key-release table (which the search also takes back to earlier ticks),
// the tick counter that every life start resets, and the switch that
// silences the samples. And a run made stale by an edit must stop at once;
// the search has no point at which a thread could be told to. So each run
// forks; the child places its copy of the level in its copy of a Game that
// nothing else uses, runs the checks with the sounds silenced, writes the
// report to a pipe and ends with _exit. The parent reads the pipe
// without blocking between frames and kills a child whose level has been
// changed since.
//
// The child asks for the level's report (authoring/LevelReport.h) and
// answers with the report so far after each of its stages: first the layout rules (a fraction of a second, and at most
// their limit in seconds), then what the search reaches and the route
// without the enemies (at most the search's limit), then what playing the
// level with its enemies proves (at most the proof's). The author sees
// each as it comes and is told the checks are still going until the last.
#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

#include "authoring/LevelReport.h"
#include "game/LevelData.h"
#include "game/ReplayFile.h"

class Game;

class LiveChecks {
 public:
  // Builds the Game the children check in, from the tree in the working
  // directory, as pwe-check builds one.
  LiveChecks(int width, int height, int updatesPerSecond);
  ~LiveChecks();  // kills and reaps a child still running
  LiveChecks(const LiveChecks&) = delete;
  LiveChecks& operator=(const LiveChecks&) = delete;

  // Starts checking this level; a run still going for an older revision is
  // killed first.
  void start(const LevelData& level, unsigned revision);
  // Reads what the child has written so far and takes in the next whole
  // answer; true when the findings held changed. Never blocks. One answer a
  // call, so a caller polling between frames shows the quick findings
  // before the proof's even when both came at once.
  bool poll();
  // A child is still at work, on either of its answers.
  bool running() const { return child_ > 0; }
  // Answers a run gives: the layout rules, the search, the proof.
  static constexpr int answerCount = 3;
  // The findings held are the layout rules'; the search's for the same
  // revision are still to come (and the proof's after them).
  bool searching() const { return child_ > 0 && answers_ < answerCount - 1; }
  // The findings held are the quick ones; the proof with the enemies for
  // the same revision is still to come.
  bool proving() const { return proving_; }
  // The revision the findings held belong to (0: none yet).
  unsigned revision() const { return revision_; }
  // The report's findings, the proof's note apart, and why the engine
  // stopped or the child ended, when it did.
  const std::vector<ReportFinding>& findings() const { return findings_; }
  // What the proof with the enemies established, as pwe-check words its
  // note; empty while proving or when it proved nothing (its warning is
  // then among the findings). Neither an error nor a warning.
  const std::string& clearedNote() const { return clearedNote_; }
  // The route the search found through the same revision, as pwe-check
  // --route would write it: played with the enemies once the proof found
  // one, without them until then or when it found none. When there is no
  // route, why not (may be empty).
  bool hasRoute() const { return hasRoute_; }
  const Replay& route() const { return route_; }
  const std::string& noRoute() const { return noRoute_; }
  // Once the proof cleared the level with its enemies: its route's ticks
  // (0 otherwise), its par (-1: none found) and how hard its moments are.
  int clearedTicks() const { return clearedTicks_; }
  int parTicks() const { return parTicks_; }
  const RouteMoments& moments() const { return moments_; }
  int errorCount() const;
  int warningCount() const;
  // For tests: how long a search may take, seconds (0: the search's own limit).
  void setSearchSeconds(double seconds) { searchSeconds_ = seconds; }

 private:
  void stop();
  void readAvailable();
  bool takeAnswer();
  void hold(const LevelReport& report);
  void finish();

  std::unique_ptr<Game> game_;
  pid_t child_ = -1;
  int pipe_ = -1;             // read end
  unsigned pending_ = 0;      // revision the running child checks
  std::string received_;      // of the running child, not yet taken in
  bool ended_ = false;        // the running child closed its end
  int answers_ = 0;           // taken in from the running child
  unsigned revision_ = 0;
  std::vector<ReportFinding> findings_;
  bool proving_ = false;
  std::string clearedNote_;
  bool hasRoute_ = false;
  Replay route_;
  std::string noRoute_;
  int clearedTicks_ = 0;
  int parTicks_ = -1;
  RouteMoments moments_;
  double searchSeconds_ = 0.0;
};
