#pragma once

#include "finance/tables.h"

#include <cstdint>

// One decoder per database: each turns one record into one entry of its table
// in financeTables. A record shorter than its fixed fields is dropped; a record
// that finds its table full is counted in the table's dropped records.
void decodeNamedItem(std::uint8_t *bytes, std::int32_t size, NamedItem *table, std::int32_t *count,
                     std::int32_t *dropped);

void decodeCategory1(std::uint8_t *bytes, std::int32_t size);
void decodeCategory2(std::uint8_t *bytes, std::int32_t size);
void decodeCategory3(std::uint8_t *bytes, std::int32_t size);
void decodeCategory4(std::uint8_t *bytes, std::int32_t size);
void decodeBalanceType(std::uint8_t *bytes, std::int32_t size);
void decodeRemindType(std::uint8_t *bytes, std::int32_t size);
void decodeCurrency(std::uint8_t *bytes, std::int32_t size);
void decodeCustomName(std::uint8_t *bytes, std::int32_t size);
void decodeAccount(std::uint8_t *bytes, std::int32_t size);
void decodeTransaction(std::uint8_t *bytes, std::int32_t size);
