#include "harness.h"

#include "export/spreadsheet.h"
#include "finance/decoders.h"
#include "finance/tables.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

const FuzzedDatabase kFuzzedDatabases[10] = {
    {"QX_Category1.pdb", decodeCategory1},     {"QX_Category2.pdb", decodeCategory2},
    {"QX_Category3.pdb", decodeCategory3},     {"QX_Category4.pdb", decodeCategory4},
    {"QX_BalanceType.pdb", decodeBalanceType}, {"QX_RemindType.pdb", decodeRemindType},
    {"QX_Currency.pdb", decodeCurrency},       {"QX_CustomNames.pdb", decodeCustomName},
    {"QX_Account.pdb", decodeAccount},         {"QX_Transaction.pdb", decodeTransaction},
};

namespace {

std::string workFolder;

// A check of the harness that failed: the fuzzer reports it like a crash.
void require(bool condition, const char *what) {
  if (!condition) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
  }
}

std::string readWorkFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  require(static_cast<bool>(in), "an output file was not written");
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Titles, header lines and empty lines: 6 line ends in the Currencies and the
// Accounts sections, 4 in the Transactions section.
constexpr long kFixedLineEnds = 16;
// The three header lines' cells.
constexpr long kHeaderCells = 3 + 7 + 23;

void checkLineEnds(const std::string &file) {
  const FinanceTables &t = financeTables;
  long lineEnds = 0;
  for (std::size_t i = 0; i < file.size(); ++i) {
    if (file[i] == '\r') {
      require(i + 1 < file.size() && file[i + 1] == '\n', "a CR without its LF");
      ++lineEnds;
      ++i;
    } else {
      require(file[i] != '\n', "an LF without its CR");
    }
  }
  require(lineEnds == kFixedLineEnds + t.currencyCount + t.accountCount + t.transactionCount,
          "the line count does not follow from the tables");
}

// The texts are the same in every dialect, so the files differ exactly at the
// separators, one after every cell.
void checkSeparatorsOnly(const std::string &comma, const std::string &other, char separator) {
  const FinanceTables &t = financeTables;
  require(comma.size() == other.size(), "the dialects' files differ in size");
  long separators = 0;
  for (std::size_t i = 0; i < comma.size(); ++i) {
    if (comma[i] != other[i]) {
      require(comma[i] == ',' && other[i] == separator, "the dialects differ beyond separators");
      ++separators;
    }
  }
  long cells = kHeaderCells + 3L * t.currencyCount + 7L * t.accountCount + 23L * t.transactionCount;
  require(separators == cells, "the number of cells does not follow from the tables");
}

} // namespace

void startFuzzing() {
  require(std::freopen("/dev/null", "w", stdout) != nullptr, "cannot silence standard output");
  std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                   ? "/dev/shm"
                                   : std::filesystem::temp_directory_path();
  std::string pattern = (base / "brimlow-fuzz-XXXXXX").string();
  require(mkdtemp(pattern.data()) != nullptr, "cannot create the work folder");
  workFolder = pattern;
  // The folder goes with the process, however the fuzzer ends it normally.
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(workFolder, ignored);
  });
}

std::string workFile(const std::string &name) { return workFolder + "/" + name; }

TableCounts tableCounts() {
  const FinanceTables &t = financeTables;
  return {t.category1Count,   t.category2Count,    t.category3Count,     t.category4Count,
          t.balanceTypeCount, t.remindTypeCount,   t.currencyCount,      t.customNameCount,
          t.accountCount,     t.transactionCount,  t.category1Dropped,   t.category2Dropped,
          t.category3Dropped, t.category4Dropped,  t.balanceTypeDropped, t.remindTypeDropped,
          t.currencyDropped,  t.customNameDropped, t.accountDropped,     t.transactionDropped};
}

void writeWorkFile(const std::string &path, const std::uint8_t *data, std::size_t size) {
  std::FILE *file = std::fopen(path.c_str(), "wb");
  require(file != nullptr, "cannot create an input file");
  require(size == 0 || std::fwrite(data, 1, size, file) == size, "cannot write an input file");
  require(std::fclose(file) == 0, "cannot close an input file");
}

void exportAndCheck() {
  static const char *const names[3] = {"Brimlow_C.csv", "Brimlow_S.csv", "Brimlow_T.tsv"};
  std::string files[3];
  for (int dialect = 1; dialect <= 3; ++dialect) {
    std::string path = workFile(names[dialect - 1]);
    std::remove(path.c_str());
    exportSpreadsheet(path.c_str(), dialect);
    files[dialect - 1] = readWorkFile(path);
    checkLineEnds(files[dialect - 1]);
  }
  checkSeparatorsOnly(files[0], files[1], ';');
  checkSeparatorsOnly(files[0], files[2], '\t');
}
