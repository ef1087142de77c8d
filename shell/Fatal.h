#pragma once
// The one way out for data that cannot be used: message box, log line,
// log closed, exit status 1. Loaders call this; nobody calls exit directly.
#include <cstdarg>
#include <string>

// Shows boxText with allegro_message (and on standard error, so a run from a
// terminal or a test sees it too), logs logText, closes the log, exit(1).
[[noreturn]] void dataFailure(const std::string& boxText, const std::string& logText);

// Same text in the box and the log.
[[noreturn]] void dataFailure(const std::string& text);

// Fuzzing and regression runs: while a handler is set, dataFailure hands it
// both texts instead of showing, logging and exiting, so one process can go
// on after an orderly stop. The handler leaves by throwing; should it return,
// the usual ending follows. Pass nullptr to restore the usual ending.
using DataFailureHandler = void (*)(const std::string& boxText, const std::string& logText);
void setDataFailureHandler(DataFailureHandler handler);

// printf-style formatting into a std::string, for building those texts.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string formatTextV(const char* format, va_list args);
