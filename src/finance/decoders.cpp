#include "finance/decoders.h"

#include "finance/cursor.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string_view>

namespace {

// Bytes of the fields in front of each record's first text.
constexpr std::int32_t kNamedFixedSize = 4;
constexpr std::int32_t kCurrencyFixedSize = 8;
constexpr std::int32_t kCustomNameFixedSize = 0;
constexpr std::int32_t kAccountFixedSize = 14;
constexpr std::int32_t kTransactionFixedSize = 73;

// The handheld writes an absent fixed rate as four 0xFF bytes.
constexpr std::uint32_t kAbsentFixedRate = 0xFFFFFFFF;

// Copies as much of the text as the field holds with its NUL, zero-fills the
// rest of the field, and flattens its line breaks.
template <std::size_t FieldSize> void storeText(char (&field)[FieldSize], std::string_view text) {
  std::size_t length = std::min(text.size(), FieldSize - 1);
  if (length > 0) {
    std::memcpy(field, text.data(), length);
  }
  std::memset(field + length, 0, FieldSize - length);
  flattenLineBreaks(field);
}

std::uint8_t readFlag(FieldCursor &cursor) { return readU8(cursor) != 0 ? 1 : 0; }

std::int32_t readS32(FieldCursor &cursor) { return static_cast<std::int32_t>(readU32(cursor)); }

std::int32_t readS16(FieldCursor &cursor) { return static_cast<std::int16_t>(readU16(cursor)); }

// Whether a record with its fixed fields has a table entry to go to; counts the
// records that find the table full.
bool hasRoom(std::int32_t size, std::int32_t fixedSize, std::int32_t count, std::int32_t capacity,
             std::int32_t *dropped) {
  if (size < fixedSize) {
    return false;
  }
  if (count >= capacity) {
    ++*dropped;
    return false;
  }
  return true;
}

} // namespace

void decodeNamedItem(std::uint8_t *bytes, std::int32_t size, NamedItem *table, std::int32_t *count,
                     std::int32_t *dropped) {
  if (!hasRoom(size, kNamedFixedSize, *count, kTableCapacity, dropped)) {
    return;
  }
  FieldCursor cursor = cursorOn(bytes, size);
  NamedItem &item = table[*count];
  item.id = readS32(cursor);
  storeText(item.name, readString(cursor));
  ++*count;
}

void decodeCategory1(std::uint8_t *bytes, std::int32_t size) {
  FinanceTables &t = financeTables;
  decodeNamedItem(bytes, size, t.category1, &t.category1Count, &t.category1Dropped);
}

void decodeCategory2(std::uint8_t *bytes, std::int32_t size) {
  FinanceTables &t = financeTables;
  decodeNamedItem(bytes, size, t.category2, &t.category2Count, &t.category2Dropped);
}

void decodeCategory3(std::uint8_t *bytes, std::int32_t size) {
  FinanceTables &t = financeTables;
  decodeNamedItem(bytes, size, t.category3, &t.category3Count, &t.category3Dropped);
}

void decodeCategory4(std::uint8_t *bytes, std::int32_t size) {
  FinanceTables &t = financeTables;
  decodeNamedItem(bytes, size, t.category4, &t.category4Count, &t.category4Dropped);
}

void decodeBalanceType(std::uint8_t *bytes, std::int32_t size) {
  FinanceTables &t = financeTables;
  decodeNamedItem(bytes, size, t.balanceTypes, &t.balanceTypeCount, &t.balanceTypeDropped);
}

void decodeRemindType(std::uint8_t *bytes, std::int32_t size) {
  FinanceTables &t = financeTables;
  decodeNamedItem(bytes, size, t.remindTypes, &t.remindTypeCount, &t.remindTypeDropped);
}

void decodeCurrency(std::uint8_t *bytes, std::int32_t size) {
  FinanceTables &t = financeTables;
  if (!hasRoom(size, kCurrencyFixedSize, t.currencyCount, kTableCapacity, &t.currencyDropped)) {
    return;
  }
  FieldCursor cursor = cursorOn(bytes, size);
  CurrencyItem &currency = t.currencies[t.currencyCount];
  currency.id = readS32(cursor);
  currency.rate = readFloat(cursor);
  storeText(currency.name, readString(cursor));
  ++t.currencyCount;
}

void decodeCustomName(std::uint8_t *bytes, std::int32_t size) {
  FinanceTables &t = financeTables;
  if (!hasRoom(size, kCustomNameFixedSize, t.customNameCount, kCustomNameCapacity,
               &t.customNameDropped)) {
    return;
  }
  FieldCursor cursor = cursorOn(bytes, size);
  storeText(t.customNames[t.customNameCount].name, readString(cursor));
  ++t.customNameCount;
}

void decodeAccount(std::uint8_t *bytes, std::int32_t size) {
  FinanceTables &t = financeTables;
  if (!hasRoom(size, kAccountFixedSize, t.accountCount, kTableCapacity, &t.accountDropped)) {
    return;
  }
  FieldCursor cursor = cursorOn(bytes, size);
  AccountItem &account = t.accounts[t.accountCount];
  account.id = readS32(cursor);
  account.amount = readFloat(cursor);
  account.currencyId = readS32(cursor);
  account.active = readFlag(cursor);
  account.total = readFlag(cursor);
  storeText(account.name, readString(cursor));
  storeText(account.notes, readString(cursor));
  ++t.accountCount;
}

namespace {

void readTransaction(FieldCursor &cursor, TransactionItem &item) {
  item.id = readS32(cursor);
  item.transferMark = readS32(cursor);
  item.accountId = readS32(cursor);
  item.transferAccountId = std::max(readS32(cursor), 0);
  item.amount = readFloat(cursor);
  item.currencyId = readS32(cursor);
  std::uint32_t fixedRate = readU32(cursor);
  item.fixedRateValue = fixedRate == kAbsentFixedRate ? 0.0f : std::bit_cast<float>(fixedRate);
  item.remindTypeId = readS32(cursor);
  item.balanceTypeId = readS32(cursor);
  item.category1Id = readS32(cursor);
  item.category2Id = readS32(cursor);
  item.category3Id = readS32(cursor);
  item.category4Id = readS32(cursor);
  item.second = readS16(cursor);
  item.minute = readS16(cursor);
  item.hour = readS16(cursor);
  item.day = readS16(cursor);
  item.month = readS16(cursor);
  item.year = readS16(cursor);
  item.weekday = readS16(cursor);
  item.fixedRateFlag = readFlag(cursor);
  item.income = readFlag(cursor);
  item.unlabelledFlag = readFlag(cursor);
  item.remind = readFlag(cursor);
  item.receipt = readFlag(cursor);
  item.billable = readFlag(cursor);
  item.cleared = readFlag(cursor);
  storeText(item.notes, readString(cursor));
}

} // namespace

// A record that finds the table full is still decoded, into the spare slot
// that the count never reaches.
void decodeTransaction(std::uint8_t *bytes, std::int32_t size) {
  FinanceTables &t = financeTables;
  if (size < kTransactionFixedSize) {
    return;
  }
  FieldCursor cursor = cursorOn(bytes, size);
  readTransaction(cursor, t.transactions[t.transactionCount]);
  if (t.transactionCount < kTransactionCapacity) {
    ++t.transactionCount;
  } else {
    ++t.transactionDropped;
  }
}
