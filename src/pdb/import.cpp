#include "pdb/import.h"

#include "platform/files.h"
#include "platform/stop.h"

#include <limits>
#include <utility>

std::FILE *currentFile = nullptr;

namespace {
// The stream reads this much at a time rather than a few KiB: a full
// transaction database is some 19 MiB of records of a few hundred bytes. One
// database is open at a time, so one buffer serves them all.
char readAheadBuffer[std::size_t{1} << 16];
} // namespace

namespace {

constexpr std::int64_t kHeaderSize = 78;
constexpr std::int64_t kRecordEntrySize = 8;
constexpr std::int64_t kResourceEntrySize = 10;
constexpr std::uint16_t kResourceAttribute = 0x0001;

// The stop messages have always named the checks by these lines of the reader's
// source; users' reports quote them, so they stay fixed whatever the file looks
// like today.
constexpr const char *kSourceName = "import.cpp";
constexpr int kResourceKindLine = 197;
constexpr int kResourceIndexLine = 198;
constexpr int kRecordKindLine = 223;
constexpr int kRecordIndexLine = 224;

#define CHECK_OR_STOP(condition, line)                                                             \
  ((condition) ? (void)0 : stopOnFailedCheck(#condition, kSourceName, line))

void readHeader(PdbHeader &header) {
  fileReadBlock(header.name, sizeof header.name);
  header.attributes = fileReadU16();
  header.version = fileReadU16();
  header.creationDate = fileReadU32();
  header.modificationDate = fileReadU32();
  header.lastBackupDate = fileReadU32();
  header.modificationNumber = fileReadU32();
  header.appInfoId = fileReadU32();
  header.sortInfoId = fileReadU32();
  header.type = fileReadU32();
  header.creator = fileReadU32();
  header.uniqueIdSeed = fileReadU32();
  header.nextRecordListId = fileReadU32();
  header.nrecords = fileReadU16();
}

// The file names no sizes: an entry's data runs to the next entry's offset in
// list order, the last entry's to the end of the file. Offsets are not sorted
// first, so a descending pair gives a size that recordLiesInFile refuses.
std::int32_t distance(std::uint32_t from, std::uint32_t to) {
  return static_cast<std::int32_t>(to - from);
}

template <typename Entry> void computeEntrySizes(PdbFile &p, const std::vector<Entry> &list) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    std::uint32_t next =
        i + 1 < list.size() ? list[i + 1].offset : static_cast<std::uint32_t>(p.fileSize);
    p.entrySizes[i] = distance(list[i].offset, next);
  }
}

void readRecordList(PdbFile &p) {
  p.recordList.resize(p.nrecords);
  for (RecordEntry &entry : p.recordList) {
    entry.offset = fileReadU32();
    std::uint32_t v = fileReadU32();
    entry.attributes = static_cast<std::uint8_t>(v >> 24);
    entry.uniqueId = v & 0x00FFFFFF;
  }
  computeEntrySizes(p, p.recordList);
}

void readResourceList(PdbFile &p) {
  p.resourceList.resize(p.nrecords);
  for (ResourceEntry &entry : p.resourceList) {
    entry.type = fileReadU32();
    entry.id = fileReadU16();
    entry.offset = fileReadU32();
  }
  computeEntrySizes(p, p.resourceList);
}

RecordBlock readBlock(PdbFile *p, std::uint32_t offset, std::int32_t size) {
  if (!recordLiesInFile(offset, size, p->fileSize) || !seekFile(currentFile, offset)) {
    return nullptr;
  }
  RecordBlock block(new std::uint8_t[static_cast<std::size_t>(size)]);
  if (fileReadBlock(block.get(), static_cast<std::size_t>(size)) !=
      static_cast<std::size_t>(size)) {
    return nullptr;
  }
  p->lastBlock = block.get();
  p->lastBlockSize = size;
  p->noBlockRead = 0;
  return block;
}

} // namespace

bool recordLiesInFile(std::uint32_t offset, std::int32_t size, std::int32_t fileSize) {
  return size >= 0 && offset <= static_cast<std::uint32_t>(fileSize) &&
         static_cast<std::uint32_t>(size) <= static_cast<std::uint32_t>(fileSize) - offset;
}

std::uint16_t fileReadU16() {
  std::uint8_t b[2] = {};
  fileReadBlock(b, sizeof b);
  return static_cast<std::uint16_t>(b[0] << 8 | b[1]);
}

