// The converter as a user runs it: the real executable in a folder of
// databases, its console transcript, its exit status and its files, byte for
// byte.

#include "sample_backup.h"
#include "support/converter.h"
#include "support/expected_output.h"
#include "support/records.h"
#include "support/scratch.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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
  SheetLines lines;
  // clang-format off
  lines.currencies =
      line({"Dollar", "    1.0000", "    1.0000"}, s) +
      line({"Euro", "    0.9000", "    1.1111"}, s) +
      line({"Zero", "    0.0000", "      +INF"}, s);
  lines.accounts =
      line({"Yes", "No", disk, "  1234567.88", "Euro", "  1111111.06", "line1||line2"}, s) +
      line({"No", "Yes", "Cash", "       -2.62", "Dollar", "       -2.62", ""}, s);
  lines.labels[0] = "Category";
  lines.labels[1] = "Payee";
  lines.transactions =
      line({"2004.03.07 14:05:09", "Single  ", "Expense", "        1.12", "Dollar", disk, "",
            "Rent", "Shop", "", "", "Reconciled", "", "", "No", "No", "No",
            "", "    0.0000", "        1.12", "", "", ""}, s) +
      line({"2005.12.31 23:59:58", "Transfer", "Income ", "        1.38", "Euro", "Cash", disk,
            "Food", "Shop", "", "", "Reconciled", "", "Remind", "Yes", "Yes", "Yes",
            "Fixed rate", "    1.5000", "        1.24", "        2.06", "    0.9167",
            "He said \"\"hi\"\", then; left|again"}, s) +
      line({"-001.00.-5 00:00:00", "Single  ", "Expense", "176601923584.00", "Zero", "Cash", "",
            "Food", "Shop", "", "", "Reconciled", "", "", "No", "No", "No",
            "Fixed rate", "    1.1981", "        0.00", "211590885799.93", "147398784667.2170",
            ""}, s) +
      line({"2004.01.01 00:00:00", "Single  ", "Expense", "       -0.00", "Dollar", disk, "",
            "Food", "Shop", "", "", "Reconciled", "", "", "No", "No", "No",
            "Fixed rate", "    0.0000", "       -0.00", "       -0.00", "      -NAN",
            std::string(511, 'n')}, s);
  // clang-format on
  return sheet(s, lines);
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

namespace {

// How long a run may take at most; far more than it needs, even under Wine.
constexpr int kRunTimeout = 60000;
// How long a converter that should be waiting is watched for not going on.
constexpr int kStillWaiting = 1000;

ConverterOptions withInput(const std::string &input) {
  ConverterOptions options;
  options.input = input;
  return options;
}

ConverterOptions withArguments(const std::vector<std::string> &arguments) {
  ConverterOptions options;
  options.arguments = arguments;
  return options;
}

bool outputsComplete(const ScratchFolder &folder) {
  std::error_code ignored;
  return fs::file_size(folder.file("Brimlow_T.tsv"), ignored) == 495;
}

TEST(Converter, WaitsForEnterBeforeImportingAndBeforeEnding) {
  ScratchFolder folder;
  LiveProgram converter = startConverter(folder.path());
  EXPECT_EQ(exitStatusWithin(converter, kStillWaiting), -2);
  EXPECT_FALSE(fs::exists(folder.file("Brimlow_C.csv"))); // nothing done before Enter

  sendInput(converter, "\n");
  for (int waited = 0; !outputsComplete(folder) && waited < kRunTimeout; waited += 50) {
    usleep(50000);
  }
  ASSERT_TRUE(outputsComplete(folder));
  EXPECT_EQ(exitStatusWithin(converter, kStillWaiting), -2); // the second wait blocks again

  sendInput(converter, "\n");
  EXPECT_EQ(exitStatusWithin(converter, kRunTimeout), 0);
  ChildResult run = finishProgram(converter);
  EXPECT_EQ(run.out, onConsole(transcript({allDatabases(), {}, {}})));
}

TEST(Converter, OneLineOrCtrlZSatisfiesBothWaits) {
  // "abc": the first wait takes the a, the second the b without blocking.
  // Ctrl+Z ends the input: both waits return at once.
  for (const std::string input : {"abc\n", "\x1A", "\x1A\n\n"}) {
    ScratchFolder folder;
    LiveProgram converter = startConverter(folder.path());
    sendInput(converter, input);
    EXPECT_EQ(exitStatusWithin(converter, kRunTimeout), 0) << testing::PrintToString(input);
    ChildResult run = finishProgram(converter);
    EXPECT_EQ(run.out, onConsole(transcript({allDatabases(), {}, {}})));
  }
}

TEST(Converter, EndOfInputMakesNeitherWaitBlock) {
  ScratchFolder folder;
  ChildResult run = runConverter(folder.path(), withInput(""));
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, onConsole(transcript({allDatabases(), {}, {}})));
}

