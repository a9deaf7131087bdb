#include "export/spreadsheet.h"

#include "finance/tables.h"
#include "support/child.h"
#include "support/pdb_writer.h"
#include "support/scratch.h"

#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace {

class Spreadsheet : public testing::Test {
protected:
  void SetUp() override { wipeFinanceTables(); }
  void TearDown() override { wipeFinanceTables(); }

  // Exports in a child, so that its console line can be read; returns the file.
  std::string exportFile(int dialect) {
    std::string path = folder.file("out.csv");
    console = runInChild([&] { exportSpreadsheet(path.c_str(), dialect); }).out;
    Bytes bytes = readFile(path);
    return std::string(bytes.begin(), bytes.end());
  }

  // The line of the file that starts with the given text.
  std::string lineStartingWith(const std::string &file, const std::string &start) {
    std::size_t at = file.find("\r\n" + start);
    if (at == std::string::npos) {
      return "(no such line)";
    }
    return file.substr(at + 2, file.find("\r\n", at + 2) + 2 - (at + 2));
  }

  FinanceTables &t = financeTables;
  ScratchFolder folder;
  std::string console;
};

void addCurrency(std::int32_t id, const char *name, float rate) {
  CurrencyItem &c = financeTables.currencies[financeTables.currencyCount++];
  c.id = id;
  std::strcpy(c.name, name);
  c.rate = rate;
}

void addAccount(std::int32_t id, const char *name, float amount, std::int32_t currencyId) {
  AccountItem &a = financeTables.accounts[financeTables.accountCount++];
  a.id = id;
  std::strcpy(a.name, name);
  a.amount = amount;
  a.currencyId = currencyId;
}

TEST_F(Spreadsheet, CurrencyLineByteForByteInEachDialect) {
  addCurrency(1, "Euro", 0.9f);
  const char *expected[3] = {
      "\x22\x45\x75\x72\x6F\x22\x2C\x22    0.9000\x22\x2C\x22    1.1111\x22\x2C\r\n",
      "\x22\x45\x75\x72\x6F\x22\x3B\x22    0.9000\x22\x3B\x22    1.1111\x22\x3B\r\n",
      "\x22\x45\x75\x72\x6F\x22\x09\x22    0.9000\x22\x09\x22    1.1111\x22\x09\r\n",
  };
  for (int dialect = 1; dialect <= 3; ++dialect) {
    std::string line = lineStartingWith(exportFile(dialect), "\"Euro");
    EXPECT_EQ(line.size(), 35u);
    EXPECT_EQ(line, expected[dialect - 1]);
  }
  EXPECT_EQ(console, "Brimlow data are exported to the \"" + folder.file("out.csv") +
                         "\" file in the current folder\n");
}

TEST_F(Spreadsheet, InfiniteRatesAndTheirReciprocals) {
  addCurrency(1, "Up", std::numeric_limits<float>::infinity());
  addCurrency(2, "Down", -std::numeric_limits<float>::infinity());
  std::string file = exportFile(1);
  EXPECT_EQ(lineStartingWith(file, "\"Up"), "\"Up\",\"      +INF\",\"    0.0000\",\r\n");
  EXPECT_EQ(lineStartingWith(file, "\"Down"), "\"Down\",\"      -INF\",\"   -0.0000\",\r\n");
}

TEST_F(Spreadsheet, AccountsWithoutTheirCurrency) {
  addAccount(1, "Owed", -5.0f, 1);
  addAccount(2, "Saved", 5.0f, 1);
  std::string file = exportFile(1);
  // No currencies at all: the all-zero first entry, empty name and rate 0.0.
  EXPECT_EQ(lineStartingWith(file, "\"No\",\"No\",\"Owed"),
            "\"No\",\"No\",\"Owed\",\"       -5.00\",\"\",\"       -0.00\",\"\",\r\n");
  EXPECT_EQ(lineStartingWith(file, "\"No\",\"No\",\"Saved"),
            "\"No\",\"No\",\"Saved\",\"        5.00\",\"\",\"        0.00\",\"\",\r\n");

  addCurrency(7, "First", 2.0f);
  addCurrency(8, "Second", 3.0f);
  file = exportFile(1);
  EXPECT_EQ(lineStartingWith(file, "\"No\",\"No\",\"Saved"),
            "\"No\",\"No\",\"Saved\",\"        5.00\",\"First\",\"       10.00\",\"\",\r\n");
}

