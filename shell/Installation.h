#pragma once
// An installed tree keeps its commands, the game and the game's data in
// places fixed relative to one another (shell/BuildInfo.h), under whatever
// prefix it was installed to; the commands find the rest from where they
// run, so a staged or relocated tree works as well as /usr.
#include <string>

// The directory holding the running program; empty when the system cannot
// say.
std::string programDirectory();

// The installed data directory (the one holding media/ and sets/), as
// seen from the directory of an installed command.
std::string installedDataDir(const std::string& commandDir);

// Whether the running program is an installed one: the installed data
// lies where an installation puts it beside the program.
bool runsInstalled();

// A directory is a media tree when it holds pwe.cfg. A bare media/, such
// as the removable-media mount point every Debian system has at /media, is
// none, and the tools do not take it for one.
bool isMediaTree(const std::string& directory);

// The tree a tool reads: the one named when a name is given, as given;
// else media/ in workingDir when that is a media tree; else the installed
// tree beside the commands in commandDir when that is one; else media/ in
// workingDir, which the tool then reports as missing or broken.
std::string chooseMediaTree(const std::string& named, const std::string& workingDir,
                            const std::string& commandDir);

// The same for the running program in its working directory.
std::string chooseMediaTree(const std::string& named);
