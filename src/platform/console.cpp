#include "platform/console.h"

#if defined(_WIN32)
#include <io.h>
#define isTerminal(stream) (_isatty(_fileno(stream)) != 0)
#else
#include <unistd.h>
#define isTerminal(stream) (isatty(fileno(stream)) != 0)
#endif

namespace {
constexpr int kCtrlZ = 26;
} // namespace

void configureStandardOutput() {
  if (isTerminal(stdout)) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
  }
}

int readTextModeCharacter(TextInput &input) {
  while (!input.ended) {
    int c = std::fgetc(input.stream);
    if (c == EOF || c == kCtrlZ) {
      input.ended = true;
    } else if (c != '\r') {
      return c;
    }
  }
  return EOF;
}

void waitForEnter() {
#if defined(_WIN32)
  // The runtime's text mode already drops CRs and ends the input at Ctrl+Z.
  (void)std::getchar();
#else
  static TextInput standardInput{stdin, false};
  (void)readTextModeCharacter(standardInput);
#endif
}
