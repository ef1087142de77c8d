#pragma once
// The one way out for data that cannot be used: message box, log line,
// log closed, exit status 1. Loaders call this; nobody calls exit directly.
#include <cstdarg>
#include <string>

// Shows boxText with allegro_message (and on standard error, so a run from a
// terminal or a test sees it too), logs logText, closes the log, exit(1).
// While a DataFailureGuard lives on the calling thread it throws
// DataFailure instead, and shows, logs and ends nothing.
[[noreturn]] void dataFailure(const std::string& boxText, const std::string& logText);

// Same text in the box and the log.
[[noreturn]] void dataFailure(const std::string& text);

// What dataFailure would have shown and logged, thrown under a guard.
struct DataFailure {
  std::string boxText;  // the message box's text
  std::string logText;  // the log line's text
};

// For the tools that must go on after the engine refuses a file (the
// checker, the editor, fuzz runs): while one lives on a thread, dataFailure
// on that thread throws DataFailure; when it goes, however it goes, the
// ending that was in force before it returns. Guards nest. Only the thread
// that holds one is affected, so a tool's work beside the main loop never
// turns the main loop's failures into exceptions nobody catches.
class DataFailureGuard {
 public:
  DataFailureGuard();
  ~DataFailureGuard();
  DataFailureGuard(const DataFailureGuard&) = delete;
  DataFailureGuard& operator=(const DataFailureGuard&) = delete;
};

// printf-style formatting into a std::string, for building those texts.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string formatTextV(const char* format, va_list args);
