#include "support/expected_output.h"

#include "support/pdb_writer.h"
#include "version.h"

const std::string kBanner =
    "\nbrimlow2csv " BRIMLOW2CSV_VERSION " - Brimlow backups to spreadsheet files\n"
    "Problems? Report them to the brimlow2csv project with the QX_*.pdb files that show them\n"
    "\n"
    "This program will convert Brimlow data into Excel (csv) file\n"
    "Place this program into the folder with Brimlow Data (QX_*.pdb files)\n"
    "(Probably \"C:\\Program Files\\Palm\\Your Name\\Backup\")\n"
    "\n"
    "Press enter to continue\n"
    "\n";

const char *const kProgress[10] = {"Importing category 1...\n",   "Importing category 2...\n",
                                   "Importing category 3...\n",   "Importing category 4...\n",
                                   "Importing balance type...\n", "Importing remind type...\n",
                                   "Importing currencies...\n",   "Importing custom names...\n",
                                   "Importing accounts...\n",     "Importing transactions...\n"};

const char *const kSubject[10] = {"category 1",   "category 2",  "category 3", "category 4",
                                  "balance type", "remind type", "currencies", "custom names",
                                  "accounts",     "transactions"};

const char *const kOutputs[3] = {"Brimlow_C.csv", "Brimlow_S.csv", "Brimlow_T.tsv"};

const char kSeparators[3] = {',', ';', '\t'};

std::string completionLine(int file) {
  return std::string("Brimlow data are exported to the \".\\") + kOutputs[file] +
         "\" file in the current folder\n";
}

std::string transcript(const Expected &expected) {
  std::string text = kBanner;
  for (int i = 0; i < 10; ++i) {
    text += kProgress[i];
    if (expected.missing.count(i) != 0) {
      text += std::string(" *** Error: can't import ") + kSubject[i] +
              "!\nBrimlow files (QX_*.pdb) should be in the same folder with this program.\n";
    }
    if (expected.notes.count(i) != 0) {
      text += expected.notes.at(i);
    }
  }
  text += "Import finished\nMaking Excel (csv/ssv/tsv) files...\n";
  for (int file = 0; file < 3; ++file) {
    auto replaced = expected.output.find(file);
    text += replaced != expected.output.end() ? replaced->second : completionLine(file);
  }
  return text + "Press enter to continue...\n";
}

std::set<int> allDatabases() { return {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}; }

std::string line(std::initializer_list<std::string> cells, char separator) {
  std::string text;
  for (const std::string &cell : cells) {
    text += "\"" + cell + "\"" + separator;
  }
  return text + "\r\n";
}

std::string sheet(char s, const SheetLines &lines) {
  const std::string *labels = lines.labels;
  return "****** Currencies ******\r\n\r\n" + line({"Name", "Rate", "1/Rate"}, s) + "\r\n" +
         lines.currencies + "\r\n\r\n" + "****** Accounts ******\r\n\r\n" +
         line({"Total", "Active", "Name", "Amount", "Currency", "Amount x Rate", "Notes"}, s) +
         "\r\n" + lines.accounts + "\r\n\r\n" + "****** Transactions ******\r\n\r\n" +
         line({"Date/Time",
               "Transfer/Single",
               "Income/Expense",
               "Amount",
               "Currency",
               "Account (primary)",
               "Account (transfer)",
               labels[0],
               labels[1],
               labels[2],
               labels[3],
               "Balance",
               "How to remind",
               "Remind?",
               "Receipt",
               "Billable",
               "Cleared",
               "Fixed rate flag",
               "Fixed rate value",
               "Amount x Current rate",
               "Amount x Fixed rate",
               "Amount / Fixed rate",
               "Notes"},
              s) +
         "\r\n" + lines.transactions;
}

std::string emptyFile(char s) { return sheet(s, {}); }

std::string fileText(const ScratchFolder &folder, int file) {
  Bytes bytes = readFile(folder.file(kOutputs[file]));
  return std::string(bytes.begin(), bytes.end());
}
