#include "tools/check/LevelFileRead.h"

#include "tools/check/Diagnostics.h"
#include "tools/check/LevelFileReader.h"
#include "tools/check/TokenReader.h"

namespace {

// Reading alone: what the records hold is not judged.
struct ReadingOnly {
  void header(const FieldReads<LevelData>&) {}
  template <typename Record>
  void list(LevelFields<Record>, int, Position) {}
  template <typename Record>
  void record(const FieldReads<Record>&, int, bool) {}
};

}  // namespace

std::vector<LevelReadProblem> levelReadProblems(const std::string& path) {
  Diagnostics out;
  TextFile text;
  if (text.read(path)) {
    ReadingOnly visitor;
    LevelFileReader(text, out).read(visitor);
  } else {
    out.report(path, text.problem());
  }
  std::vector<LevelReadProblem> problems;
  for (const Diagnostic& found : out.all()) {
    problems.push_back(
        LevelReadProblem{path, found.position.line, found.position.column, found.message});
  }
  return problems;
}
