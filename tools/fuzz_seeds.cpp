// Writes the seed corpora of the two fuzz targets with the tests' PDB writer:
//   brimlow_fuzz_seeds DATABASE_FOLDER CONVERSION_FOLDER
// The first folder gets single database files: well-formed ones of every kind,
// empty ones, resource databases and damaged ones. The second gets whole
// backup folders, ten framed files each (support/framing.h).

#include "support/framing.h"
#include "support/pdb_writer.h"
#include "support/records.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <limits>
#include <map>
#include <string>

namespace {

namespace fs = std::filesystem;

Bytes categories() {
  return recordDatabase({namedRecord(1, "Food"), namedRecord(2, "Rent\r\nand heat"),
                         namedRecord(-1, "5\" disk, blue; red\tgreen"), namedRecord(2, "Again")});
}

Bytes currencies() {
  return recordDatabase({currencyRecord(1, 1.0f, "Dollar"), currencyRecord(2, 0.9f, "Euro"),
                         currencyRecord(3, 0.0f, "Zero"),
                         currencyRecord(4, std::numeric_limits<float>::infinity(), "Infinite"),
                         currencyRecord(5, std::numeric_limits<float>::quiet_NaN(), "NaN")});
}

Bytes customNames() {
  return recordDatabase({customNameRecord("Category"), customNameRecord("Payee"),
                         customNameRecord("Class \"A\""), customNameRecord("Line\nbreak"),
                         customNameRecord("Fifth")});
}

Bytes accounts() {
  AccountRecord disk{10, 1234567.89f, 2, 0, 1, "5\" disk, blue", "line1\r\nline2"};
  AccountRecord cash{11, -2.625f, 99, 1, 0, "Cash", ""};
  AccountRecord huge{12, 3.0e38f, 4, 2, 2, std::string(300, 'a'), std::string(300, 'b')};
  return recordDatabase({encode(disk), encode(cash), encode(huge)});
}

std::vector<Bytes> transactionRecords() {
  TransactionRecord plain;
  plain.year = 2004, plain.month = 3, plain.day = 7, plain.hour = 14, plain.minute = 5;
  plain.amount = 1.125f, plain.accountId = 10, plain.category1Id = 2, plain.balanceTypeId = 1;
  TransactionRecord transfer;
  transfer.transferMark = 1, transfer.accountId = 11, transfer.transferAccountId = 10;
  transfer.income = 1, transfer.amount = 1.375f, transfer.currencyId = 2;
  transfer.fixedRateFlag = 1, transfer.fixedRateBits = floatBits(1.5f);
  transfer.remind = 1, transfer.receipt = 1, transfer.billable = 1, transfer.cleared = 0xFF;
  transfer.notes = "He said \"hi\", then; left\nagain";
  TransactionRecord odd;
  odd.year = -1, odd.month = 13, odd.day = -5, odd.transferAccountId = -5;
  odd.amount = -0.0f, odd.currencyId = 3, odd.fixedRateFlag = 1, odd.fixedRateBits = 0;
  odd.notes = std::string(600, 'n');
  return {encode(plain), encode(transfer), encode(odd)};
}

Bytes transactions() { return recordDatabase(transactionRecords()); }

// Every kind of record in one database, so that each decoder meets the others'.
Bytes mixed() {
  return recordDatabase({namedRecord(7, "Named"), currencyRecord(2, 0.5f, "Half"),
                         customNameRecord("Label"), encode(AccountRecord{}),
                         transactionRecords()[1]});
}

Bytes resources() {
  PdbWriter writer;
  writer.records = {raw("code"), namedRecord(1, "Food"), Bytes{}};
  return writer.resourceDatabase();
}

Bytes withList(std::uint16_t count, std::initializer_list<std::uint32_t> offsets,
               const Bytes &data) {
  Bytes file = pdbHeader(0, count);
  for (std::uint32_t offset : offsets) {
    Bytes entry = recordEntry(offset);
    file.insert(file.end(), entry.begin(), entry.end());
  }
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

Bytes firstBytes(const Bytes &bytes, std::size_t count) {
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

std::map<std::string, Bytes> databaseSeeds() {
  Bytes named = namedRecord(3, "Cut");
  Bytes account = encode(AccountRecord{5, 1.0f, 1, 1, 1, "Name", "Notes"});
  return {
      {"categories.pdb", categories()},
      {"currencies.pdb", currencies()},
      {"custom_names.pdb", customNames()},
      {"accounts.pdb", accounts()},
      {"transactions.pdb", transactions()},
      {"mixed.pdb", mixed()},
      {"empty_records.pdb", recordDatabase({})},
      {"empty_file.pdb", Bytes{}},
      {"resources.pdb", resources()},
      {"empty_resources.pdb", PdbWriter{}.resourceDatabase()},
      {"truncated_header.pdb", firstBytes(categories(), 40)},
      {"truncated_list.pdb", firstBytes(categories(), 78 + 8 + 5)},
      {"count_beyond_list.pdb", withList(3, {94, 94}, raw("ab"))},
      {"offsets_past_end.pdb", withList(2, {200, 94}, raw("xy"))},
      {"last_offset_past_end.pdb", withList(2, {94, 4000}, raw("xy"))},
      {"descending_offsets.pdb", withList(2, {96, 94}, raw("abcd"))},
      {"offsets_into_header.pdb", withList(2, {0, 40}, raw("ab"))},
      {"offsets_near_4gib.pdb", withList(2, {0xFFFFFFF0, 0xFFFFFFFF}, raw("ab"))},
      {"overlapping_records.pdb", withList(4, {110, 126, 110, 126}, cat({named, named}))},
      {"unterminated_texts.pdb", recordDatabase({firstBytes(named, named.size() - 1),
                                                 firstBytes(account, account.size() - 1)})},
      {"short_records.pdb",
       recordDatabase({Bytes{}, raw("abc"), firstBytes(currencyRecord(1, 1.0f, ""), 7),
                       firstBytes(account, 13), firstBytes(transactionRecords()[0], 72),
                       firstBytes(transactionRecords()[0], 73)})},
  };
}

Backup wellFormedBackup() {
  Backup backup;
  for (int i = 0; i < 6; ++i) {
    backup[i] = categories();
  }
  backup[6] = currencies();
  backup[7] = customNames();
  backup[8] = accounts();
  backup[9] = transactions();
  return backup;
}

std::map<std::string, Bytes> conversionSeeds() {
  Backup empty;
  Backup emptyDatabases;
  emptyDatabases.fill(recordDatabase({}));
  Backup damaged = wellFormedBackup();
  damaged[0].reset();
  damaged[4] = resources();
  damaged[6] = firstBytes(currencies(), 100);
  damaged[8] = withList(2, {96, 94}, raw("abcd"));
  damaged[9] = recordDatabase({firstBytes(transactionRecords()[1], 73), Bytes{}});
  // The same bytes behind every name: ids that match across the tables.
  Backup mixedEverywhere;
  mixedEverywhere.fill(mixed());
  return {
      {"well_formed.bin", frame(wellFormedBackup())},   {"empty_folder.bin", frame(empty)},
      {"empty_databases.bin", frame(emptyDatabases)},   {"damaged.bin", frame(damaged)},
      {"mixed_everywhere.bin", frame(mixedEverywhere)},
  };
}

void writeAll(const fs::path &folder, const std::map<std::string, Bytes> &seeds) {
  fs::create_directories(folder);
  for (const auto &[name, bytes] : seeds) {
    writeFile((folder / name).string(), bytes);
  }
  std::printf("%zu seeds in %s\n", seeds.size(), folder.string().c_str());
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s DATABASE_FOLDER CONVERSION_FOLDER\n", argv[0]);
    return 2;
  }
  try {
    writeAll(argv[1], databaseSeeds());
    writeAll(argv[2], conversionSeeds());
  } catch (const std::exception &failure) {
    std::fprintf(stderr, "%s: %s\n", argv[0], failure.what());
    return 1;
  }
  return 0;
}
