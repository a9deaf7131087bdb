#include "pdb/import.h"

#include "support/child.h"
#include "support/pdb_writer.h"
#include "support/scratch.h"
#include "support/walk_log.h"

#include <gtest/gtest.h>

namespace {

class Import : public testing::Test {
protected:
  std::string store(const Bytes &bytes) {
    std::string path = folder.file("test.pdb");
    writeFile(path, bytes);
    return path;
  }

  ScratchFolder folder;
};

TEST_F(Import, HandsEachRecordWithExactlyItsBytesInListOrder) {
  PdbWriter writer;
  writer.gap = 2; // the two bytes that the handheld leaves after the list
  writer.records = {raw("first"), raw("2nd"), cat({raw("last"), repeated(0xEE, 3)})};
  EXPECT_EQ(importLogged(store(writer.recordDatabase())), 0);
  // The last record runs to the end of the file, trailing bytes and all.
  EXPECT_EQ(walkedRecords,
            (std::vector<Bytes>{raw("first"), raw("2nd"), cat({raw("last"), repeated(0xEE, 3)})}));
}

TEST_F(Import, MissingFileIsNotOpenedAndTheCallbackNeverCalled) {
  walkedRecords.push_back(raw("stale"));
  EXPECT_EQ(importLogged(folder.file("missing.pdb")), -1);
  EXPECT_TRUE(walkedRecords.empty());
}

TEST_F(Import, EmptyAndResourceDatabasesGiveNoRecords) {
  PdbWriter writer;
  EXPECT_EQ(importLogged(store(writer.recordDatabase())), 0);
  EXPECT_TRUE(walkedRecords.empty());

  writer.records = {raw("code"), raw("data"), raw("more")};
  EXPECT_EQ(importLogged(store(writer.resourceDatabase())), 0);
  EXPECT_TRUE(walkedRecords.empty());
}

TEST_F(Import, NeighboursWithTheSameOffsetGiveTheFirstAnEmptyRecord) {
  Bytes file =
      cat({pdbHeader(0, 3), recordEntry(102), recordEntry(102), recordEntry(104), raw("abcd")});
  EXPECT_EQ(importLogged(store(file)), 0);
  EXPECT_EQ(walkedRecords, (std::vector<Bytes>{Bytes{}, raw("ab"), raw("cd")}));
}

TEST_F(Import, HandsOnRecordsWhateverTheirAttributesTypeAndCreator) {
  Bytes file =
      cat({pdbHeader(0x00FE, 3, "Other", 0x54455874, 0x52454164), recordEntry(102, 0x80, 0xABCDEF),
           recordEntry(103, 0x40), recordEntry(104, 0xFF), raw("xyz")});
  EXPECT_EQ(importLogged(store(file)), 0);
  EXPECT_EQ(walkedRecords, (std::vector<Bytes>{raw("x"), raw("y"), raw("z")}));
}

TEST_F(Import, WalksEveryOneOf65535Records) {
  // Every entry points at the end of the file: 65535 records of size 0.
  Bytes file = pdbHeader(0, 65535);
  std::uint32_t end = 78 + 8 * 65535;
  for (int i = 0; i < 65535; ++i) {
    Bytes entry = recordEntry(end);
    file.insert(file.end(), entry.begin(), entry.end());
  }
  EXPECT_EQ(importLogged(store(file)), 0);
  EXPECT_EQ(walkedRecords.size(), 65535u);
}

TEST_F(Import, OpenFillsTheHeaderAndTheLists) {
  Bytes file = cat({pdbHeader(0, 2, "MemoDB", 0x44415441, 0x6D656D6F), recordEntry(94, 0x40, 7),
                    recordEntry(97, 0x01, 0x123456), raw("abcdefg")});
  currentFile = std::fopen(store(file).c_str(), "rb");
  PdbHeader header{};
  std::unique_ptr<PdbFile> p = openPdb(header);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(header.name)), "MemoDB");
  EXPECT_EQ(header.type, 0x44415441u);
  EXPECT_EQ(header.creator, 0x6D656D6Fu);
  EXPECT_EQ(header.nrecords, 2);
  EXPECT_EQ(p->fileSize, 101);
  EXPECT_EQ(p->isResource, 0);
  EXPECT_EQ(p->entrySizes, (std::vector<std::int32_t>{3, 4}));
  EXPECT_EQ(p->noBlockRead, 1);

  RecordEntry entry{};
  std::int32_t size = -1;
  RecordBlock block = readRecord(p.get(), 1, &entry, &size);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(size, 4);
  EXPECT_EQ(Bytes(block.get(), block.get() + size), raw("defg"));
  EXPECT_EQ(entry.attributes, 0x01);
  EXPECT_EQ(entry.uniqueId, 0x123456u);
  EXPECT_EQ(p->lastBlock, block.get());
  EXPECT_EQ(p->noBlockRead, 0);
  closePdb(std::move(p));
  std::fclose(currentFile);
}

// The readers stop the run when they are used against their contract; the
// walk itself never gets there.
TEST_F(Import, ReadersStopTheRunOnAMisuse) {
  std::string records = store(recordDatabase({raw("a")}));
  PdbWriter writer;
  writer.records = {raw("r")};
  std::string resources = folder.file("resources.pdb");
  writeFile(resources, writer.resourceDatabase());

  struct Case {
    const std::string *path;
    bool asResource;
    int index;
    const char *message;
  };
  const Case cases[] = {
      {&resources, false, 0, "!p->isResource, file import.cpp, line 223"},
      {&records, false, -1, "(recno >= 0) && (recno < p->nrecords), file import.cpp, line 224"},
      {&records, false, 1, "(recno >= 0) && (recno < p->nrecords), file import.cpp, line 224"},
      {&records, true, 0, "p->isResource, file import.cpp, line 197"},
      {&resources, true, 1, "(resno >= 0) && (resno < p->nrecords), file import.cpp, line 198"},
  };
  for (const Case &c : cases) {
    ChildResult result = runInChild([&] {
      currentFile = std::fopen(c.path->c_str(), "rb");
      PdbHeader header{};
      std::unique_ptr<PdbFile> p = openPdb(header);
      std::int32_t size = 0;
      if (c.asResource) {
        ResourceEntry entry{};
        (void)readResource(p.get(), c.index, &entry, &size);
      } else {
        RecordEntry entry{};
        (void)readRecord(p.get(), c.index, &entry, &size);
      }
    });
    EXPECT_EQ(result.exitStatus, 3) << c.message;
    EXPECT_EQ(result.err, std::string("\r\nAssertion failed: ") + c.message +
                              "\r\n\r\nAbnormal program termination\r\n");
  }
}

} // namespace
