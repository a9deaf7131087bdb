// Damaged and hostile containers: the reader refuses a file that cannot hold
// its own header and list, skips every record whose data is not wholly in the
// file, and never reads outside the file (the sanitizer build checks that).

#include "pdb/import.h"

#include "support/pdb_writer.h"
#include "support/scratch.h"
#include "support/walk_log.h"

#include <gtest/gtest.h>

namespace {

struct DamagedCase {
  const char *what;
  Bytes file;
  int result;
  std::vector<Bytes> records;
};

Bytes firstBytes(const Bytes &bytes, std::size_t count) {
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

TEST(DamagedDatabase, IsRefusedOrWalkedWithinTheFile) {
  const Bytes header2 = pdbHeader(0, 2);
  const Bytes wellFormed = cat({header2, recordList({94, 97}), raw("abcdefg")});
  const Bytes intoHeader = cat({header2, recordList({0, 4}), raw("ab")});
  const Bytes wrapping = cat({header2, recordList({0xFFFFFFF0, 0x10}), raw("ab")});
  auto from = [](const Bytes &file, std::ptrdiff_t offset) {
    return Bytes(file.begin() + offset, file.end());
  };
  const DamagedCase cases[] = {
      {"empty file", {}, -1, {}},
      {"one byte", Bytes{0}, -1, {}},
      {"header cut at 77 bytes", firstBytes(header2, 77), -1, {}},
      {"header alone, no records", pdbHeader(0, 0), 0, {}},
      {"list cut inside its second entry", firstBytes(wellFormed, 78 + 8 + 5), -1, {}},
      {"count larger than the list", cat({pdbHeader(0, 3), recordList({94, 94})}), -1, {}},
      {"resource list cut short",
       cat({pdbHeader(kResourceDatabase, 2), resourceEntry(1, 1, 98)}),
       -1,
       {}},
      {"first offset past the end",
       cat({header2, recordList({200, 94}), raw("xy")}),
       0,
       {raw("xy")}},
      {"last offset past the end", cat({header2, recordList({94, 4000}), raw("xy")}), 0, {}},
      {"last offset just at the end",
       cat({header2, recordList({94, 96}), raw("xy")}),
       0,
       {raw("xy"), Bytes{}}},
      {"descending offsets", cat({header2, recordList({96, 94}), raw("abcd")}), 0, {raw("abcd")}},
      {"offsets into the header", intoHeader, 0, {firstBytes(intoHeader, 4), from(intoHeader, 4)}},
      {"offsets near 4 GiB",
       cat({header2, recordList({0xFFFFFFF0, 0xFFFFFFFF}), raw("ab")}),
       0,
       {}},
      // 0x10 - 0xFFFFFFF0 is a small positive size, but its offset lies far
      // outside the file.
      {"difference wraps to a small size", wrapping, 0, {from(wrapping, 16)}},
  };
  ScratchFolder folder;
  for (const DamagedCase &c : cases) {
    std::string path = folder.file("damaged.pdb");
    writeFile(path, c.file);
    EXPECT_EQ(importLogged(path), c.result) << c.what;
    EXPECT_EQ(walkedRecords, c.records) << c.what;
  }
}

} // namespace
