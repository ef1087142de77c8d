#pragma once
// What a test reads back from a file it or the code under test wrote.
#include <string>

// The file's bytes, as they are; empty when it cannot be read.
std::string readFile(const std::string& path);

// The file's last line without its line end; empty when there is none.
std::string lastLine(const std::string& path);
