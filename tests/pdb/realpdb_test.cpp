// Databases of other Palm applications, as their own programs wrote them.

#include "pdb/import.h"

#include "support/pdb_writer.h"
#include "support/walk_log.h"

#include <gtest/gtest.h>

namespace {

std::uint32_t bigEndianAt(const Bytes &file, std::size_t at) {
  return static_cast<std::uint32_t>(file[at]) << 24 |
         static_cast<std::uint32_t>(file[at + 1]) << 16 |
         static_cast<std::uint32_t>(file[at + 2]) << 8 | file[at + 3];
}

// The records as the file's own list describes them: from each offset to the
// next, the last to the end of the file.
std::vector<Bytes> recordsByTheList(const Bytes &file) {
  std::size_t count = static_cast<std::size_t>(file[76] << 8 | file[77]);
  std::vector<Bytes> records;
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t begin = bigEndianAt(file, 78 + 8 * i);
    std::size_t end = i + 1 < count ? bigEndianAt(file, 78 + 8 * (i + 1)) : file.size();
    records.emplace_back(file.begin() + static_cast<std::ptrdiff_t>(begin),
                         file.begin() + static_cast<std::ptrdiff_t>(end));
  }
  return records;
}

TEST(RealDatabases, AreWalkedRecordByRecordAsTheirListsDescribe) {
  struct Case {
    const char *file;
    std::size_t records;
    std::size_t totalSize;
  };
  const Case cases[] = {
      {"MemoDB.pdb", 5, 4687},
      {"ToDoDB.pdb", 3, 1192},
      {"DatebookDB.pdb", 3, 53},
      {"AddressDB-LifeDrive.pdb", 2, 880},
      {"OnBoardHeaderV40.pdb", 13, 17892},
      {"sample-textread.mobi", 26, 154256},
  };
  for (const Case &c : cases) {
    std::string path = std::string(REAL_PDB_FOLDER) + "/" + c.file;
    Bytes file = readFile(path);
    ASSERT_FALSE(file.empty()) << path;
    EXPECT_EQ(importLogged(path), 0) << c.file;
    EXPECT_EQ(walkedRecords.size(), c.records) << c.file;
    std::size_t total = 0;
    for (const Bytes &record : walkedRecords) {
      total += record.size();
    }
    EXPECT_EQ(total, c.totalSize) << c.file;
    EXPECT_EQ(walkedRecords, recordsByTheList(file)) << c.file;
  }
}

} // namespace
