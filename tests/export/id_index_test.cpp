#include "export/id_index.h"
#include "export/spreadsheet.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <vector>

namespace {

constexpr std::int32_t kLowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kHighest = std::numeric_limits<std::int32_t>::max();

struct LookupCase {
  const char *what;
  std::vector<std::int32_t> ids;    // the table's entries; all of them are counted
  std::vector<std::int32_t> others; // more ids to look up
};

// Every id of the table and each of the others finds the very entry that the
// search from the first entry finds. The index is reused from table to table,
// as the exporter reuses it from file to file.
void expectAgreement(IdIndex &index, const std::vector<std::int32_t> &ids,
                     const std::vector<std::int32_t> &others, const char *what) {
  // One entry more than counted: an uncounted entry must never be found, and
  // an empty table still has its entry 0.
  std::vector<NamedItem> table(ids.size() + 1, NamedItem{});
  for (std::size_t i = 0; i < ids.size(); ++i) {
    table[i].id = ids[i];
  }
  table[ids.size()].id = others.empty() ? 0 : others.front();
  auto count = static_cast<std::int32_t>(ids.size());
  indexTable(index, table.data(), count);

  std::vector<std::int32_t> queries = ids;
  queries.insert(queries.end(), others.begin(), others.end());
  for (std::int32_t id : queries) {
    const NamedItem *expected = &findById(id, table.data(), count);
    ASSERT_EQ(&findIndexed(index, id, table.data()), expected) << what << ", id " << id;
  }
}

// A full table with many duplicates and long probe runs: ids drawn from a
// narrow range, and ids whose low 19 bits are all zero, which a hash of the low
// bits would pile into one slot.
std::vector<std::int32_t> fullTableIds() {
  std::vector<std::int32_t> ids;
  std::uint32_t state = 12345;
  for (std::int32_t i = 0; i < kTableCapacity; ++i) {
    state = state * 1103515245u + 12345u;
    std::int32_t id = i % 4 == 0 ? static_cast<std::int32_t>(state >> 8) % 3000 - 1500
                                 : static_cast<std::int32_t>((state >> 20) << 19);
    ids.push_back(i % 7 == 0 ? -id : id);
  }
  return ids;
}

std::vector<std::int32_t> idsAroundZeroAndExtremes() {
  std::vector<std::int32_t> ids = {kLowest, kHighest, 1 << 30, -(1 << 30)};
  for (std::int32_t id = -1600; id <= 1600; ++id) {
    ids.push_back(id);
  }
  return ids;
}

TEST(IdIndex, FindsWhatTheSearchFromTheFirstEntryFinds) {
  const LookupCase cases[] = {
      {"empty table", {}, {0, 1, -1, kLowest}},
      {"one entry", {7}, {0, 6, 8, kHighest}},
      {"duplicates: the first one wins", {5, -3, 5, 9, -3, 5}, {0, 4, 6, -4}},
      {"zero and the extremes as ids",
       {kHighest, 0, kLowest, -1, 0},
       {1, kHighest - 1, kLowest + 1}},
      {"entry 0 also matches", {2, 1, 2}, {3}},
      {"full table", fullTableIds(), idsAroundZeroAndExtremes()},
      {"empty table after a full one", {}, {0, 5}},
      {"two entries after a full one", {-8, 8}, idsAroundZeroAndExtremes()},
  };
  auto index = std::make_unique<IdIndex>();
  for (const LookupCase &c : cases) {
    expectAgreement(*index, c.ids, c.others, c.what);
  }
}

} // namespace
