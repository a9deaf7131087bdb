#include "support/walk_log.h"

#include "pdb/import.h"

std::vector<Bytes> walkedRecords;

void logRecord(std::uint8_t *bytes, std::int32_t size) {
  walkedRecords.emplace_back(bytes, bytes + size);
}

int importLogged(const std::string &path) {
  walkedRecords.clear();
  return importDatabase(path.c_str(), logRecord);
}
