#include "shell/Log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "shell/Fatal.h"

namespace {
FILE* logFile = nullptr;
std::vector<std::string>* captured = nullptr;

bool loggingRequested() {
  const char* value = std::getenv("PWE_LOG");
  return value != nullptr && value[0] != '\0';
}
}  // namespace

void log_open(const char* fileName) {
  if (logFile != nullptr || !loggingRequested()) return;
  logFile = std::fopen(fileName, "w");
}

void log_message(const char* format, ...) {
  if (logFile == nullptr && captured == nullptr) return;
  va_list args;
  va_start(args, format);
  const std::string line = formatTextV(format, args);
  va_end(args);

  if (captured != nullptr) captured->push_back(line);
  if (logFile != nullptr) {
    std::fputs(line.c_str(), logFile);
    std::fputc('\n', logFile);
    std::fflush(logFile);
  }
}

void log_close() {
  if (logFile == nullptr) return;
  std::fclose(logFile);
  logFile = nullptr;
}

void log_capture(std::vector<std::string>* lines) { captured = lines; }
