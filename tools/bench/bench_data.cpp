// Writes the ten databases of a benchmark backup into a folder:
//
//   brimlow_bench_data worst FOLDER    every table full, every text as long as
//                                      its field allows, ids that mostly match
//                                      nothing
//   brimlow_bench_data typical FOLDER  a household's few years of bookkeeping
//
// The data are the same on every run: a fixed-seed generator picks amounts,
// dates and flags.

#include "finance/tables.h"
#include "support/pdb_writer.h"
#include "support/records.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kLongestName = kTextFieldSize - 1;
constexpr std::size_t kLongestNotes = kNotesFieldSize - 1;

// xorshift32: reproducible and good enough to scatter values.
struct Random {
  std::uint32_t state = 0x9E3779B9u;

  std::uint32_t next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
  int below(int bound) { return static_cast<int>(next() % static_cast<std::uint32_t>(bound)); }
  bool oneIn(int n) { return below(n) == 0; }
  // A money amount with cents, as users type them.
  float amount(int maxCents) { return static_cast<float>(below(maxCents)) / 100.0f; }
};

// The label followed by filler words up to exactly length characters.
std::string padded(const std::string &label, std::size_t length) {
  static const char kFiller[] = " lorem ipsum dolor sit amet, consectetur; adipiscing elit";
  std::string text = label;
  for (std::size_t i = 0; text.size() < length; ++i) {
    text += kFiller[i % (sizeof kFiller - 1)];
  }
  text.resize(length);
  return text;
}

std::string numbered(const char *stem, int number) {
  return std::string(stem) + " " + std::to_string(number);
}

void writeDatabase(const std::string &folder, const char *name, const std::vector<Bytes> &records) {
  PdbWriter writer;
  writer.name = name;
  writer.records = records;
  writeFile(folder + "/" + name, writer.recordDatabase());
}

// ---- worst case ----

// Named entries have ids 1, 2, ..., with a few duplicates; the fallback entry
// 0 holds a quote, so that most cells go through the doubling of quotes.
std::vector<Bytes> worstNamedItems(const char *stem) {
  std::vector<Bytes> records;
  for (int i = 0; i < kTableCapacity; ++i) {
    std::int32_t id = i % 512 == 255 ? i : i + 1;
    std::string label = numbered(stem, i) + (i == 0 ? " \"first\"" : "");
    records.push_back(namedRecord(id, padded(label, kLongestName)));
  }
  return records;
}

std::vector<Bytes> worstCurrencies(Random &random) {
  std::vector<Bytes> records;
  for (int i = 0; i < kTableCapacity; ++i) {
    float rate = 0.01f + static_cast<float>(random.below(200000)) / 1000.0f;
    std::string label = numbered("Currency", i) + (i == 0 ? " \"first\"" : "");
    records.push_back(currencyRecord(i + 1, rate, padded(label, kLongestName)));
  }
  return records;
}

std::vector<Bytes> worstCustomNames() {
  std::vector<Bytes> records;
  for (int i = 0; i < kCustomNameCapacity; ++i) {
    records.push_back(customNameRecord(padded(numbered("Label", i), kLongestName)));
  }
  return records;
}

// An id that no table holds, or now and then the last entry's, which a linear
// search also finds only at the end.
std::int32_t worstReference(Random &random) {
  if (random.oneIn(16)) {
    return kTableCapacity;
  }
  return random.oneIn(2) ? -1 - random.below(1000000) : kTableCapacity + 1 + random.below(1000000);
}

std::vector<Bytes> worstAccounts(Random &random) {
  std::vector<Bytes> records;
  for (int i = 0; i < kTableCapacity; ++i) {
    AccountRecord account;
    account.id = i + 1;
    account.amount = random.amount(100000000) - 200000.0f;
    account.currencyId = worstReference(random);
    account.active = static_cast<std::uint8_t>(random.below(2));
    account.total = static_cast<std::uint8_t>(random.below(2));
    account.name = padded(numbered("Account", i) + (i == 0 ? " \"first\"" : ""), kLongestName);
    account.notes = padded(numbered("Notes of account", i), kLongestName);
    records.push_back(encode(account));
  }
  return records;
}

