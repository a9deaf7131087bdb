// The converter as a user runs it: the real executable in a folder of
// databases, its console transcript, its exit status and its files, byte for
// byte.

#include "support/converter.h"
#include "support/expected_output.h"
#include "support/records.h"
#include "support/scratch.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

TEST(Converter, EmptyFolderReportsEveryDatabaseAndWritesThreeEmptyFiles) {
  ScratchFolder folder;
  ChildResult run = runConverter(folder.path());
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, onConsole(transcript({allDatabases(), {}, {}})));
  EXPECT_EQ(run.err, "");
  for (int file = 0; file < 3; ++file) {
    std::string text = fileText(folder, file);
    EXPECT_EQ(text.size(), 495u) << kOutputs[file];
    EXPECT_EQ(text, emptyFile(kSeparators[file])) << kOutputs[file];
  }
  // The Currencies header line of the comma file, byte for byte.
  EXPECT_EQ(fileText(folder, 0).substr(28, 27),
            std::string("\x22Name\x22,\x22Rate\x22,\x22\x31/Rate\x22,\r\n\r\n"));
}

// A small backup whose every cell was worked out by hand.
void writeSmallBackup(const ScratchFolder &folder) {
  writeFile(folder.file("QX_Category1.pdb"),
            recordDatabase({namedRecord(1, "Food"), namedRecord(2, "Rent")}));
  writeFile(folder.file("QX_Category2.pdb"), recordDatabase({namedRecord(5, "Shop")}));
  writeFile(folder.file("QX_Category3.pdb"), recordDatabase({}));
  writeFile(folder.file("QX_Category4.pdb"), recordDatabase({}));
  writeFile(folder.file("QX_BalanceType.pdb"), recordDatabase({namedRecord(1, "Reconciled")}));
  writeFile(folder.file("QX_RemindType.pdb"), recordDatabase({}));
  writeFile(folder.file("QX_Currency.pdb"),
            recordDatabase({currencyRecord(1, 1.0f, "Dollar"), currencyRecord(2, 0.9f, "Euro"),
                            currencyRecord(3, 0.0f, "Zero")}));
  writeFile(folder.file("QX_CustomNames.pdb"),
            recordDatabase({customNameRecord("Category"), customNameRecord("Payee")}));

  AccountRecord disk{10, 1234567.89f, 2, 0, 1, "5\" disk, blue", "line1\r\nline2"};
  AccountRecord cash{11, -2.625f, 99, 1, 0, "Cash", ""};
  writeFile(folder.file("QX_Account.pdb"), recordDatabase({encode(disk), encode(cash)}));

  TransactionRecord plain;
  plain.year = 2004, plain.month = 3, plain.day = 7, plain.hour = 14, plain.minute = 5,
  plain.second = 9;
  plain.amount = 1.125f, plain.currencyId = 1, plain.accountId = 10;
  plain.category1Id = 2, plain.category2Id = 5, plain.balanceTypeId = 1;

  TransactionRecord transfer;
  transfer.year = 2005, transfer.month = 12, transfer.day = 31, transfer.hour = 23,
  transfer.minute = 59, transfer.second = 58;
  transfer.transferMark = 1, transfer.accountId = 11, transfer.transferAccountId = 7;
  transfer.income = 1, transfer.amount = 1.375f, transfer.currencyId = 2;
  transfer.fixedRateFlag = 1, transfer.fixedRateBits = floatBits(1.5f);
  transfer.remind = 1, transfer.receipt = 1, transfer.billable = 1, transfer.cleared = 0xFF;
  transfer.notes = "He said \"hi\", then; left\nagain";

  // Rounded once to a 64-bit significand and once more to a double, the
  // quotient ends in ...2170; the exact quotient would end in ...2171.
  TransactionRecord large;
  large.year = -1, large.month = 0, large.day = -5, large.hour = 0, large.minute = 0,
  large.second = 0;
  large.transferMark = -3, large.amount = 0x1.48f25cp+37f, large.currencyId = 3;
  large.accountId = 11, large.fixedRateFlag = 1, large.fixedRateBits = floatBits(0x1.32b836p+0f);

  TransactionRecord undefined;
  undefined.amount = -0.0f, undefined.currencyId = 1, undefined.fixedRateFlag = 1;
  undefined.notes = std::string(600, 'n');

  writeFile(folder.file("QX_Transaction.pdb"),
            recordDatabase({encode(plain), encode(transfer), encode(large), encode(undefined)}));
}

std::string smallBackupFile(char s) {
  const std::string disk = "5\"\" disk, blue";
  return "****** Currencies ******\r\n\r\n" + line({"Name", "Rate", "1/Rate"}, s) + "\r\n" +
         line({"Dollar", "    1.0000", "    1.0000"}, s) +
         line({"Euro", "    0.9000", "    1.1111"}, s) +
         line({"Zero", "    0.0000", "      +INF"}, s) + "\r\n\r\n" +
         "****** Accounts ******\r\n\r\n" +
         line({"Total", "Active", "Name", "Amount", "Currency", "Amount x Rate", "Notes"}, s) +
         "\r\n" + line({"Yes", "No", disk, "  1234567.88", "Euro", "  1111111.06", "line1||line2"}, s) +
         line({"No", "Yes", "Cash", "       -2.62", "Dollar", "       -2.62", ""}, s) +
         "\r\n\r\n" + "****** Transactions ******\r\n\r\n" +
         line({"Date/Time", "Transfer/Single", "Income/Expense", "Amount", "Currency",
               "Account (primary)", "Account (transfer)", "Category", "Payee", "", "", "Balance",
               "How to remind", "Remind?", "Receipt", "Billable", "Cleared", "Fixed rate flag",
               "Fixed rate value", "Amount x Current rate", "Amount x Fixed rate",
               "Amount / Fixed rate", "Notes"},
              s) +
         "\r\n" +
         line({"2004.03.07 14:05:09", "Single  ", "Expense", "        1.12", "Dollar", disk, "",
               "Rent", "Shop", "", "", "Reconciled", "", "", "No", "No", "No", "", "    0.0000",
               "        1.12", "", "", ""},
              s) +
         line({"2005.12.31 23:59:58", "Transfer", "Income ", "        1.38", "Euro", "Cash", disk,
               "Food", "Shop", "", "", "Reconciled", "", "Remind", "Yes", "Yes", "Yes",
               "Fixed rate", "    1.5000", "        1.24", "        2.06", "    0.9167",
               "He said \"\"hi\"\", then; left|again"},
              s) +
         line({"-001.00.-5 00:00:00", "Single  ", "Expense", "176601923584.00", "Zero", "Cash", "",
               "Food", "Shop", "", "", "Reconciled", "", "", "No", "No", "No", "Fixed rate",
               "    1.1981", "        0.00", "211590885799.93", "147398784667.2170", ""},
              s) +
         line({"2004.01.01 00:00:00", "Single  ", "Expense", "       -0.00", "Dollar", disk, "",
               "Food", "Shop", "", "", "Reconciled", "", "", "No", "No", "No", "Fixed rate",
               "    0.0000", "       -0.00", "       -0.00", "      -NAN", std::string(511, 'n')},
              s);
}

TEST(Converter, SmallBackupInAllThreeDialects) {
  ScratchFolder folder;
  writeSmallBackup(folder);
  ChildResult run = runConverter(folder.path());
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, onConsole(transcript({})));
  for (int file = 0; file < 3; ++file) {
    EXPECT_EQ(fileText(folder, file), smallBackupFile(kSeparators[file])) << kOutputs[file];
  }
}

} // namespace
