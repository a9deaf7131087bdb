#pragma once

// Records of the finance databases, as the handheld writes them.

#include "support/pdb_writer.h"

#include <cstdint>
#include <string>

Bytes namedRecord(std::int32_t id, std::string_view name);
Bytes currencyRecord(std::int32_t id, float rate, std::string_view name);
Bytes customNameRecord(std::string_view name);

struct AccountRecord {
  std::int32_t id = 1;
  float amount = 0.0f;
  std::int32_t currencyId = 1;
  std::uint8_t active = 1;
  std::uint8_t total = 1;
  std::string name;
  std::string notes;
};
Bytes encode(const AccountRecord &account);

// The handheld writes an absent fixed rate as four 0xFF bytes.
constexpr std::uint32_t kNoFixedRate = 0xFFFFFFFF;

struct TransactionRecord {
  std::int32_t id = 1;
  std::int32_t transferMark = 0;
  std::int32_t accountId = 1;
  std::int32_t transferAccountId = 0;
  float amount = 0.0f;
  std::int32_t currencyId = 1;
  std::uint32_t fixedRateBits = kNoFixedRate;
  std::int32_t remindTypeId = 0;
  std::int32_t balanceTypeId = 0;
  std::int32_t category1Id = 0;
  std::int32_t category2Id = 0;
  std::int32_t category3Id = 0;
  std::int32_t category4Id = 0;
  std::int16_t second = 0;
  std::int16_t minute = 0;
  std::int16_t hour = 0;
  std::int16_t day = 1;
  std::int16_t month = 1;
  std::int16_t year = 2004;
  std::int16_t weekday = 4;
  std::uint8_t fixedRateFlag = 0;
  std::uint8_t income = 0;
  std::uint8_t unlabelledFlag = 0;
  std::uint8_t remind = 0;
  std::uint8_t receipt = 0;
  std::uint8_t billable = 0;
  std::uint8_t cleared = 0;
  std::string notes;
};
Bytes encode(const TransactionRecord &transaction);
std::uint32_t floatBits(float value);

// The ten database file names, in the order the converter imports them.
extern const char *const kDatabaseNames[10];
