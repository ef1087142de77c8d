#pragma once
// --help and --version, answered alike by every program of the package (the
// game, the pwe command, pwe-check, pwe-render, pwe-edit): on standard
// output with status 0, before anything that needs a display or a media
// tree, so that a user on a text console or a packaging script can ask.
#include <string>

// "pwe-check 0.7\nPitwick Engine v0.7 - ...\n": the program and the release.
std::string versionText(const char* program);

// What a program answers to one of its arguments. The answer is given for
// the first --help (or -h) or --version among the arguments before "--";
// a program with options taking values checks those first.
struct InfoAnswer {
  bool answered = false;  // the program prints text and exits with status 0
  std::string text;
};
InfoAnswer answerInfoOptions(int argc, const char* const* argv, const char* program,
                             const char* usage);

// Prints the answer, when there is one, and says whether the program is
// done.
bool printInfoAnswer(const InfoAnswer& answer);
