#include "shell/ProgramInfo.h"

#include <cstdio>
#include <cstring>

#include "shell/BuildInfo.h"

std::string versionText(const char* program) {
  return std::string(program) + " " + pweVersion + "\nPitwick Engine " + pweVersionLine + "\n";
}

InfoAnswer answerInfoOptions(int argc, const char* const* argv, const char* program,
                             const char* usage) {
  InfoAnswer answer;
  for (int i = 1; i < argc; ++i) {
    const char* argument = argv[i];
    if (std::strcmp(argument, "--") == 0) break;
    if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
      answer.text = usage;
    } else if (std::strcmp(argument, "--version") == 0) {
      answer.text = versionText(program);
    } else {
      continue;
    }
    answer.answered = true;
    break;
  }
  return answer;
}

bool printInfoAnswer(const InfoAnswer& answer) {
  if (!answer.answered) return false;
  std::fputs(answer.text.c_str(), stdout);
  std::fflush(stdout);
  return true;
}
