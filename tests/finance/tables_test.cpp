#include "finance/tables.h"

#include "support/scratch.h"

#include <gtest/gtest.h>
#include <iterator>

namespace {

TEST(FinanceTables, HaveTheirExactCapacities) {
  FinanceTables &t = financeTables;
  EXPECT_EQ(std::size(t.category1), 4096u);
  EXPECT_EQ(std::size(t.remindTypes), 4096u);
  EXPECT_EQ(std::size(t.currencies), 4096u);
  EXPECT_EQ(std::size(t.customNames), 16u);
  EXPECT_EQ(std::size(t.accounts), 4096u);
  EXPECT_EQ(std::size(t.transactions), 32768u);
  EXPECT_EQ(sizeof t.transactions[0].notes, 512u);
  EXPECT_EQ(sizeof t.accounts[0].notes, 256u);
}

TEST(FinanceTables, ResetCountsLeavesTheEntries) {
  FinanceTables &t = financeTables;
  wipeFinanceTables();
  t.accounts[0].id = 42;
  t.accountCount = 1;
  t.transactionCount = 32767;
  t.transactionDropped = 5;
  t.customNameCount = 16;
  resetCounts();
  EXPECT_EQ(t.accountCount, 0);
  EXPECT_EQ(t.transactionCount, 0);
  EXPECT_EQ(t.transactionDropped, 0);
  EXPECT_EQ(t.customNameCount, 0);
  EXPECT_EQ(t.accounts[0].id, 42);
  t.accountCount = 1;
  wipeFinanceTables();
  EXPECT_EQ(t.accounts[0].id, 0);
}

} // namespace