TEST(Converter, OnlyTheMissingDatabasesAreReported) {
  ScratchFolder folder;
  writeFile(folder.file("QX_Currency.pdb"), recordDatabase({currencyRecord(4, 2.0f, "Pound")}));
  writeFile(folder.file("QX_Account.pdb"),
            recordDatabase({encode(AccountRecord{1, 3.0f, 4, 1, 1, "Till", "kept"})}));
  ChildResult run = runConverter(folder.path(), withInput("\n\n"));
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, onConsole(transcript({{0, 1, 2, 3, 4, 5, 7, 9}, {}, {}})));
  std::string file = fileText(folder, 1);
  EXPECT_NE(file.find("\r\n\"Pound\";\"    2.0000\";\"    0.5000\";\r\n"), std::string::npos);
  EXPECT_NE(file.find("\r\n\"Yes\";\"Yes\";\"Till\";\"        3.00\";\"Pound\";\"        6.00\";"
                      "\"kept\";\r\n"),
            std::string::npos);
}

TEST(Converter, ArgumentsChangeNothing) {
  ScratchFolder plain;
  ScratchFolder argumentsFolder;
  writeSmallBackup(plain);
  writeSmallBackup(argumentsFolder);
  ChildResult first = runConverter(plain.path());
  ChildResult second =
      runConverter(argumentsFolder.path(), withArguments({"--help", "/?", "C:\\elsewhere"}));
  EXPECT_EQ(second.exitStatus, 0);
  EXPECT_EQ(second.out, first.out);
  for (int file = 0; file < 3; ++file) {
    EXPECT_EQ(fileText(argumentsFolder, file), fileText(plain, file));
  }
}

TEST(Converter, ReadsAndWritesInTheCurrentFolderOnly) {
  ScratchFolder folder;
  writeSmallBackup(folder);
  fs::create_directory(folder.file("sub"));
  ChildResult run = runConverter(folder.file("sub"));
  EXPECT_EQ(run.out, onConsole(transcript({allDatabases(), {}, {}})));
  EXPECT_EQ(fs::file_size(folder.file("sub/Brimlow_C.csv")), 495u);
  EXPECT_FALSE(fs::exists(folder.file("Brimlow_C.csv")));

  run = runConverter(folder.path());
  EXPECT_EQ(run.out, onConsole(transcript({})));
  EXPECT_EQ(fileText(folder, 0), smallBackupFile(','));
}

// Records that find their table full are not exported, and the user is told.
TEST(Converter, WarnsAboutRecordsThatDidNotFit) {
  ScratchFolder folder;
  std::vector<Bytes> categories;
  for (int i = 0; i < 4098; ++i) {
    categories.push_back(namedRecord(i, "c"));
  }
  std::vector<Bytes> customNames(17, customNameRecord("label"));
  std::vector<Bytes> transactions;
  TransactionRecord record;
  for (int i = 0; i < 32769; ++i) {
    record.day = static_cast<std::int16_t>(1 + i % 28);
    record.notes = "t" + std::to_string(i);
    transactions.push_back(encode(record));
  }
  writeFile(folder.file("QX_Category2.pdb"), recordDatabase(categories));
  writeFile(folder.file("QX_CustomNames.pdb"), recordDatabase(customNames));
  writeFile(folder.file("QX_Transaction.pdb"), recordDatabase(transactions));
  ChildResult run = runConverter(folder.path());
  EXPECT_EQ(run.exitStatus, 0);
  Expected expected{{0, 2, 3, 4, 5, 6, 8}, {}, {}};
  expected.notes[1] =
      " *** Warning: 2 records of QX_Category2.pdb did not fit and are not exported!\n";
  expected.notes[9] =
      " *** Warning: 2 records of QX_Transaction.pdb did not fit and are not exported!\n";
  EXPECT_EQ(run.out, onConsole(transcript(expected)));
  std::string file = fileText(folder, 2);
  std::size_t lines = static_cast<std::size_t>(std::count(file.begin(), file.end(), '\n'));
  EXPECT_EQ(lines, 6u + 6 + 4 + 32767); // the sections, their empty lines, 32767 transactions
  EXPECT_TRUE(file.ends_with("\"t32766\"\t\r\n"));
  EXPECT_EQ(file.find("\"t32767\""), std::string::npos);
}

TEST(Converter, SampleBackupConvertsCompletely) {
  ScratchFolder folder;
  ASSERT_TRUE(writeSampleBackup(folder.path()));
  ChildResult run = runConverter(folder.path());
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, onConsole(transcript({})));
  std::string file = fileText(folder, 0);
  // Each section: its title, header and empty lines, then a line per entry.
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), (6 + 4) + (6 + 6) + (4 + 229));
  EXPECT_NE(file.find("\"Bookshop \"\"Inkwell\"\"\""), std::string::npos);
  EXPECT_NE(file.find("\"Smith, Jones & Co\""), std::string::npos);
}

} // namespace
