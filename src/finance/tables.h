#pragma once

#include <cstdint>

// Texts are NUL-terminated within their fields, zero-filled after the NUL, and
// never hold a CR or LF byte.
constexpr int kTextFieldSize = 256;
constexpr int kNotesFieldSize = 512;

constexpr std::int32_t kTableCapacity = 4096;
constexpr std::int32_t kCustomNameCapacity = 16;
// The last of the transaction slots is the decoder's spare: it takes the
// records that find the table full and is never counted.
constexpr std::int32_t kTransactionSlots = 32768;
constexpr std::int32_t kTransactionCapacity = kTransactionSlots - 1;

struct NamedItem {
  std::int32_t id;
  char name[kTextFieldSize];
};

struct CurrencyItem {
  std::int32_t id;
  char name[kTextFieldSize];
  float rate;
};

struct CustomName {
  char name[kTextFieldSize];
};

struct AccountItem {
  std::int32_t id;
  char name[kTextFieldSize];
  float amount;
  std::int32_t currencyId;
  std::uint8_t active;
  std::uint8_t total;
  char notes[kTextFieldSize];
};

struct TransactionItem {
  std::int32_t id;
  std::int32_t transferMark; // above 0: a transfer
  std::int32_t accountId;
  std::int32_t transferAccountId; // never negative; 0 for none
  float amount;
  std::int32_t currencyId;
  float fixedRateValue;
  std::int32_t remindTypeId;
  std::int32_t balanceTypeId;
  std::int32_t category1Id;
  std::int32_t category2Id;
  std::int32_t category3Id;
  std::int32_t category4Id;
  std::int32_t second;
  std::int32_t minute;
  std::int32_t hour;
  std::int32_t day;
  std::int32_t month;
  std::int32_t year;
  std::int32_t weekday;
  std::uint8_t fixedRateFlag;
  std::uint8_t income;
  std::uint8_t unlabelledFlag;
  std::uint8_t remind;
  std::uint8_t receipt;
  std::uint8_t billable;
  std::uint8_t cleared;
  char notes[kNotesFieldSize];
};

// Everything one conversion imports. Entries at and after a table's count are
// all zero (but for the transactions' spare slot), so the first entry of an
// empty table reads as id 0, empty name, rate 0.0.
//
// Each table also counts the records it had no room for, so that the user can
// be told that they are missing from the output.
struct FinanceTables {
  NamedItem category1[kTableCapacity];
  NamedItem category2[kTableCapacity];
  NamedItem category3[kTableCapacity];
  NamedItem category4[kTableCapacity];
  NamedItem balanceTypes[kTableCapacity];
  NamedItem remindTypes[kTableCapacity];
  CurrencyItem currencies[kTableCapacity];
  CustomName customNames[kCustomNameCapacity];
  AccountItem accounts[kTableCapacity];
  TransactionItem transactions[kTransactionSlots];

  std::int32_t category1Count;
  std::int32_t category2Count;
  std::int32_t category3Count;
  std::int32_t category4Count;
  std::int32_t balanceTypeCount;
  std::int32_t remindTypeCount;
  std::int32_t currencyCount;
  std::int32_t customNameCount;
  std::int32_t accountCount;
  std::int32_t transactionCount;

  std::int32_t category1Dropped;
  std::int32_t category2Dropped;
  std::int32_t category3Dropped;
  std::int32_t category4Dropped;
  std::int32_t balanceTypeDropped;
  std::int32_t remindTypeDropped;
  std::int32_t currencyDropped;
  std::int32_t customNameDropped;
  std::int32_t accountDropped;
  std::int32_t transactionDropped;
};

extern FinanceTables financeTables;

// Sets every count, and every count of dropped records, to 0; entries stay.
void resetCounts();
