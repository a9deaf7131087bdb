#pragma once

#include "finance/tables.h"

#include <cstdint>

// Finds what findById finds in constant time: the position of the first entry
// with a given id, or 0 when no entry has it (also in an empty table). An
// open-addressing hash table with at least twice as many slots as the table has
// entries, so that at least half of them stay free and every probe ends; small
// tables use only the first slots, which then stay in the cache.
constexpr int kIdSlotBits = 13;
constexpr std::int32_t kIdSlotCapacity = std::int32_t{1} << kIdSlotBits;
static_assert(kIdSlotCapacity >= 2 * kTableCapacity);

struct IdSlot {
  std::int32_t id;
  std::int32_t position; // -1: free
};

struct IdIndex {
  int shift;          // 32 minus the bits of a slot number
  std::uint32_t mask; // slots in use, minus 1
  IdSlot slots[kIdSlotCapacity];
};

// Empties the index and sizes it for the given number of entries (at most
// kTableCapacity).
void clearIdIndex(IdIndex &index, std::int32_t count);
// Adds the id unless an earlier entry has it: a later entry with the same id is
// never found, as in a search from the first entry.
void addFirstId(IdIndex &index, std::int32_t id, std::int32_t position);

inline std::uint32_t idSlotOf(const IdIndex &index, std::int32_t id) {
  // Fibonacci hashing: the top bits of the product spread neighbouring ids.
  return (static_cast<std::uint32_t>(id) * 0x9E3779B1u) >> index.shift;
}

inline std::int32_t positionOfId(const IdIndex &index, std::int32_t id) {
  for (std::uint32_t slot = idSlotOf(index, id);; slot = (slot + 1) & index.mask) {
    const IdSlot &s = index.slots[slot];
    if (s.position < 0) {
      return 0;
    }
    if (s.id == id) {
      return s.position;
    }
  }
}

// Indexes the first count entries of a table whose entries have an id; no
// looked-up table holds more than kTableCapacity.
template <typename Entry> void indexTable(IdIndex &index, const Entry *table, std::int32_t count) {
  count = count < kTableCapacity ? count : kTableCapacity;
  clearIdIndex(index, count);
  for (std::int32_t position = 0; position < count; ++position) {
    addFirstId(index, table[position].id, position);
  }
}

// The entry that findById returns for the id in the table that was indexed.
template <typename Entry>
const Entry &findIndexed(const IdIndex &index, std::int32_t id, const Entry *table) {
  return table[positionOfId(index, id)];
}
