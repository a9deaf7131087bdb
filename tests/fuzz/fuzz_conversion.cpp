// One input is a whole backup folder: ten framed database files (see
// support/framing.h), each imported with its own decoder as the converter
// does, so that damaged databases meet in one conversion, ids and all. The
// tables are then exported in all three dialects.

#include "harness.h"

#include "support/framing.h"
#include "support/scratch.h"

#include <cstdio>
#include <string>

namespace {
std::string databasePaths[10];
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  startFuzzing();
  for (int i = 0; i < 10; ++i) {
    databasePaths[i] = workFile(kFuzzedDatabases[i].fileName);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  wipeFinanceTables();
  Backup backup = unframe(data, size);
  for (int i = 0; i < 10; ++i) {
    std::remove(databasePaths[i].c_str());
    if (backup[i]) {
      writeWorkFile(databasePaths[i], backup[i]->data(), backup[i]->size());
    }
    int result = importDatabase(databasePaths[i].c_str(), kFuzzedDatabases[i].decoder);
    if (!backup[i] && result != -1) {
      std::fprintf(stderr, "fuzz check failed: an absent database was imported\n");
      std::abort();
    }
  }
  exportAndCheck();
  return 0;
}
