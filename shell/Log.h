#pragma once
// The run's log. Off unless the environment variable PWE_LOG is set and
// non-empty: then log_open creates the named file in the working directory
// and every message becomes one line, flushed at once.
#include <string>
#include <vector>

void log_open(const char* fileName);
void log_message(const char* format, ...) __attribute__((format(printf, 1, 2)));
void log_close();

// Tests observe what would be logged: while a capture list is set, every
// formatted message is appended to it, whether or not the file log is on.
// Pass nullptr to stop capturing.
void log_capture(std::vector<std::string>* lines);
