#include "shell/Fatal.h"

#include <allegro.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "shell/Log.h"

namespace {
// How many guards the calling thread holds.
thread_local int guardsHeld = 0;
}  // namespace

DataFailureGuard::DataFailureGuard() { ++guardsHeld; }

DataFailureGuard::~DataFailureGuard() { --guardsHeld; }

void dataFailure(const std::string& boxText, const std::string& logText) {
  if (guardsHeld > 0) throw DataFailure{boxText, logText};
  allegro_message("%s", boxText.c_str());
  std::fprintf(stderr, "%s\n", boxText.c_str());
  log_message("%s", logText.c_str());
  log_close();
  std::exit(1);
}

void dataFailure(const std::string& text) { dataFailure(text, text); }

std::string formatTextV(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(&text[0], text.size() + 1, format, args);
  return text;
}

std::string formatText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = formatTextV(format, args);
  va_end(args);
  return text;
}
