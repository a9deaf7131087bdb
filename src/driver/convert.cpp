#include "driver/convert.h"

#include "export/spreadsheet.h"
#include "finance/decoders.h"
#include "finance/tables.h"
#include "pdb/import.h"
#include "platform/console.h"
#include "version.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t kPathBufferSize = 4096;

struct DatabaseImport {
  const char *progress;
  const char *fileName;
  RecordHandler decoder;
  const char *subject; // named in the error message
  // The table's count of records it had no room for; none for the custom
  // names, of which only the first four are ever exported.
  const std::int32_t *dropped;
};

const FinanceTables &t = financeTables;

const DatabaseImport kImports[] = {
    {"Importing category 1...\n", "QX_Category1.pdb", decodeCategory1, "category 1",
     &t.category1Dropped},
    {"Importing category 2...\n", "QX_Category2.pdb", decodeCategory2, "category 2",
     &t.category2Dropped},
    {"Importing category 3...\n", "QX_Category3.pdb", decodeCategory3, "category 3",
     &t.category3Dropped},
    {"Importing category 4...\n", "QX_Category4.pdb", decodeCategory4, "category 4",
     &t.category4Dropped},
    {"Importing balance type...\n", "QX_BalanceType.pdb", decodeBalanceType, "balance type",
     &t.balanceTypeDropped},
    {"Importing remind type...\n", "QX_RemindType.pdb", decodeRemindType, "remind type",
     &t.remindTypeDropped},
    {"Importing currencies...\n", "QX_Currency.pdb", decodeCurrency, "currencies",
     &t.currencyDropped},
    {"Importing custom names...\n", "QX_CustomNames.pdb", decodeCustomName, "custom names",
     nullptr},
    {"Importing accounts...\n", "QX_Account.pdb", decodeAccount, "accounts", &t.accountDropped},
    {"Importing transactions...\n", "QX_Transaction.pdb", decodeTransaction, "transactions",
     &t.transactionDropped},
};

struct SpreadsheetExport {
  const char *path;
  int dialect;
};

const SpreadsheetExport kExports[] = {
    {".\\Brimlow_C.csv", 1},
    {".\\Brimlow_S.csv", 2},
    {".\\Brimlow_T.tsv", 3},
};

const char kBanner[] =
    "\n"
    "brimlow2csv " BRIMLOW2CSV_VERSION " - Brimlow backups to spreadsheet files\n"
    "Problems? Report them to the brimlow2csv project with the QX_*.pdb files that show them\n"
    "\n"
    "This program will convert Brimlow data into Excel (csv) file\n"
    "Place this program into the folder with Brimlow Data (QX_*.pdb files)\n"
    "(Probably \"C:\\Program Files\\Palm\\Your Name\\Backup\")\n"
    "\n"
    "Press enter to continue\n"
    "\n";

void importOne(const DatabaseImport &database, char *path, char *insertionPoint) {
  std::fputs(database.progress, stdout);
  std::memcpy(insertionPoint, database.fileName, std::strlen(database.fileName) + 1);
  if (importDatabase(path, database.decoder) != 0) {
    std::printf(" *** Error: can't import %s!\n"
                "Brimlow files (QX_*.pdb) should be in the same folder with this program.\n",
                database.subject);
  } else if (database.dropped != nullptr && *database.dropped > 0) {
    std::printf(" *** Warning: %d records of %s did not fit and are not exported!\n",
                static_cast<int>(*database.dropped), database.fileName);
  }
}

} // namespace

void appendBackslash(char *path) {
  std::size_t length = std::strlen(path);
  if (length > 0 && path[length - 1] != '\\') {
    path[length] = '\\';
    path[length + 1] = '\0';
  }
}

void copyFolderPath(char *destination, const char *folder) {
  std::memcpy(destination, folder, std::strlen(folder) + 1);
  appendBackslash(destination);
}

int convertMain(int /*argc*/, char ** /*argv*/) {
  char path[kPathBufferSize] = {};
  copyFolderPath(path, ".");
  char *insertionPoint = path + std::strlen(path);
  resetCounts();
  std::fputs(kBanner, stdout);
  waitForEnter();
  for (const DatabaseImport &database : kImports) {
    importOne(database, path, insertionPoint);
  }
  std::fputs("Import finished\n", stdout);
  std::fputs("Making Excel (csv/ssv/tsv) files...\n", stdout);
  for (const SpreadsheetExport &output : kExports) {
    exportSpreadsheet(output.path, output.dialect);
  }
  std::fputs("Press enter to continue...\n", stdout);
  waitForEnter();
  return 0;
}
