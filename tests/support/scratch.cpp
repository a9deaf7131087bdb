#include "support/scratch.h"

#include "finance/tables.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

ScratchFolder::ScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "brimlow-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot create a scratch folder");
  }
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

CurrentFolder::CurrentFolder(const std::string &path)
    : previous_(std::filesystem::current_path().string()) {
  std::filesystem::current_path(path);
}

CurrentFolder::~CurrentFolder() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
}

namespace {
// Entries 0 to count, the slot at the count included, are the only ones that a
// decoder may have written.
template <typename Entry, std::size_t Slots> void wipe(Entry (&table)[Slots], std::int32_t &count) {
  std::size_t used = std::min(static_cast<std::size_t>(std::max(count, 0)) + 1, Slots);
  std::memset(static_cast<void *>(table), 0, used * sizeof(Entry));
  count = 0;
}
} // namespace

void wipeFinanceTables() {
  FinanceTables &t = financeTables;
  wipe(t.category1, t.category1Count);
  wipe(t.category2, t.category2Count);
  wipe(t.category3, t.category3Count);
  wipe(t.category4, t.category4Count);
  wipe(t.balanceTypes, t.balanceTypeCount);
  wipe(t.remindTypes, t.remindTypeCount);
  wipe(t.currencies, t.currencyCount);
  wipe(t.customNames, t.customNameCount);
  wipe(t.accounts, t.accountCount);
  wipe(t.transactions, t.transactionCount);
  resetCounts();
}
