#include "driver/convert.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

TEST(DatabasePaths, FolderPathEndsInExactlyOneBackslash) {
  struct Case {
    const char *folder;
    const char *path;
  };
  const Case cases[] = {{".", ".\\"}, {"backup\\", "backup\\"}, {"C:\\Palm", "C:\\Palm\\"}};
  for (const Case &c : cases) {
    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    copyFolderPath(buffer, c.folder);
    EXPECT_STREQ(buffer, c.path);
  }
}

} // namespace
