#include "finance/decoders.h"

#include "pdb/import.h"
#include "support/records.h"
#include "support/scratch.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace {

class Decoders : public testing::Test {
protected:
  void SetUp() override { wipeFinanceTables(); }
  void TearDown() override { wipeFinanceTables(); }

  FinanceTables &t = financeTables;
};

// Hands a copy of the bytes to the decoder, as the reader would: a block with
// nothing after its last byte.
void decode(RecordHandler decoder, const Bytes &record) {
  std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[record.size()]);
  std::copy(record.begin(), record.end(), block.get());
  decoder(block.get(), static_cast<std::int32_t>(record.size()));
}

bool allZero(const void *bytes, std::size_t size) {
  const auto *p = static_cast<const std::uint8_t *>(bytes);
  return std::all_of(p, p + size, [](std::uint8_t b) { return b == 0; });
}

template <std::size_t N> bool zeroAfterText(const char (&field)[N]) {
  std::size_t length = strnlen(field, N);
  return length < N && allZero(field + length, N - length);
}

std::uint32_t bitsOf(float value) { return std::bit_cast<std::uint32_t>(value); }

TEST_F(Decoders, EachNamedDecoderFillsItsOwnTable) {
  struct Case {
    RecordHandler decoder;
    NamedItem *table;
    std::int32_t *count;
  };
  const Case cases[] = {
      {decodeCategory1, t.category1, &t.category1Count},
      {decodeCategory2, t.category2, &t.category2Count},
      {decodeCategory3, t.category3, &t.category3Count},
      {decodeCategory4, t.category4, &t.category4Count},
      {decodeBalanceType, t.balanceTypes, &t.balanceTypeCount},
      {decodeRemindType, t.remindTypes, &t.remindTypeCount},
  };
  std::int32_t id = 1;
  for (const Case &c : cases) {
    decode(c.decoder, cat({be32(static_cast<std::uint32_t>(id)), raw("Foo"), Bytes{0}}));
    ASSERT_EQ(*c.count, 1);
    EXPECT_EQ(c.table[0].id, id);
    EXPECT_STREQ(c.table[0].name, "Foo");
    EXPECT_TRUE(zeroAfterText(c.table[0].name));
    ++id;
  }
  // Each record went to exactly one table.
  EXPECT_EQ(t.category1[0].id, 1);
  EXPECT_EQ(t.remindTypes[0].id, 6);
}

TEST_F(Decoders, NamedRecordTextsAreCutFlattenedAndBounded) {
  decode(decodeCategory1, cat({be32(0xFFFFFFFF), raw("Line 1\r\nLine 2"), Bytes{0}, raw("junk")}));
  decode(decodeCategory1, be32(8));                       // the text cut off entirely
  decode(decodeCategory1, cat({be32(9), raw("no NUL")})); // the text takes the rest
  decode(decodeCategory1, cat({be32(10), text(std::string(300, 'x'))}));
  decode(decodeCategory1, Bytes{0x00, 0x00, 0x01}); // shorter than its id: dropped
  ASSERT_EQ(t.category1Count, 4);
  EXPECT_EQ(t.category1[0].id, -1);
  EXPECT_STREQ(t.category1[0].name, "Line 1||Line 2");
  EXPECT_STREQ(t.category1[1].name, "");
  EXPECT_STREQ(t.category1[2].name, "no NUL");
  EXPECT_EQ(std::string(t.category1[3].name), std::string(255, 'x'));
  EXPECT_EQ(t.category1Dropped, 0); // a damaged record did not miss room
  EXPECT_TRUE(allZero(&t.category1[4], sizeof(NamedItem)));
}

TEST_F(Decoders, CurrencyRecord) {
  decode(decodeCurrency, cat({be32(2), be32(0x3F800000), text("Euro")}));
  decode(decodeCurrency, cat({be32(3), be32(0x7FC00001)}));
  decode(decodeCurrency, cat({be32(4), Bytes{0x3F, 0x80, 0x00}})); // 7 bytes: dropped
  ASSERT_EQ(t.currencyCount, 2);
  EXPECT_EQ(t.currencies[0].id, 2);
  EXPECT_EQ(t.currencies[0].rate, 1.0f);
  EXPECT_STREQ(t.currencies[0].name, "Euro");
  EXPECT_EQ(bitsOf(t.currencies[1].rate), 0x7FC00001u);
  EXPECT_STREQ(t.currencies[1].name, "");
}