std::vector<Bytes> worstTransactions(Random &random) {
  std::vector<Bytes> records;
  for (int i = 0; i < kTransactionCapacity; ++i) {
    TransactionRecord x;
    x.id = i + 1;
    x.transferMark = random.below(3) - 1;
    x.accountId = worstReference(random);
    x.transferAccountId = kTableCapacity + 1 + random.below(1000000);
    x.amount = random.amount(100000000) - 100000.0f;
    x.currencyId = worstReference(random);
    x.fixedRateFlag = static_cast<std::uint8_t>(random.below(2));
    x.fixedRateBits = floatBits(0.01f + static_cast<float>(random.below(300000)) / 1000.0f);
    x.remindTypeId = worstReference(random);
    x.balanceTypeId = worstReference(random);
    x.category1Id = worstReference(random);
    x.category2Id = worstReference(random);
    x.category3Id = worstReference(random);
    x.category4Id = worstReference(random);
    x.year = static_cast<std::int16_t>(1990 + random.below(40));
    x.month = static_cast<std::int16_t>(1 + random.below(12));
    x.day = static_cast<std::int16_t>(1 + random.below(28));
    x.hour = static_cast<std::int16_t>(random.below(24));
    x.minute = static_cast<std::int16_t>(random.below(60));
    x.second = static_cast<std::int16_t>(random.below(60));
    x.weekday = static_cast<std::int16_t>(random.below(7));
    x.income = static_cast<std::uint8_t>(random.below(2));
    x.remind = static_cast<std::uint8_t>(random.below(2));
    x.receipt = static_cast<std::uint8_t>(random.below(2));
    x.billable = static_cast<std::uint8_t>(random.below(2));
    x.cleared = static_cast<std::uint8_t>(random.below(2));
    x.notes = padded(numbered("Paid \"in full\", transaction", i), kLongestNotes);
    records.push_back(encode(x));
  }
  return records;
}

void writeWorstCase(const std::string &folder) {
  Random random;
  writeDatabase(folder, "QX_Category1.pdb", worstNamedItems("Category one"));
  writeDatabase(folder, "QX_Category2.pdb", worstNamedItems("Category two"));
  writeDatabase(folder, "QX_Category3.pdb", worstNamedItems("Category three"));
  writeDatabase(folder, "QX_Category4.pdb", worstNamedItems("Category four"));
  writeDatabase(folder, "QX_BalanceType.pdb", worstNamedItems("Balance type"));
  writeDatabase(folder, "QX_RemindType.pdb", worstNamedItems("Remind type"));
  writeDatabase(folder, "QX_Currency.pdb", worstCurrencies(random));
  writeDatabase(folder, "QX_CustomNames.pdb", worstCustomNames());
  writeDatabase(folder, "QX_Account.pdb", worstAccounts(random));
  writeDatabase(folder, "QX_Transaction.pdb", worstTransactions(random));
}

// ---- typical case ----

constexpr int kTypicalAccounts = 30;
constexpr int kTypicalCurrencies = 5;
constexpr int kTypicalCategories = 50;
constexpr int kTypicalTransactions = 5000;

const char *const kCategoryStems[4] = {"Groceries", "Shop", "Project", "Tax class"};
const char *const kBalanceTypes[] = {"Reconciled", "Pending", "Disputed"};
const char *const kRemindTypes[] = {"None", "Alarm", "Note", "Daily"};
const char *const kCurrencyNames[kTypicalCurrencies] = {"Dollar", "Euro", "Pound", "Yen", "Franc"};
const float kCurrencyRates[kTypicalCurrencies] = {1.0f, 0.9f, 0.79f, 148.2f, 0.88f};
const char *const kCustomNames[] = {"Category", "Payee", "Project", "Tax"};
const char *const kNotes[] = {"",
                              "",
                              "",
                              "weekly shop",
                              "paid by card, receipt in the drawer",
                              "split with Anna",
                              "refund expected"};

std::vector<Bytes> typicalNamedItems(const char *stem, int count) {
  std::vector<Bytes> records;
  for (int i = 0; i < count; ++i) {
    records.push_back(namedRecord(i + 1, numbered(stem, i + 1)));
  }
  return records;
}

template <std::size_t N> std::vector<Bytes> typicalNamedItems(const char *const (&names)[N]) {
  std::vector<Bytes> records;
  for (std::size_t i = 0; i < N; ++i) {
    records.push_back(namedRecord(static_cast<std::int32_t>(i + 1), names[i]));
  }
  return records;
}

std::vector<Bytes> typicalCurrencies() {
  std::vector<Bytes> records;
  for (int i = 0; i < kTypicalCurrencies; ++i) {
    records.push_back(currencyRecord(i + 1, kCurrencyRates[i], kCurrencyNames[i]));
  }
  return records;
}

