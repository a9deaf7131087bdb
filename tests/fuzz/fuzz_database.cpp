// One input is one database file. It is imported with each of the ten
// decoders in turn, so that the same bytes fill every table, and the tables
// are then exported in all three dialects.

#include "harness.h"

#include "pdb/import.h"
#include "support/scratch.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string databasePath;

// A refused database leaves every table as it was.
void importRefusedOrWalked(const FuzzedDatabase &database, std::size_t size) {
  TableCounts before = tableCounts();
  int result = importDatabase(databasePath.c_str(), database.decoder);
  if (result != 0 && (result != -1 || tableCounts() != before)) {
    std::fprintf(stderr, "fuzz check failed: a refused database changed the tables\n");
    std::abort();
  }
  // No database fits in less than its 78-byte header.
  if (size < 78 && result != -1) {
    std::fprintf(stderr, "fuzz check failed: a file shorter than the header was walked\n");
    std::abort();
  }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  startFuzzing();
  databasePath = workFile("database.pdb");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  wipeFinanceTables();
  writeWorkFile(databasePath, data, size);
  for (const FuzzedDatabase &database : kFuzzedDatabases) {
    importRefusedOrWalked(database, size);
  }
  exportAndCheck();
  return 0;
}
