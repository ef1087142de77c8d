#pragma once
// Independent pieces of work, each in a forked child process, as many at
// once as the machine has cores: the check of a tree's levels takes the
// time of its slowest levels instead of the sum of them all. Each child
// writes its answer to a pipe; the parent reads every answer whole, in
// the order of the pieces, however the children finish.
#include <functional>
#include <string>
#include <vector>

// What one child gave back.
struct ChildAnswer {
  bool started = false;  // false when no process could be made for the work
  std::string bytes;     // everything it wrote
  std::string lost;      // why its answer may be cut short ("killed by signal 9"), or empty
};

// How many children run at once: PWE_CHECK_JOBS when it holds a number
// above 0, else the cores online; at least 1.
int sideBySideJobs();

// Runs work(index, fd) for every index below count, each in a child that
// ends with this process (authoring/ChildProcess) and writes its answer to
// fd, at most jobs at once. A child that ends other than by returning from
// work has its answer's lost said; work no child could be made for is
// left undone, its answer not started.
std::vector<ChildAnswer> runSideBySide(int count, int jobs,
                                       const std::function<void(int index, int fd)>& work);

// Writes the bytes whole to the descriptor, however the pipe splits them.
bool writeWhole(int fd, const std::string& bytes);
