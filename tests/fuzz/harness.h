#pragma once

// What both fuzz targets share: the ten databases in the converter's order, a
// folder in memory for the files of one fuzzing process, and the export of the
// tables in all three dialects with a check of what it wrote.

#include "pdb/import.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

struct FuzzedDatabase {
  const char *fileName;
  RecordHandler decoder;
};

extern const FuzzedDatabase kFuzzedDatabases[10];

// Sends standard output to /dev/null (every import and export prints to it) and
// creates the process's work folder: below /dev/shm where there is one, so that
// the files never touch a disk.
void startFuzzing();

// The path of a file in the work folder.
std::string workFile(const std::string &name);

// Every count of financeTables and every count of dropped records.
using TableCounts = std::array<std::int32_t, 20>;
TableCounts tableCounts();

void writeWorkFile(const std::string &path, const std::uint8_t *data, std::size_t size);

// Exports financeTables in the three dialects into the work folder, then traps
// unless each file holds one line per entry plus its fixed lines, every line
// ends in CR LF and nothing else holds a CR or LF, and the three files differ
// in their separators only.
void exportAndCheck();
