#include "export/id_index.h"

#include <algorithm>

void clearIdIndex(IdIndex &index, std::int32_t count) {
  int bits = 1;
  while ((std::int32_t{1} << bits) < 2 * count) {
    ++bits;
  }
  index.shift = 32 - bits;
  index.mask = (std::uint32_t{1} << bits) - 1;
  for (std::uint32_t slot = 0; slot <= index.mask; ++slot) {
    index.slots[slot] = IdSlot{0, -1};
  }
  // At least one whole word of the filter.
  int filterBits = std::max(bits + kIdFilterBitsPerSlotBit, 6);
  index.filterShift = 32 - filterBits;
  std::fill_n(index.filter, std::size_t{1} << (filterBits - 6), std::uint64_t{0});
}

void addFirstId(IdIndex &index, std::int32_t id, std::int32_t position) {
  std::uint32_t hash = idHash(id);
  std::uint32_t bit = hash >> index.filterShift;
  index.filter[bit / 64] |= std::uint64_t{1} << (bit % 64);
  std::uint32_t slot = hash >> index.shift;
  while (index.slots[slot].position >= 0) {
    if (index.slots[slot].id == id) {
      return;
    }
    slot = (slot + 1) & index.mask;
  }
  index.slots[slot] = IdSlot{id, position};
}
