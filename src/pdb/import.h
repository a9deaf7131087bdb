#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

// The 78-byte header of a Palm database, numbers in host byte order.
struct PdbHeader {
  std::uint8_t name[32]; // as stored, not NUL-terminated
  std::uint16_t attributes;
  std::uint16_t version;
  std::uint32_t creationDate;
  std::uint32_t modificationDate;
  std::uint32_t lastBackupDate;
  std::uint32_t modificationNumber;
  std::uint32_t appInfoId;
  std::uint32_t sortInfoId;
  std::uint32_t type;
  std::uint32_t creator;
  std::uint32_t uniqueIdSeed;
  std::uint32_t nextRecordListId;
  std::uint16_t nrecords;
};

struct RecordEntry {
  std::uint32_t offset;
  std::uint8_t attributes;
  std::uint32_t uniqueId; // 24 bits
};

struct ResourceEntry {
  std::uint32_t type;
  std::uint16_t id;
  std::uint32_t offset;
};

// One open database. The record count is the header's unsigned 16-bit field,
// so a database holds 0 to 65535 entries; the lists, the walk and the index
// checks all use this one count.
struct PdbFile {
  std::uint16_t nrecords;
  std::int32_t isResource;
  std::vector<ResourceEntry> resourceList; // resource database only
  std::vector<RecordEntry> recordList;     // record database only
  std::int32_t fileSize;
  // Distance to the next entry's offset (the last: to the end of the file), as
  // a 32-bit difference. It is trusted only together with the entry's offset:
  // see recordLiesInFile.
  std::vector<std::int32_t> entrySizes;
  const std::uint8_t *lastBlock;
  std::int32_t lastBlockSize;
  std::int32_t noBlockRead;
};

using RecordBlock = std::unique_ptr<std::uint8_t[]>;

// Receives one record's bytes, which it may change in place, and their number.
using RecordHandler = void (*)(std::uint8_t *bytes, std::int32_t size);

// The reader's one open file; importDatabase sets it, the readers below read it.
extern std::FILE *currentFile;

// Opens the database at the program path, hands each record that lies wholly
// within the file to the callback in list order, and closes it. Records whose
// data overlap are handed on only while all records read so far add up to no
// more than the file's length. 0 once the walk has run; -1 when the file
// cannot be opened or is too short for its own header and entry list (then the
// callback is never called).
int importDatabase(const char *path, RecordHandler callback);

// Reads the header and the entry list of currentFile. nullptr when the file is
// shorter than its header and entry list, or longer than 2^31 - 1 bytes.
std::unique_ptr<PdbFile> openPdb(PdbHeader &header);

// A new block with the entry's data, or nullptr when its data does not lie
// wholly within the file or could not be read (nothing is then allocated).
RecordBlock readRecord(PdbFile *p, int recno, RecordEntry *entry, std::int32_t *size);
RecordBlock readResource(PdbFile *p, int resno, ResourceEntry *entry, std::int32_t *size);

void closePdb(std::unique_ptr<PdbFile> p);

// Big-endian readers of currentFile. Bytes that the file does not deliver read
// as zero.
std::uint16_t fileReadU16();
std::uint32_t fileReadU32();
std::size_t fileReadBlock(void *destination, std::size_t count);

// Whether an entry's data, offset and size as the list gives them, lies wholly
// within a file of the given length.
bool recordLiesInFile(std::uint32_t offset, std::int32_t size, std::int32_t fileSize);
