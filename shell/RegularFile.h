#pragma once
// Whether a path names a plain file, asked before anything opens it: a FIFO
// or a device in place of a picture, a level or a sound would block the
// program in open() or feed it without end.
#include <string>

// True when path (after following links) is a regular file.
bool isRegularFile(const std::string& path);

// Opens path for reading without ever blocking: a FIFO, a device or a
// directory is refused, with errno set (ENXIO for what is not a plain
// file). The descriptor, blocking again, or -1.
int openRegularFile(const std::string& path);