std::vector<Bytes> typicalAccounts(Random &random) {
  std::vector<Bytes> records;
  for (int i = 0; i < kTypicalAccounts; ++i) {
    AccountRecord account;
    account.id = 100 + i;
    account.amount = random.amount(1000000) - 2000.0f;
    account.currencyId = 1 + random.below(kTypicalCurrencies);
    account.active = random.oneIn(5) ? 0 : 1;
    account.total = random.oneIn(4) ? 0 : 1;
    account.name = numbered("Account", i + 1);
    account.notes = random.oneIn(3) ? "opened at the branch in town" : "";
    records.push_back(encode(account));
  }
  return records;
}

std::vector<Bytes> typicalTransactions(Random &random) {
  std::vector<Bytes> records;
  for (int i = 0; i < kTypicalTransactions; ++i) {
    TransactionRecord x;
    x.id = i + 1;
    bool transfer = random.oneIn(10);
    x.transferMark = transfer ? 1 : 0;
    x.accountId = 100 + random.below(kTypicalAccounts);
    x.transferAccountId = transfer ? 100 + random.below(kTypicalAccounts) : 0;
    x.amount = random.amount(50000);
    x.currencyId = random.oneIn(8) ? 1 + random.below(kTypicalCurrencies) : 1;
    x.fixedRateFlag = random.oneIn(20) ? 1 : 0;
    x.fixedRateBits = x.fixedRateFlag != 0 ? floatBits(0.92f) : kNoFixedRate;
    x.remindTypeId = 1 + random.below(4);
    x.balanceTypeId = 1 + random.below(3);
    x.category1Id = 1 + random.below(kTypicalCategories);
    x.category2Id = 1 + random.below(kTypicalCategories);
    x.category3Id = random.oneIn(3) ? 1 + random.below(kTypicalCategories) : 0;
    x.category4Id = random.oneIn(3) ? 1 + random.below(kTypicalCategories) : 0;
    x.year = static_cast<std::int16_t>(2001 + i * 6 / kTypicalTransactions);
    x.month = static_cast<std::int16_t>(1 + random.below(12));
    x.day = static_cast<std::int16_t>(1 + random.below(28));
    x.hour = static_cast<std::int16_t>(8 + random.below(12));
    x.minute = static_cast<std::int16_t>(random.below(60));
    x.weekday = static_cast<std::int16_t>(random.below(7));
    x.income = random.oneIn(6) ? 1 : 0;
    x.receipt = random.oneIn(2) ? 1 : 0;
    x.cleared = random.oneIn(4) ? 0 : 1;
    x.notes = kNotes[random.below(static_cast<int>(std::size(kNotes)))];
    records.push_back(encode(x));
  }
  return records;
}

void writeTypicalCase(const std::string &folder) {
  Random random;
  for (int list = 0; list < 4; ++list) {
    std::string name = "QX_Category" + std::to_string(list + 1) + ".pdb";
    writeDatabase(folder, name.c_str(),
                  typicalNamedItems(kCategoryStems[list], kTypicalCategories));
  }
  writeDatabase(folder, "QX_BalanceType.pdb", typicalNamedItems(kBalanceTypes));
  writeDatabase(folder, "QX_RemindType.pdb", typicalNamedItems(kRemindTypes));
  writeDatabase(folder, "QX_Currency.pdb", typicalCurrencies());
  std::vector<Bytes> customNames;
  for (const char *name : kCustomNames) {
    customNames.push_back(customNameRecord(name));
  }
  writeDatabase(folder, "QX_CustomNames.pdb", customNames);
  writeDatabase(folder, "QX_Account.pdb", typicalAccounts(random));
  writeDatabase(folder, "QX_Transaction.pdb", typicalTransactions(random));
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 3 || (std::strcmp(argv[1], "worst") != 0 && std::strcmp(argv[1], "typical") != 0)) {
    std::fprintf(stderr, "usage: %s worst|typical FOLDER\n", argv[0]);
    return 2;
  }
  std::string folder = argv[2];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "cannot create %s: %s\n", folder.c_str(), error.message().c_str());
    return 1;
  }
  try {
    if (std::strcmp(argv[1], "worst") == 0) {
      writeWorstCase(folder);
    } else {
      writeTypicalCase(folder);
    }
  } catch (const std::exception &failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    return 1;
  }
  return 0;
}
