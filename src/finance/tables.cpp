#include "finance/tables.h"

#include "platform/memory.h"

// On a large page from its first byte: see adviseLargePages.
alignas(kLargePageSize) FinanceTables financeTables;

void resetCounts() {
  FinanceTables &t = financeTables;
  t.category1Count = t.category2Count = t.category3Count = t.category4Count = 0;
  t.balanceTypeCount = t.remindTypeCount = t.currencyCount = t.customNameCount = 0;
  t.accountCount = t.transactionCount = 0;
  t.category1Dropped = t.category2Dropped = t.category3Dropped = t.category4Dropped = 0;
  t.balanceTypeDropped = t.remindTypeDropped = t.currencyDropped = t.customNameDropped = 0;
  t.accountDropped = t.transactionDropped = 0;
}
