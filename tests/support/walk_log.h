#pragma once

// A RecordHandler that keeps a copy of every record it is handed.

#include "support/pdb_writer.h"

#include <cstdint>
#include <vector>

extern std::vector<Bytes> walkedRecords;

void logRecord(std::uint8_t *bytes, std::int32_t size);

// Imports the file at path with logRecord; the result of importDatabase.
int importLogged(const std::string &path);
