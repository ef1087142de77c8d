// Which folder's code may include which: the game never includes what only
// the authors' tools run, and no tool reaches into another tool's folder
// (the editor reads levels through the checker's reader, so tools/edit may
// include tools/check). Every quoted include of every source in these
// folders is held against the table; a folder missing from the table fails
// too, so a new one is given its rules when it is made.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The engine's folders: the game itself. The lowest ones (pictures,
// structures, figures) see only what lies under them; the rest of the
// engine sees all of the engine.
const std::set<std::string> engine = {"shell",  "graphics",     "game",      "player",
                                      "presentation", "structures", "actors"};

std::set<std::string> with(std::set<std::string> folders, const std::set<std::string>& more) {
  folders.insert(more.begin(), more.end());
  return folders;
}

struct Rule {
  std::string folder;             // a top folder, or tools/NAME
  std::set<std::string> allowed;  // the folders its sources may include
};

std::vector<Rule> rules() {
  const std::set<std::string> authoring = with(engine, {"authoring"});
  return {
      {"graphics", {"graphics", "shell"}},
      {"structures", {"structures", "graphics", "shell"}},
      {"actors", {"actors", "structures", "graphics", "shell"}},
      {"shell", with(engine, {"dist"})},  // the window icon is shipped art
      {"game", engine},
      {"player", engine},
      {"presentation", engine},
      {"authoring", authoring},
      {"tools/check", with(authoring, {"tools/check"})},
      {"tools/edit", with(authoring, {"tools/check", "tools/edit"})},
      {"tools/render", with(authoring, {"tools/render"})},
      {"bench", with(authoring, {"bench", "tests/support"})},
      {"fuzz", with(authoring, {"fuzz"})},
  };
}

// A source's folder as the table names it: tools/NAME or tests/NAME, else
// the top folder.
std::string folderOf(const std::string& relative) {
  const std::string::size_type first = relative.find('/');
  if (first == std::string::npos) return "";
  std::string top = relative.substr(0, first);
  if (top != "tools" && top != "tests") return top;
  const std::string::size_type second = relative.find('/', first + 1);
  return second == std::string::npos ? top : relative.substr(0, second);
}

bool isSource(const fs::path& path) {
  const std::string ending = path.extension().string();
  return ending == ".h" || ending == ".cpp" || ending == ".in";
}

struct Include {
  std::string from;  // source, relative to the tree
  int line;
  std::string path;  // as written between the quotes
};

std::vector<Include> includesOf(const fs::path& root, const fs::path& file) {
  static const std::regex quoted(R"(^\s*#\s*include\s*"([^"]+)\")");
  std::vector<Include> found;
  std::ifstream in(file);
  std::string text;
  std::smatch match;
  for (int line = 1; std::getline(in, text); ++line) {
    if (std::regex_search(text, match, quoted)) {
      found.push_back({fs::relative(file, root).string(), line, match[1]});
    }
  }
  return found;
}

TEST(IncludeRules, EverySourceIncludesOnlyWhatItsFolderMay) {
  const char* source = std::getenv("PWE_SOURCE_DIR");
  ASSERT_NE(source, nullptr) << "PWE_SOURCE_DIR names the source tree";
  const fs::path root(source);
  const std::vector<Rule> table = rules();
  std::set<std::string> scanned;
  int includes = 0;
  for (const Rule& rule : table) scanned.insert(rule.folder.substr(0, rule.folder.find('/')));
  for (const std::string& top : scanned) {
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root / top)) {
      if (!entry.is_regular_file() || !isSource(entry.path())) continue;
      for (const Include& include : includesOf(root, entry.path())) {
        ++includes;
        const std::string folder = folderOf(include.from);
        const auto rule = std::find_if(table.begin(), table.end(),
                                       [&](const Rule& r) { return r.folder == folder; });
        ASSERT_NE(rule, table.end()) << include.from << ": folder " << folder << " has no rule";
        const std::string target = folderOf(include.path);
        EXPECT_TRUE(rule->allowed.count(target) == 1)
            << include.from << ":" << include.line << ": " << folder << " may not include \""
            << include.path << "\"";
      }
    }
  }
  // A scan that read nothing would pass any tree.
  EXPECT_GT(includes, 500);
}

}  // namespace