TEST_F(Decoders, CustomNamesTakeSixteenAndCountTheRest) {
  decode(decodeCustomName, Bytes{}); // no fixed fields: an empty name
  for (int i = 1; i < 18; ++i) {
    decode(decodeCustomName, text("Label " + std::to_string(i)));
  }
  EXPECT_EQ(t.customNameCount, 16);
  EXPECT_EQ(t.customNameDropped, 2);
  EXPECT_STREQ(t.customNames[0].name, "");
  EXPECT_STREQ(t.customNames[15].name, "Label 15");
}

TEST_F(Decoders, AccountRecord) {
  decode(decodeAccount, cat({be32(5), f32(-12.5f), be32(3), Bytes{0x02, 0x00}, raw("Cash\r\n"),
                             Bytes{0}, raw("a\nb"), Bytes{0}, raw("ignored")}));
  decode(decodeAccount, cat({be32(6), f32(1.0f), be32(3), Bytes{0x00, 0xFF}})); // no texts
  decode(decodeAccount, cat({be32(7), f32(1.0f), be32(3), Bytes{0x00}}));       // 13: dropped
  ASSERT_EQ(t.accountCount, 2);
  const AccountItem &a = t.accounts[0];
  EXPECT_EQ(a.id, 5);
  EXPECT_EQ(a.amount, -12.5f);
  EXPECT_EQ(a.currencyId, 3);
  EXPECT_EQ(a.active, 1);
  EXPECT_EQ(a.total, 0);
  EXPECT_STREQ(a.name, "Cash||");
  EXPECT_STREQ(a.notes, "a|b");
  EXPECT_EQ(t.accounts[1].active, 0);
  EXPECT_EQ(t.accounts[1].total, 1);
  EXPECT_STREQ(t.accounts[1].name, "");
  EXPECT_STREQ(t.accounts[1].notes, "");
}

TEST_F(Decoders, TransactionRecordFieldByField) {
  Bytes record = cat(
      {be32(11), be32(1), be32(3), be32(0xFFFFFFFB) /* -5 */, f32(-7.25f), be32(2),
       be32(0x3FC00000) /* 1.5 */, be32(4), be32(5), be32(6), be32(7), be32(8), be32(9),
       Bytes{0x00, 0x1E, 0x00, 0x2D, 0x00, 0x0E, 0x00, 0x09, 0x00, 0x0C, 0x07, 0xD4, 0x00, 0x05},
       Bytes{0x01, 0x00, 0xFF, 0x01, 0x02, 0x00, 0x80}, raw("Note\r\n2"), Bytes{0},
       raw("trailing bytes")});
  ASSERT_EQ(record.size(), 73u + 8 + 14);
  decode(decodeTransaction, record);
  ASSERT_EQ(t.transactionCount, 1);
  const TransactionItem &x = t.transactions[0];
  EXPECT_EQ(x.id, 11);
  EXPECT_EQ(x.transferMark, 1);
  EXPECT_EQ(x.accountId, 3);
  EXPECT_EQ(x.transferAccountId, 0);
  EXPECT_EQ(x.amount, -7.25f);
  EXPECT_EQ(x.currencyId, 2);
  EXPECT_EQ(x.fixedRateValue, 1.5f);
  EXPECT_EQ(x.remindTypeId, 4);
  EXPECT_EQ(x.balanceTypeId, 5);
  EXPECT_EQ(x.category1Id, 6);
  EXPECT_EQ(x.category2Id, 7);
  EXPECT_EQ(x.category3Id, 8);
  EXPECT_EQ(x.category4Id, 9);
  EXPECT_EQ(x.second, 30);
  EXPECT_EQ(x.minute, 45);
  EXPECT_EQ(x.hour, 14);
  EXPECT_EQ(x.day, 9);
  EXPECT_EQ(x.month, 12);
  EXPECT_EQ(x.year, 2004);
  EXPECT_EQ(x.weekday, 5);
  EXPECT_EQ(x.fixedRateFlag, 1);
  EXPECT_EQ(x.income, 0);
  EXPECT_EQ(x.unlabelledFlag, 1);
  EXPECT_EQ(x.remind, 1);
  EXPECT_EQ(x.receipt, 1);
  EXPECT_EQ(x.billable, 0);
  EXPECT_EQ(x.cleared, 1);
  EXPECT_STREQ(x.notes, "Note||2");
}

