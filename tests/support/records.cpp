#include "support/records.h"

#include <bit>

Bytes namedRecord(std::int32_t id, std::string_view name) {
  return cat({be32(static_cast<std::uint32_t>(id)), text(name)});
}

Bytes currencyRecord(std::int32_t id, float rate, std::string_view name) {
  return cat({be32(static_cast<std::uint32_t>(id)), f32(rate), text(name)});
}

Bytes customNameRecord(std::string_view name) { return text(name); }

Bytes encode(const AccountRecord &a) {
  return cat({be32(static_cast<std::uint32_t>(a.id)), f32(a.amount),
              be32(static_cast<std::uint32_t>(a.currencyId)), Bytes{a.active, a.total},
              text(a.name), text(a.notes)});
}

std::uint32_t floatBits(float value) { return std::bit_cast<std::uint32_t>(value); }

namespace {
Bytes s32(std::int32_t value) { return be32(static_cast<std::uint32_t>(value)); }
Bytes s16(std::int16_t value) { return be16(static_cast<std::uint16_t>(value)); }
} // namespace

Bytes encode(const TransactionRecord &t) {
  return cat({s32(t.id),
              s32(t.transferMark),
              s32(t.accountId),
              s32(t.transferAccountId),
              f32(t.amount),
              s32(t.currencyId),
              be32(t.fixedRateBits),
              s32(t.remindTypeId),
              s32(t.balanceTypeId),
              s32(t.category1Id),
              s32(t.category2Id),
              s32(t.category3Id),
              s32(t.category4Id),
              s16(t.second),
              s16(t.minute),
              s16(t.hour),
              s16(t.day),
              s16(t.month),
              s16(t.year),
              s16(t.weekday),
              Bytes{t.fixedRateFlag, t.income, t.unlabelledFlag, t.remind, t.receipt, t.billable,
                    t.cleared},
              text(t.notes)});
}

const char *const kDatabaseNames[10] = {
    "QX_Category1.pdb",   "QX_Category2.pdb",  "QX_Category3.pdb", "QX_Category4.pdb",
    "QX_BalanceType.pdb", "QX_RemindType.pdb", "QX_Currency.pdb",  "QX_CustomNames.pdb",
    "QX_Account.pdb",     "QX_Transaction.pdb"};
