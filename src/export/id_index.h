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

// A bit for each value of the top bits of an id's hash that some entry's id has,
// eight bits for each slot in use: most ids that match nothing are turned away
// by it without a probe of the slots, which a full table spreads over 64 KiB.
constexpr int kIdFilterBitsPerSlotBit = 3;
constexpr std::size_t kIdFilterWords =
    (std::size_t{1} << (kIdSlotBits + kIdFilterBitsPerSlotBit)) / 64;

struct IdIndex {
  int shift;          // 32 minus the bits of a slot number
  std::uint32_t mask; // slots in use, minus 1
  int filterShift;    // 32 minus the bits of a filter bit's number
  std::uint64_t filter[kIdFilterWords];
  IdSlot slots[kIdSlotCapacity];
};

// Empties the index and sizes it for the given number of entries (at most
// kTableCapacity).
void clearIdIndex(IdIndex &index, std::int32_t count);
// Adds the id unless an earlier entry has it: a later entry with the same id is
// never found, as in a search from the first entry.
void addFirstId(IdIndex &index, std::int32_t id, std::int32_t position);

// Fibonacci hashing: the top bits of the product spread neighbouring ids.
inline std::uint32_t idHash(std::int32_t id) {
  return static_cast<std::uint32_t>(id) * 0x9E3779B1u;
}

inline bool mayHoldId(const IdIndex &index, std::uint32_t hash) {
  std::uint32_t bit = hash >> index.filterShift;
  return (index.filter[bit / 64] >> (bit % 64) & 1) != 0;
}

inline std::int32_t positionOfId(const IdIndex &index, std::int32_t id) {
  std::uint32_t hash = idHash(id);
  if (!mayHoldId(index, hash)) {
    return 0;
  }
  for (std::uint32_t slot = hash >> index.shift;; slot = (slot + 1) & index.mask) {
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