TEST_F(Decoders, TransactionConversions) {
  struct Case {
    std::int32_t transferAccount;
    std::uint32_t fixedRateBits;
    std::int16_t year;
    std::int32_t storedTransferAccount;
    std::uint32_t storedFixedRateBits;
  };
  const Case cases[] = {
      {-5, 0xFFFFFFFF, -1, 0, 0x00000000}, // the absent rate is +0.0
      {5, 0x7FC00000, 2004, 5, 0x7FC00000},
      {0, 0xFFFFFFFE, -32768, 0, 0xFFFFFFFE}, // only the all-0xFF pattern is replaced
      {0x7FFFFFFF, 0x80000000, 32767, 0x7FFFFFFF, 0x80000000},
  };
  for (const Case &c : cases) {
    TransactionRecord record;
    record.transferAccountId = c.transferAccount;
    record.fixedRateBits = c.fixedRateBits;
    record.remindTypeId = 77; // read from offset 28 whatever the rate held
    record.year = c.year;
    decode(decodeTransaction, encode(record));
  }
  ASSERT_EQ(t.transactionCount, 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(t.transactions[i].transferAccountId, cases[i].storedTransferAccount) << i;
    EXPECT_EQ(bitsOf(t.transactions[i].fixedRateValue), cases[i].storedFixedRateBits) << i;
    EXPECT_EQ(t.transactions[i].remindTypeId, 77) << i;
    EXPECT_EQ(t.transactions[i].year, cases[i].year) << i;
  }
}

TEST_F(Decoders, TransactionNotesAndShortRecords) {
  TransactionRecord record;
  Bytes lone = encode(record); // notes: a lone NUL at offset 73
  ASSERT_EQ(lone.size(), 74u);
  decode(decodeTransaction, lone);
  decode(decodeTransaction, Bytes(lone.begin(), lone.begin() + 73)); // no notes at all
  decode(decodeTransaction, Bytes(lone.begin(), lone.begin() + 72)); // dropped
  record.notes = std::string(600, 'n');
  decode(decodeTransaction, encode(record));
  ASSERT_EQ(t.transactionCount, 3);
  EXPECT_STREQ(t.transactions[0].notes, "");
  EXPECT_STREQ(t.transactions[1].notes, "");
  EXPECT_EQ(std::string(t.transactions[2].notes), std::string(511, 'n'));
  EXPECT_TRUE(allZero(&t.transactions[3], sizeof(TransactionItem)));
}

TEST_F(Decoders, FullTablesKeepTheirFirstRecordsAndCountTheRest) {
  for (std::int32_t i = 0; i < kTableCapacity + 3; ++i) {
    decode(decodeCategory4, namedRecord(i, "c"));
    decode(decodeCurrency, currencyRecord(i, 1.0f, "c"));
    AccountRecord account;
    account.id = i;
    decode(decodeAccount, encode(account));
  }
  EXPECT_EQ(t.category4Count, 4096);
  EXPECT_EQ(t.category4Dropped, 3);
  EXPECT_EQ(t.category4[4095].id, 4095);
  EXPECT_EQ(t.currencyCount, 4096);
  EXPECT_EQ(t.currencyDropped, 3);
  EXPECT_EQ(t.currencies[4095].id, 4095);
  EXPECT_EQ(t.accountCount, 4096);
  EXPECT_EQ(t.accountDropped, 3);
  EXPECT_EQ(t.accounts[4095].id, 4095);
}

TEST_F(Decoders, TransactionsBeyond32767GoToTheSpareSlot) {
  TransactionRecord record;
  for (std::int32_t i = 0; i < kTransactionCapacity; ++i) {
    record.id = i;
    decode(decodeTransaction, encode(record));
  }
  ASSERT_EQ(t.transactionCount, 32767);
  record.id = 40000;
  record.notes = "a longer note";
  decode(decodeTransaction, encode(record));
  record.id = 40001;
  record.notes = "short";
  decode(decodeTransaction, encode(record));
  EXPECT_EQ(t.transactionCount, 32767);
  EXPECT_EQ(t.transactionDropped, 2);
  EXPECT_EQ(t.transactions[32766].id, 32766);
  EXPECT_EQ(t.transactions[32767].id, 40001); // the spare holds the latest
  EXPECT_STREQ(t.transactions[32767].notes, "short");
  EXPECT_TRUE(zeroAfterText(t.transactions[32767].notes));
}

TEST_F(Decoders, DatabaseOf4097CategoriesThroughTheReader) {
  std::vector<Bytes> records;
  for (std::int32_t i = 0; i <= kTableCapacity; ++i) {
    records.push_back(namedRecord(1000 + i, "Category " + std::to_string(i)));
  }
  ScratchFolder folder;
  writeFile(folder.file("QX_Category1.pdb"), recordDatabase(records));
  EXPECT_EQ(importDatabase(folder.file("QX_Category1.pdb").c_str(), decodeCategory1), 0);
  EXPECT_EQ(t.category1Count, 4096);
  EXPECT_EQ(t.category1Dropped, 1);
  EXPECT_EQ(t.category1[0].id, 1000);
  EXPECT_STREQ(t.category1[4095].name, "Category 4095");
}

} // namespace
