#pragma once
// pwe-check run as its users run it, from a test: the program built beside
// the test (<build>/tools/pwe-check), its output taken whole.
#include <string>
#include <vector>

struct CheckRun {
  int status = -1;                 // exit status; -1 when a signal ended it
  std::string output;              // standard output and error, byte for byte
  std::vector<std::string> lines;  // the same, line by line, less the notes
  std::vector<std::string> notes;  // the lines that say what was proven
  double seconds = 0.0;            // how long it ran
};

// arguments are passed through the shell. With a time limit, a run still
// going after it is killed, so a checker that blocks fails the test
// instead of hanging it.
CheckRun runChecker(const std::string& arguments = "", int limitSeconds = 0);

// Each file, in order, has the one note that proves it clearable with its
// enemies with no press that must be frame-perfect; fails the running test
// otherwise.
void expectProvenWithoutExactPresses(const CheckRun& run, const std::vector<std::string>& files);

// Takes out of run.lines the warnings of how hard the route found is for
// ordinary players (a tight press, an enemy passing close), which follow
// the route and not the level's layout, and returns them.
std::vector<std::string> takeHardMoments(CheckRun& run);
// Each note names the route's tightest press.
void expectTightestPressNamed(const CheckRun& run);
