#pragma once
// An installed tree keeps its commands, the game and the game's data in
// places fixed relative to one another (shell/BuildInfo.h), under whatever
// prefix it was installed to; the commands find the rest from where they
// run, so a staged or relocated tree works as well as /usr.
#include <string>

// The directory holding the running program; empty when the system cannot
// say.
std::string programDirectory();

// The installed data directory (the one holding media/), and the installed
// game program, as seen from the directory of an installed command.
std::string installedDataDir(const std::string& commandDir);
std::string installedGame(const std::string& commandDir);

// The tree a tool reads when given none: media in the working directory
// when there is one, else the installed tree of the running command when
// there is one, else media (which the tool then reports as missing).
std::string defaultMediaTree();
