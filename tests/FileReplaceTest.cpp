// The one writer of the files the tools replace: what a write leaves in the
// directory, entry by entry, when it works and when it cannot.
#include "authoring/FileReplace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "tests/support/CaseName.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/FileText.h"
#include "tests/support/Headless.h"

namespace fs = std::filesystem;

namespace {

const std::string newText = "new text\n";

// Every entry below a directory: files with their permissions and bytes,
// links with where they lead, directories and FIFOs by kind.
using Entries = std::map<std::string, std::string>;

void listEntries(const fs::path& root, const fs::path& directory, Entries& entries) {
  for (const fs::directory_entry& entry : fs::directory_iterator(directory)) {
    struct stat info {};
    lstat(entry.path().c_str(), &info);
    std::ostringstream description;
    if (S_ISREG(info.st_mode)) {
      description << "file " << std::oct << (info.st_mode & 07777) << " " << readFile(entry.path());
    } else if (S_ISLNK(info.st_mode)) {
      description << "link to " << fs::read_symlink(entry.path()).string();
    } else {
      description << (S_ISDIR(info.st_mode) ? "directory" : S_ISFIFO(info.st_mode) ? "fifo" : "?");
    }
    entries[entry.path().lexically_relative(root).string()] = description.str();
    if (S_ISDIR(info.st_mode)) listEntries(root, entry.path(), entries);
  }
}

Entries entriesOf(const fs::path& root) {
  Entries entries;
  listEntries(root, root, entries);
  return entries;
}

void writeFile(const std::string& path, const std::string& text, mode_t mode = 0644) {
  std::ofstream(path, std::ios::binary) << text;
  chmod(path.c_str(), mode);
}

void makeLink(const std::string& to, const std::string& at) { fs::create_symlink(to, at); }

const std::string longName = std::string(255 - 4, 'n') + ".inf";

struct ReplaceCase {
  const char* name;
  std::function<void()> arrange;  // what the working directory holds first
  std::string path;               // what is written
  const char* problem;            // empty: the write works; else part of the message
  const char* landsIn;            // the plain file that then holds the text
  const char* mode;               // and the permissions it has then
};

const ReplaceCase replaceCases[] = {
    {"a plain file keeps its permissions", [] { writeFile("out.txt", "old\n", 0640); },
     "out.txt", "", "out.txt", "640"},
    {"a new file", [] {}, "out.txt", "", "out.txt", "644"},
    {"a new file in a directory named by its path", [] { fs::create_directory("levels"); },
     "levels/out.txt", "", "levels/out.txt", "644"},
    {"through a link the link stays and its target gets the text",
     [] {
       fs::create_directory("real");
       writeFile("real/target.txt", "old\n");
       makeLink("real/target.txt", "out.txt");
     },
     "out.txt", "", "real/target.txt", "644"},
    {"through links to a file not made yet",
     [] {
       fs::create_directory("real");
       fs::create_directory("links");
       makeLink("../real/new.txt", "links/mid.txt");
       makeLink("links/mid.txt", "out.txt");
     },
     "out.txt", "", "real/new.txt", "644"},
    {"links left at names a temporary file could take redirect nothing",
     [] {
       writeFile("out.txt", "old\n");
       writeFile("victim.txt", "victim\n");
       for (const char* name : {".out.txt.tmp", "out.txt.tmp", ".out.txt.XXXXXX", "out.txt~",
                                ".out.txt.swp", ".out.txt.new"}) {
         makeLink("victim.txt", name);
       }
     },
     "out.txt", "", "out.txt", "644"},
    {"a name as long as a name can be", [] {}, longName, "", longName.c_str(), "644"},
    {"a directory is not a plain file", [] { fs::create_directory("out.txt"); }, "out.txt",
     "cannot write out.txt: not a plain file", "", ""},
    {"a FIFO is refused without waiting for a reader", [] { mkfifo("out.txt", 0644); },
     "out.txt", "cannot write out.txt: not a plain file", "", ""},
    {"a link to a directory",
     [] {
       fs::create_directory("real");
       makeLink("real", "out.txt");
     },
     "out.txt", "cannot write out.txt: not a plain file", "", ""},
    {"links in a loop",
     [] {
       makeLink("b.txt", "a.txt");
       makeLink("a.txt", "b.txt");
     },
     "a.txt", "cannot write a.txt: Too many levels of symbolic links", "", ""},
    {"an empty name", [] {}, "", "cannot write : No such file or directory", "", ""},
    {"a missing directory", [] {}, "nowhere/out.txt",
     "cannot write nowhere/out.txt: No such file or directory", "", ""},
};

class ReplaceFile : public testing::TestWithParam<ReplaceCase> {};

// Afterwards the directory holds what it held, except that the file the
// write lands in holds the new text; a failure leaves everything as it was.
TEST_P(ReplaceFile, ChangesNothingButTheTarget) {
  const ReplaceCase& c = GetParam();
  MediaTree scratch;
  umask(022);
  c.arrange();
  Entries expected = entriesOf(".");
  std::string error;
  const int result = replaceFile(c.path, newText, error);
  if (std::string(c.problem).empty()) {
    EXPECT_EQ(result, 0) << error;
    EXPECT_EQ(error, "");
    expected[c.landsIn] = std::string("file ") + c.mode + " " + newText;
  } else {
    EXPECT_EQ(result, -1);
    EXPECT_NE(error.find(c.problem), std::string::npos) << error;
  }
  EXPECT_EQ(entriesOf("."), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReplaceFile, testing::ValuesIn(replaceCases),
                         caseName<ReplaceCase>);

struct FailureCase {
  const char* name;
  WriteFailure how;
};

const FailureCase failureCases[] = {
    {"a full disk", WriteFailure::fullDisk},
    {"a file size limit", WriteFailure::sizeLimit},
};

class FailedWrite : public testing::TestWithParam<FailureCase> {};

// A write cut short says why and leaves no temporary file behind, with the
// old file whole, whether it writes the text itself or hands a name on.
TEST_P(FailedWrite, SaysWhyAndKeepsTheOldFile) {
  FailingWrites writes(GetParam().how);
  if (!writes.available()) GTEST_SKIP() << "this process may not mount a file system";
  const std::string path = writes.directory() + "/out.txt";
  writeFile(path, "old\n");
  const Entries before = entriesOf(writes.directory());
  const std::string text(64 * 1024, 'x');
  writes.arm();
  std::string error;
  EXPECT_EQ(replaceFile(path, text, error), -1);
  EXPECT_EQ(error, "cannot write " + path + ": " + writes.reason());
  EXPECT_EQ(entriesOf(writes.directory()), before);

  const FileWriter byName = [&](const std::string& temporary, std::string& reason) {
    std::ofstream out(temporary, std::ios::binary);
    out << text;
    out.close();
    if (out) return 0;
    reason = "the stream failed";
    return -1;
  };
  error.clear();
  EXPECT_EQ(replaceFileWith(path, byName, error), -1);
  EXPECT_EQ(error, "the stream failed");
  EXPECT_EQ(entriesOf(writes.directory()), before);
}

INSTANTIATE_TEST_SUITE_P(Ways, FailedWrite, testing::ValuesIn(failureCases),
                         caseName<FailureCase>);

// What a save does besides (a backup) runs only once the new text is on
// the disk beside the file, and its refusal stops the save there.
TEST(ReplaceFile, RunsWhatComesBeforeTheRenameOnlyForAWriteThatWent) {
  struct Row {
    const char* name;
    bool writeFails;
    int answer;  // of the hook
    bool runs;
    const char* after;  // the file's text
  };
  const Row rows[] = {
      {"a write that went", false, 0, true, "new text\n"},
      {"a hook that refuses", false, -1, true, "old\n"},
      {"a write cut short", true, 0, false, "old\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FailingWrites writes(WriteFailure::fullDisk);
    if (!writes.available()) GTEST_SKIP() << "this process may not mount a file system";
    const std::string path = writes.directory() + "/out.txt";
    writeFile(path, "old\n");
    const std::string text = row.writeFails ? std::string(64 * 1024, 'x') : newText;
    if (row.writeFails) writes.arm();
    bool ran = false;
    const FileWriter hook = [&](const std::string& temporary, std::string& reason) {
      ran = true;
      EXPECT_EQ(readFile(temporary), text);
      EXPECT_EQ(readFile(path), "old\n");
      reason = "refused";
      return row.answer;
    };
    std::string error;
    EXPECT_EQ(replaceFile(path, text, error, hook), row.runs && row.answer == 0 ? 0 : -1);
    EXPECT_EQ(ran, row.runs);
    EXPECT_EQ(readFile(path), row.after);
  }
}

// The check sees the flushed temporary file and can still refuse it.
TEST(ReplaceFileWith, AFileTheCheckRefusesIsNotRenamed) {
  MediaTree scratch;
  writeFile("out.png", "old\n");
  const Entries before = entriesOf(".");
  std::string seen;
  const FileWriter writeTo = [](const std::string& temporary, std::string&) {
    std::ofstream(temporary, std::ios::binary) << newText;
    return 0;
  };
  const FileWriter check = [&](const std::string& temporary, std::string& reason) {
    seen = readFile(temporary);
    reason = "cannot write out.png: it does not read back";
    return -1;
  };
  std::string error;
  EXPECT_EQ(replaceFileWith("out.png", writeTo, error, check), -1);
  EXPECT_EQ(seen, newText);
  EXPECT_EQ(error, "cannot write out.png: it does not read back");
  EXPECT_EQ(entriesOf("."), before);
}

}  // namespace