std::uint32_t fileReadU32() {
  std::uint8_t b[4] = {};
  fileReadBlock(b, sizeof b);
  return static_cast<std::uint32_t>(b[0]) << 24 | static_cast<std::uint32_t>(b[1]) << 16 |
         static_cast<std::uint32_t>(b[2]) << 8 | b[3];
}

std::size_t fileReadBlock(void *destination, std::size_t count) {
  return readFromFile(currentFile, destination, count);
}

std::unique_ptr<PdbFile> openPdb(PdbHeader &header) {
  std::int64_t length = measureFile(currentFile);
  if (length < kHeaderSize || length > std::numeric_limits<std::int32_t>::max()) {
    return nullptr;
  }
  readHeader(header);
  auto p = std::make_unique<PdbFile>();
  p->nrecords = header.nrecords;
  p->isResource = (header.attributes & kResourceAttribute) != 0 ? 1 : 0;
  p->fileSize = static_cast<std::int32_t>(length);
  std::int64_t entrySize = p->isResource != 0 ? kResourceEntrySize : kRecordEntrySize;
  // Nothing is allocated for a list that the file does not hold in full.
  if (kHeaderSize + entrySize * p->nrecords > length) {
    return nullptr;
  }
  p->entrySizes.resize(p->nrecords);
  if (p->isResource != 0) {
    readResourceList(*p);
  } else {
    readRecordList(*p);
  }
  // The header and the list were measured to fit; a file that changed since
  // or failed to read is not walked on zeros.
  if (std::ferror(currentFile) != 0 || std::feof(currentFile) != 0) {
    return nullptr;
  }
  p->lastBlock = nullptr;
  p->lastBlockSize = 0;
  p->noBlockRead = 1;
  return p;
}

RecordBlock readResource(PdbFile *p, int resno, ResourceEntry *entry, std::int32_t *size) {
  CHECK_OR_STOP(p->isResource, kResourceKindLine);
  CHECK_OR_STOP((resno >= 0) && (resno < p->nrecords), kResourceIndexLine);
  RecordBlock block = readBlock(p, p->resourceList[resno].offset, p->entrySizes[resno]);
  *entry = p->resourceList[resno];
  *size = block ? p->entrySizes[resno] : 0;
  return block;
}

RecordBlock readRecord(PdbFile *p, int recno, RecordEntry *entry, std::int32_t *size) {
  CHECK_OR_STOP(!p->isResource, kRecordKindLine);
  CHECK_OR_STOP((recno >= 0) && (recno < p->nrecords), kRecordIndexLine);
  RecordBlock block = readBlock(p, p->recordList[recno].offset, p->entrySizes[recno]);
  *entry = p->recordList[recno];
  *size = block ? p->entrySizes[recno] : 0;
  return block;
}

void closePdb(std::unique_ptr<PdbFile> p) { p.reset(); }

namespace {

// Entries whose data overlap could make the walk read a small file over and
// over: 65535 entries alternating between two offsets would read the whole file
// 32768 times. Entries that do not overlap never add up to more than the file,
// so the walk skips every entry that would take what it has read past the
// file's length.
void walk(PdbFile *p, const PdbHeader &header, RecordHandler callback) {
  std::int64_t allowance = p->fileSize; // bytes the walk may still read
  for (int i = 0; i < header.nrecords; ++i) {
    if (p->entrySizes[i] > allowance) {
      continue;
    }
    std::int32_t size = 0;
    if (p->isResource != 0) {
      ResourceEntry entry{};
      (void)readResource(p, i, &entry, &size);
    } else {
      RecordEntry entry{};
      RecordBlock block = readRecord(p, i, &entry, &size);
      if (block) {
        callback(block.get(), size);
      }
    }
    allowance -= size;
  }
}

} // namespace

int importDatabase(const char *path, RecordHandler callback) {
  currentFile = openFileForReading(path);
  if (currentFile == nullptr) {
    return -1;
  }
  std::setvbuf(currentFile, readAheadBuffer, _IOFBF, sizeof readAheadBuffer);
  PdbHeader header{};
  std::unique_ptr<PdbFile> p = openPdb(header);
  int result = -1;
  if (p) {
    walk(p.get(), header, callback);
    closePdb(std::move(p));
    result = 0;
  }
  std::fclose(currentFile);
  currentFile = nullptr;
  return result;
}
