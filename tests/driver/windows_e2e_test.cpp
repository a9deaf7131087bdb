// The Windows program against the native one: under Wine, the same backups
// give the same three files byte for byte, and the same console text with
// CR LF line ends. Its number texts come from another C runtime and its
// quotients from the x87 unit as that runtime sets it up, so this is where the
// two programs could part.

#include "sample_backup.h"
#include "support/converter.h"
#include "support/records.h"
#include "support/scratch.h"

#include <bit>
#include <functional>
#include <gtest/gtest.h>

namespace {

const char *const kOutputs[3] = {"Brimlow_C.csv", "Brimlow_S.csv", "Brimlow_T.tsv"};

// Singles of every class, both signs: zeros, subnormals, the extremes,
// infinities, quiet and signalling NaNs with payloads, values whose quotients
// round differently in 53 and in 64 bits; then random bit patterns.
std::vector<std::uint32_t> awkwardSingles() {
  std::vector<std::uint32_t> bits = {
      0x00000000, 0x80000000, 0x00000001, 0x807FFFFF, 0x00800000, 0x80800001, 0x7F7FFFFF,
      0xFF7FFFFF, 0x7F800000, 0xFF800000, 0x7FC00000, 0xFFC00000, 0x7F800001, 0xFFBFFFFF,
      0x7FC12345, 0x3F800000, 0xBF800000, 0x3DCCCCCD, 0x3F666666, 0x4B189680, 0x5224792E,
      0x3F995C1B, 0x3F000000, 0x3EAAAAAB, 0x4CBEBC20, 0x501502F9, 0x2EDBE6FF, 0x3F7FFFFF};
  std::uint32_t state = 2463534242u;
  while (bits.size() < 700) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    bits.push_back(state);
  }
  return bits;
}

float single(std::uint32_t bits) { return std::bit_cast<float>(bits); }

// Amounts and fixed rates whose quotient, rounded to a 64-bit significand and
// then to a double, has other 4-decimal digits than when divided in double.
const std::uint32_t kDoublyRoundedQuotients[][2] = {
    {0x53FE1778, 0xBFB58330}, {0x526D4376, 0x3FFE7A57}, {0x561F10F6, 0x3FBAEF76},
    {0x54E39A52, 0xBF99F346}, {0x53F8A68D, 0xBF8201F9}, {0x5631BE65, 0xBFD2313B}};

// Every single of the list as a rate, an amount and a fixed rate, so that each
// derived amount meets each class of operand; then the doubly rounded quotients.
bool writeAwkwardNumbers(const std::string &folder) {
  const std::vector<std::uint32_t> bits = awkwardSingles();
  const auto count = static_cast<std::int32_t>(bits.size());
  const std::int32_t currencies = 31;
  std::vector<Bytes> currencyRecords;
  std::vector<Bytes> accountRecords;
  std::vector<Bytes> transactionRecords;
  for (std::int32_t i = 0; i < currencies; ++i) {
    currencyRecords.push_back(currencyRecord(i + 1, single(bits[i]), "c" + std::to_string(i)));
    AccountRecord account{i + 1,
                          single(bits[(i + 11) % count]),
                          (i * 7) % currencies + 1,
                          1,
                          1,
                          "a" + std::to_string(i),
                          ""};
    accountRecords.push_back(encode(account));
  }
  for (std::int32_t i = 0; i < count; ++i) {
    TransactionRecord t;
    t.id = i;
    t.amount = single(bits[i]);
    t.currencyId = i % currencies + 1;
    t.accountId = i % currencies + 1;
    t.fixedRateFlag = i % 5 != 0 ? 1 : 0;
    t.fixedRateBits = bits[(i * 13 + 5) % count];
    transactionRecords.push_back(encode(t));
  }
  for (const auto &[amount, rate] : kDoublyRoundedQuotients) {
    TransactionRecord t;
    t.amount = single(amount);
    t.fixedRateFlag = 1;
    t.fixedRateBits = rate;
    transactionRecords.push_back(encode(t));
  }
  writeFile(folder + "/QX_Currency.pdb", recordDatabase(currencyRecords));
  writeFile(folder + "/QX_Account.pdb", recordDatabase(accountRecords));
  writeFile(folder + "/QX_Transaction.pdb", recordDatabase(transactionRecords));
  return true;
}

std::string fileText(const ScratchFolder &folder, const char *name) {
  Bytes bytes = readFile(folder.file(name));
  return std::string(bytes.begin(), bytes.end());
}

// Where two texts part, with the lines around it, rather than both in full.
std::string firstDifference(const std::string &expected, const std::string &actual) {
  std::size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) {
    ++at;
  }
  if (at == expected.size() && at == actual.size()) {
    return "";
  }
  std::size_t from = expected.rfind('\n', at);
  from = from == std::string::npos ? 0 : from + 1;
  return "at byte " + std::to_string(at) +
         ":\n  native:  " + testing::PrintToString(expected.substr(from, at - from + 80)) +
         "\n  windows: " + testing::PrintToString(actual.substr(from, at - from + 80));
}

ChildResult runNativeConverter(const std::string &folder) {
  ProgramRun run;
  run.argv = {BRIMLOW2CSV_EXE};
  run.folder = folder;
  return runProgram(run);
}

TEST(WindowsProgram, WritesWhatTheNativeProgramWrites) {
  if (!converterIsWindowsProgram()) {
    GTEST_SKIP() << "compares the Windows program with the native one, under Wine only";
  }
  const std::pair<const char *, std::function<bool(const std::string &)>> backups[] = {
      {"sample backup", writeSampleBackup}, {"awkward numbers", writeAwkwardNumbers}};
  for (const auto &[name, writeBackup] : backups) {
    ScratchFolder native;
    ScratchFolder windows;
    ASSERT_TRUE(writeBackup(native.path()) && writeBackup(windows.path())) << name;
    ChildResult nativeRun = runNativeConverter(native.path());
    ChildResult windowsRun = runConverter(windows.path());
    EXPECT_EQ(windowsRun.exitStatus, 0) << name;
    EXPECT_EQ(windowsRun.out, onConsole(nativeRun.out)) << name;
    EXPECT_EQ(windowsRun.err, "") << name;
    for (const char *output : kOutputs) {
      std::string difference = firstDifference(fileText(native, output), fileText(windows, output));
      EXPECT_TRUE(difference.empty()) << name << ", " << output << " " << difference;
    }
  }
}

} // namespace
