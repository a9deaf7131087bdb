// Memory and work stay bounded by the file, whatever its header and list
// claim: no record block is larger than the file, no list larger than what
// the header's count needs, and no file is read more than once over.

#include "pdb/import.h"

#include "support/allocation_probe.h"
#include "support/pdb_writer.h"
#include "support/scratch.h"
#include "support/walk_log.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

constexpr std::uint16_t kLargestCount = 65535;

// A database of the largest count whose every entry is made by entryAt.
template <typename EntryAt> Bytes fullList(std::uint16_t attributes, EntryAt entryAt) {
  Bytes file = pdbHeader(attributes, kLargestCount);
  for (int i = 0; i < kLargestCount; ++i) {
    Bytes entry = entryAt(i);
    file.insert(file.end(), entry.begin(), entry.end());
  }
  return file;
}

struct Probed {
  int result;
  std::size_t largestAllocation;
};

Probed importProbed(const ScratchFolder &folder, const Bytes &file) {
  std::string path = folder.file("hostile.pdb");
  writeFile(path, file);
  walkedRecords.clear();
  walkedRecords.reserve(4); // the log's own growth is not the reader's
  int result = 0;
  std::size_t largest = largestAllocationDuring([&] { result = importLogged(path); });
  return {result, largest};
}

TEST(Bounds, HugeCountInASmallFileIsRefusedBeforeAnyList) {
  // 300 bytes that claim 65535 records at offsets near 4 GiB: the list alone
  // would need 524280 bytes, so nothing is allocated for it.
  Bytes file = pdbHeader(0, kLargestCount);
  while (file.size() < 300) {
    Bytes entry = recordEntry(0xFFFFFF00);
    file.insert(file.end(), entry.begin(), entry.end());
  }
  file.resize(300);
  ScratchFolder folder;
  Probed probed = importProbed(folder, file);
  EXPECT_EQ(probed.result, -1);
  EXPECT_TRUE(walkedRecords.empty());
  EXPECT_LT(probed.largestAllocation, file.size());
}

TEST(Bounds, HostileOffsetsAllocateNoMoreThanTheFileAndTheList) {
  struct Case {
    const char *what;
    Bytes file;
    std::size_t records;
  };
  const Case cases[] = {
      {"65535 records near 4 GiB",
       fullList(0, [](int i) { return recordEntry(0xFFFF0000u + static_cast<std::uint32_t>(i)); }),
       0},
      {"65535 resources near 4 GiB",
       fullList(kResourceDatabase,
                [](int i) {
                  return resourceEntry(0x636F6465, 1, 0xFFFF0000u + static_cast<std::uint32_t>(i));
                }),
       0},
      // 0x10 - 0xFFFFFF00 wraps to 0x110, more than the whole file.
      {"a difference that wraps", cat({pdbHeader(0, 2), recordList({0xFFFFFF00, 0x10}), raw("ab")}),
       1},
      {"a last offset past the end",
       cat({pdbHeader(0, 2), recordList({94, 0x7FFFFFFF}), raw("ab")}), 0},
  };
  ScratchFolder folder;
  for (const Case &c : cases) {
    Probed probed = importProbed(folder, c.file);
    EXPECT_EQ(probed.result, 0) << c.what;
    EXPECT_EQ(walkedRecords.size(), c.records) << c.what;
    std::size_t listNeeds = kLargestCount * std::max(sizeof(RecordEntry), sizeof(ResourceEntry));
    EXPECT_LE(probed.largestAllocation, std::max(c.file.size(), listNeeds)) << c.what;
  }
}

// Entries alternating between two offsets used to hand on the same bytes again
// and again: 65535 such entries in a file of half a megabyte read 17 GB.
TEST(Bounds, RecordsThatOverlapReadNoMoreThanTheFile) {
  // 104 bytes: entries 0 and 2 both span the whole file.
  Bytes small = cat({pdbHeader(0, 3), recordList({0, 104, 0}), raw("ab")});
  ScratchFolder folder;
  EXPECT_EQ(importProbed(folder, small).result, 0);
  EXPECT_EQ(walkedRecords, std::vector<Bytes>{small});

  const std::uint32_t end = 78 + 8 * kLargestCount;
  Bytes alternating = fullList(0, [&](int i) { return recordEntry(i % 2 == 0 ? 0 : end); });
  EXPECT_EQ(importProbed(folder, alternating).result, 0);
  ASSERT_EQ(walkedRecords.size(), 1u);
  EXPECT_EQ(walkedRecords[0], alternating);
}

} // namespace
