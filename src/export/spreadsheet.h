#pragma once

#include "export/sheet_writer.h"

#include <cstdint>

// Dialect 1: comma-separated, 2: semicolon-separated, 3: tab-separated.
extern const ExportDialect kExportDialects[3];

// Writes the Currencies, Accounts and Transactions of financeTables into the
// file at the program path in the given dialect (1, 2 or 3), and prints one
// line about the outcome on standard output.
void exportSpreadsheet(const char *path, int dialect);

// The first entry whose id equals the given one; the table's first entry when
// none does, also when the table is empty (that entry is then all zero).
template <typename Entry>
const Entry &findById(std::int32_t id, const Entry *table, std::int32_t count) {
  for (std::int32_t i = 0; i < count; ++i) {
    if (table[i].id == id) {
      return table[i];
    }
  }
  return table[0];
}
