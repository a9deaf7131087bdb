#include "platform/console.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace {

// Every character that the input delivers, EOF included, up to the given
// number of reads.
std::string readAll(const std::string &bytes, int reads) {
  std::FILE *stream = fmemopen(const_cast<char *>(bytes.data()), bytes.size(), "rb");
  if (bytes.empty()) {
    stream = std::fopen("/dev/null", "rb");
  }
  TextInput input{stream, false};
  std::string seen;
  for (int i = 0; i < reads; ++i) {
    int c = readTextModeCharacter(input);
    seen += c == EOF ? std::string("<EOF>") : std::string(1, static_cast<char>(c));
  }
  std::fclose(stream);
  return seen;
}

TEST(TextModeInput, DeliversCharactersAsAWindowsConsoleProgramSeesThem) {
  struct Case {
    std::string bytes;
    std::string expected;
  };
  const Case cases[] = {
      {"\n", "\n<EOF><EOF>"},        {"abc\n", "abc"},
      {"\r\n", "\n<EOF><EOF>"},      {"a\r\r\nb", "a\nb"},
      {"", "<EOF><EOF><EOF>"},       {"x\x1Ay\n", "x<EOF><EOF>"}, // Ctrl+Z ends the input for good
      {"\x1A\n", "<EOF><EOF><EOF>"}, {std::string("\0z", 2), std::string("\0z<EOF>", 7)},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(readAll(c.bytes, 3), c.expected) << "input " << testing::PrintToString(c.bytes);
  }
}

} // namespace
