// The converter against failing disks, unwritable outputs and inputs that are
// no database files: each failure gets its own line, everything else is
// written as usual, and the run still ends with exit status 0.

#include "support/converter.h"
#include "support/expected_output.h"
#include "support/records.h"
#include "support/scratch.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kCurrencies = 6;
constexpr int kAccounts = 8;

// Two databases whose cells are known: the account's currency comes from the
// currencies, so a lost currency database shows in the account line too.
void writeBackup(const ScratchFolder &folder) {
  writeFile(folder.file("QX_Currency.pdb"),
            recordDatabase({currencyRecord(1, 1.0f, "Dollar"), currencyRecord(2, 0.5f, "Euro")}));
  AccountRecord cash{10, 2.5f, 2, 1, 1, "Cash", "Wallet"};
  writeFile(folder.file("QX_Account.pdb"), recordDatabase({encode(cash)}));
}

std::set<int> allBut(const std::set<int> &present) {
  std::set<int> missing;
  for (int i : allDatabases()) {
    if (present.count(i) == 0) {
      missing.insert(i);
    }
  }
  return missing;
}

std::string backupFile(char s, bool withCurrencies) {
  std::string currencies = line({"Dollar", "    1.0000", "    1.0000"}, s) +
                           line({"Euro", "    0.5000", "    2.0000"}, s);
  std::string account =
      withCurrencies
          ? line({"Yes", "Yes", "Cash", "        2.50", "Euro", "        1.25", "Wallet"}, s)
          : line({"Yes", "Yes", "Cash", "        2.50", "", "        0.00", "Wallet"}, s);
  SheetLines lines;
  lines.currencies = withCurrencies ? currencies : "";
  lines.accounts = account;
  return sheet(s, lines);
}

std::string openErrorLine(int file) {
  return std::string(" *** Error: Can't open file \".\\") + kOutputs[file] +
         "\" (Still open? Read only?)\n";
}

// Runs the converter on the backup, whose output file `failing` the test has
// made unwritable, and checks the console, the exit status and the other two
// files.
void expectOnlyThatFileFails(const ScratchFolder &folder, int failing, const std::string &line,
                             bool withoutFileOverride = false) {
  ConverterOptions options;
  options.withoutFileOverride = withoutFileOverride;
  ChildResult run = runConverter(folder.path(), options);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out,
            onConsole(transcript({allBut({kCurrencies, kAccounts}), {}, {{failing, line}}})));
  EXPECT_EQ(run.err, "");
  for (int file = 0; file < 3; ++file) {
    if (file != failing) {
      EXPECT_EQ(fileText(folder, file), backupFile(kSeparators[file], true)) << kOutputs[file];
    }
  }
}

TEST(HostileOutput, PathLinkedToAFullDiskGivesTheWriteErrorInsteadOfTheCompletionLine) {
  if (!fs::exists("/dev/full")) {
    GTEST_SKIP() << "this system has no /dev/full to write to";
  }
  ScratchFolder folder;
  writeBackup(folder);
  fs::create_symlink("/dev/full", folder.file(kOutputs[1]));
  expectOnlyThatFileFails(folder, 1,
                          " *** Error: Can't write file \".\\Brimlow_S.csv\" (Disk full?)\n");
  EXPECT_EQ(fs::read_symlink(folder.file(kOutputs[1])), "/dev/full");
}