TEST_F(Spreadsheet, QuotesInsideTextsAreDoubledEverywhere) {
  std::strcpy(t.customNames[0].name, "\"Who\"");
  std::strcpy(t.customNames[3].name, "a\"b");
  addAccount(1, "\"\"", 1.0f, 0);
  std::strcpy(t.accounts[0].notes, "5\" disk, blue;\tx");
  std::string file = exportFile(3);
  EXPECT_NE(
      file.find("\"Account (transfer)\"\t\"\"\"Who\"\"\"\t\"\"\t\"\"\t\"a\"\"b\"\t\"Balance\""),
      std::string::npos);
  EXPECT_EQ(lineStartingWith(file, "\"No\"\t\"No\""),
            "\"No\"\t\"No\"\t\"\"\"\"\"\"\t\"        1.00\"\t\"\"\t\"        0.00\"\t"
            "\"5\"\" disk, blue;\tx\"\t\r\n");
}

std::string doubled(const std::string &text) {
  std::string cell;
  for (char c : text) {
    cell += c;
    if (c == '"') {
      cell += c;
    }
  }
  return cell;
}

// Far more quoted names than fit into the area where names are doubled once
// per file: those beyond it are doubled in each cell, with the same bytes.
TEST_F(Spreadsheet, ManyQuotedNamesAreAllDoubled) {
  std::vector<std::string> names;
  for (std::int32_t i = 0; i < kTableCapacity; ++i) {
    std::string name = std::to_string(i) + std::string(200 + i % 50, '"');
    name[10 + i % 50] = 'x';
    names.push_back(name);
    addAccount(i + 1, name.c_str(), 0.0f, 0);
  }
  for (std::int32_t i = 0; i < kTableCapacity; i += 3) {
    TransactionItem &x = t.transactions[t.transactionCount++];
    x.accountId = i + 1;
  }
  std::string file = exportFile(1);
  std::size_t at = file.find("****** Transactions ******");
  for (std::int32_t i = 0; i < kTableCapacity; i += 3) {
    std::string line = "\"0000.00.00 00:00:00\",\"Single  \",\"Expense\",\"        0.00\",\"\",\"" +
                       doubled(names[i]) +
                       "\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"No\",\"No\",\"No\",\"\","
                       "\"    0.0000\",\"        0.00\",\"\",\"\",\"\",\r\n";
    at = file.find(line, at);
    ASSERT_NE(at, std::string::npos) << "transaction of account " << i + 1;
  }
}

TEST_F(Spreadsheet, FileThatCannotBeCreatedOrWrittenIsReported) {
  std::string missingFolder = folder.file("missing/out.csv");
  ChildResult run = runInChild([&] { exportSpreadsheet(missingFolder.c_str(), 1); });
  EXPECT_EQ(run.out,
            " *** Error: Can't open file \"" + missingFolder + "\" (Still open? Read only?)\n");

  run = runInChild([] { exportSpreadsheet("/dev/full", 2); });
  EXPECT_EQ(run.out, " *** Error: Can't write file \"/dev/full\" (Disk full?)\n");
}

TEST(FindById, FirstMatchInTableOrderElseTheFirstEntry) {
  NamedItem table[4] = {{5, "five"}, {-3, "minus three"}, {5, "second five"}, {0, "unused"}};
  EXPECT_STREQ(findById(5, table, 3).name, "five");
  EXPECT_STREQ(findById(-3, table, 3).name, "minus three");
  EXPECT_STREQ(findById(9, table, 3).name, "five");
  EXPECT_STREQ(findById(0, table, 3).name, "five"); // entry 3 lies beyond the count
  EXPECT_EQ(&findById(9, table, 0), &table[0]);
}

} // namespace
