#include "platform/stop.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr int kAbnormalExitStatus = 3;

// Straight to the stream, unbuffered and untranslated: the bytes are exactly
// the ones given, CR LF included, on every platform.
void writeToStandardError(const char *text) {
  std::size_t length = std::strlen(text);
#if defined(_WIN32)
  _setmode(2, _O_BINARY);
  (void)_write(2, text, static_cast<unsigned>(length));
#else
  while (length > 0) {
    ssize_t written = write(2, text, length);
    if (written <= 0) {
      return;
    }
    text += written;
    length -= static_cast<std::size_t>(written);
  }
#endif
}

void writeDecimal(int value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%d", value);
  writeToStandardError(digits);
}

[[noreturn]] void terminateAbnormally() {
  writeToStandardError("\r\n");
  writeToStandardError("Abnormal program termination");
  writeToStandardError("\r\n");
  std::_Exit(kAbnormalExitStatus);
}

} // namespace

void stopOnFailedCheck(const char *condition, const char *sourceFile, int line) {
  // What the run printed so far comes out before the stop message.
  std::fflush(stdout);
  writeToStandardError("\r\n");
  writeToStandardError("Assertion failed: ");
  writeToStandardError(condition);
  writeToStandardError(", file ");
  writeToStandardError(sourceFile);
  writeToStandardError(", line ");
  writeDecimal(line);
  writeToStandardError("\r\n");
  terminateAbnormally();
}

void stopAbnormally() {
  std::fflush(stdout);
  terminateAbnormally();
}

void installOutOfMemoryStop() { std::set_new_handler(stopAbnormally); }