TEST(HostileOutput, ReadOnlyFileIsReportedAndLeftAsItWas) {
  if (!permissionsCanBind()) {
    GTEST_SKIP() << "file permissions do not bind for the converter here (root without a way "
                    "to drop its file override), so a read-only file cannot be shown";
  }
  ScratchFolder folder;
  writeBackup(folder);
  const Bytes earlier = raw("an earlier run's file\r\n");
  writeFile(folder.file(kOutputs[0]), earlier);
  fs::permissions(folder.file(kOutputs[0]),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  expectOnlyThatFileFails(folder, 0, openErrorLine(0), true);
  EXPECT_EQ(readFile(folder.file(kOutputs[0])), earlier);
}

TEST(HostileOutput, PathThatIsAFolderIsReportedAndLeftAsItWas) {
  ScratchFolder folder;
  writeBackup(folder);
  fs::create_directory(folder.file(kOutputs[2]));
  writeFile(folder.file(kOutputs[2]) + "/kept.txt", raw("kept"));
  expectOnlyThatFileFails(folder, 2, openErrorLine(2));
  EXPECT_TRUE(fs::is_directory(folder.file(kOutputs[2])));
  EXPECT_EQ(readFile(folder.file(kOutputs[2]) + "/kept.txt"), raw("kept"));
}

// Runs the converter while a watchdog stands by: should the converter wait on
// the FIFO at `fifo` for a writer, the watchdog opens it after a while so that
// the run can end, and the test fails.
ChildResult runWatched(const ScratchFolder &folder, const std::string &fifo,
                       const ConverterOptions &options, bool &waitedOnTheFifo) {
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  std::atomic<bool> unblocked{false};
  std::thread watchdog([&] {
    std::unique_lock<std::mutex> lock(mutex);
    while (!finished.wait_for(lock, std::chrono::seconds(20), [&] { return done; })) {
      // Succeeds only while a reader has the FIFO open.
      int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
      if (writer >= 0) {
        unblocked = true;
        close(writer);
      }
    }
  });
  ChildResult run = runConverter(folder.path(), options);
  {
    std::lock_guard<std::mutex> lock(mutex);
    done = true;
  }
  finished.notify_one();
  watchdog.join();
  waitedOnTheFifo = unblocked;
  return run;
}

// What the run shows when the currency database cannot be imported: its error
// lines, and every file without currencies.
void expectCurrenciesReportedLikeAMissingDatabase(const ScratchFolder &folder, const char *what,
                                                  bool withoutFileOverride = false) {
  ConverterOptions options;
  options.withoutFileOverride = withoutFileOverride;
  bool waited = false;
  ChildResult run = runWatched(folder, folder.file("QX_Currency.pdb"), options, waited);
  EXPECT_FALSE(waited) << what << ": the converter waited for a writer";
  EXPECT_EQ(run.exitStatus, 0) << what;
  EXPECT_EQ(run.out, onConsole(transcript({allBut({kAccounts}), {}, {}}))) << what;
  EXPECT_EQ(run.err, "") << what;
  for (int file = 0; file < 3; ++file) {
    EXPECT_EQ(fileText(folder, file), backupFile(kSeparators[file], false))
        << what << ", " << kOutputs[file];
  }
}

TEST(HostileInput, DatabaseWithoutReadPermissionIsReportedLikeAMissingOne) {
  if (!permissionsCanBind()) {
    GTEST_SKIP() << "file permissions do not bind for the converter here (root without a way "
                    "to drop its file override), so an unreadable database cannot be shown";
  }
  ScratchFolder folder;
  writeBackup(folder);
  fs::permissions(folder.file("QX_Currency.pdb"), fs::perms::none);
  expectCurrenciesReportedLikeAMissingDatabase(folder, "unreadable file", true);
}

TEST(HostileInput, DatabaseThatIsNoFileIsReportedLikeAMissingOneWithoutWaiting) {
  struct Case {
    const char *what;
    std::function<void(const std::string &path)> make;
  };
  const Case cases[] = {
      {"a folder",
       [](const std::string &path) {
         fs::create_directory(path);
         writeFile(path + "/QX_Currency.pdb", recordDatabase({currencyRecord(1, 1.0f, "Inner")}));
       }},
      {"a FIFO", [](const std::string &path) { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); }},
  };
  for (const Case &c : cases) {
    ScratchFolder folder;
    writeBackup(folder);
    std::string database = folder.file("QX_Currency.pdb");
    fs::remove(database);
    c.make(database);
    expectCurrenciesReportedLikeAMissingDatabase(folder, c.what);
  }
}

} // namespace
